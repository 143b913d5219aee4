// Pages read the lists while another request rebuilds them. Every list is
// freed and rebuilt whole on a meet reload, so a page that read without
// DataLock would walk freed nodes (the sanitizers report it) or answer a
// torn page.
#include <gtest/gtest.h>
#include <unistd.h>

#include <atomic>
#include <thread>
#include <vector>

#include "database/open_meet.h"
#include "tests/http/registration_fixture.h"

namespace korva {

namespace {

class ReloadRaceTest : public RegistrationServerTest {};

TEST_F(ReloadRaceTest, PagesStayWholeWhileTheMeetIsReloaded) {
  // Enough athletes that building a page takes a while.
  std::string athletes;
  for (int id = 1; id <= 60; ++id) athletes += AthleteSql(id, "甲" + std::to_string(id), 1, 101, 1 + id % 2, {1101});
  OpenMeet(athletes);
  int teacher = LoginTeacher();
  std::atomic<int> torn{0};
  std::atomic<int> readers_left{3};

  // The reloader runs for as long as the readers ask (bounded by their count).
  std::thread reloader([&] {
    while (readers_left > 0) {
      if (OpenCurrentMeet(0) != 0) ++torn;
      usleep(100);  // the lock is not fair: leave the readers a way in
    }
  });
  std::vector<std::thread> readers;
  for (const char* path : {"/ShowClass.html", "/BoyEnroll.html", "/GirlEnroll.html"}) {
    readers.emplace_back([&, path] {
      for (int i = 0; i < 150; ++i) {
        HttpResponse reply = Get(path, teacher);
        bool whole = reply.status == 200 && reply.Header("Content-Length") == std::to_string(reply.body.size()) &&
                     reply.body.find("</html>") != std::string::npos;
        if (!whole) ++torn;
      }
      --readers_left;
    });
  }
  for (std::thread& reader : readers) reader.join();
  reloader.join();
  EXPECT_EQ(torn, 0);
  EXPECT_NE(Get("/ShowClass.html", teacher).body.find("甲60"), std::string::npos);
}

}  // namespace

}  // namespace korva
