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
  SessionCookie teacher = LoginTeacher();
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

// Readers share DataLock while writers hold it alone: pages read side by
// side with registrations, and every answer is whole, every acknowledged
// registration is in the file and the list.
TEST_F(ReloadRaceTest, ReadersAndWritersTogether) {
  OpenMeet();
  SessionCookie teacher = LoginTeacher();
  std::atomic<int> torn{0};
  std::atomic<int> stored{0};
  std::vector<std::thread> clients;
  for (int writer = 0; writer < 2; ++writer) {
    clients.emplace_back([&, writer] {
      for (int i = 0; i < 20; ++i) {
        std::string name = (writer == 0 ? "乙" : "丙") + std::to_string(i);
        std::string answer = Get(AddPath(0, 1 + i % 2, name, {}), teacher).body;
        if (answer.find(name) != std::string::npos && answer.find("成功") != std::string::npos) ++stored;
      }
    });
  }
  for (const char* path : {"/ShowClass.html", "/BoyEnroll.html", "/GirlEnroll.html", "/ShowClass.html"}) {
    clients.emplace_back([&, path] {
      for (int i = 0; i < 60; ++i) {
        HttpResponse reply = Get(path, teacher);
        if (reply.status != 200 || reply.Header("Content-Length") != std::to_string(reply.body.size()) ||
            reply.body.find("</html>") == std::string::npos)
          ++torn;
      }
    });
  }
  for (std::thread& client : clients) client.join();
  EXPECT_EQ(torn, 0);
  EXPECT_GT(stored, 0);
  EXPECT_EQ(Stored("SELECT qrtb410 FROM qrtb409").size(), static_cast<std::size_t>(stored));
  EXPECT_EQ(ListedNames().size(), static_cast<std::size_t>(stored));
}

}  // namespace

}  // namespace korva
