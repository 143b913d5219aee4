#pragma once
// The server with the scoring meet open and one signed-in session of each
// staff role: the administrator, a score-entry clerk and a print
// administrator (the two accounts are added to the base file first).
#include <gtest/gtest.h>

#include <string>

#include "database/gbk_text.h"
#include "tests/http/server_fixture.h"
#include "tests/testing/scoring_meet.h"

namespace korva {

// How often what occurs in text.
inline int Count(const std::string& text, const std::string& what) {
  int n = 0;
  for (std::size_t at = text.find(what); at != std::string::npos; at = text.find(what, at + what.size())) ++n;
  return n;
}

class ScoreEntryServerTest : public ServerTest {
 protected:
  void SetUp() override {
    ServerTest::SetUp();
    ASSERT_TRUE(meet_->BaseSql(
        "INSERT INTO qrtb7 (qrtb8, qrtb9, qrtb10, qrtb14, qrtb20, qrtb21, qrtb25) VALUES "
        "(2, 'clerk1', 'clerk123', 7, 0, 0, ''), (3, 'printer1', 'print123', 6, 0, 0, '');"));
  }

  // Opens the scoring meet with extra SQL and signs the three staff in.
  void OpenMeet(const std::string& extra_sql = {}) {
    OpenScoringMeet(*meet_, extra_sql);
    SignInStaff();
  }
  void SignInStaff() {
    admin_ = LoginAdmin();
    clerk_ = LoginStaff("clerk1", "clerk123");
    printer_ = LoginStaff("printer1", "print123");
  }

  SessionCookie LoginStaff(const std::string& name, const std::string& password) {
    SessionCookie session = CookieNumber(Get("/AdminIndex.html"));
    HttpResponse reply = Post("/AdminIndex.html", "UserName=" + name + "&PassWord=" + password, session);
    EXPECT_NE(std::string::npos, reply.body.find("/Admin.html")) << reply.body;
    return CookieNumber(reply);
  }

  // One result as the score-entry page sends it; the reply body.
  std::string Upload(int round, int athlete, const std::string& text, int mode = 1, int status = 0) {
    return Get("/upcj.html?Dstr=" + std::to_string(round) + "=" + std::to_string(athlete) + "=" +
                   std::to_string(status) + "=-65535=-65535=-65535=" + std::to_string(mode) + "=" + text,
               admin_)
        .body;
  }

  // The session of a page mode: 0 print administrator, 1 administrator,
  // 2 clerk.
  SessionCookie SessionOfMode(int mode) const { return mode == 0 ? printer_ : mode == 1 ? admin_ : clerk_; }

  static std::string Utf8(const std::string& gbk) { return GbkToUtf8(gbk); }

  SessionCookie admin_;
  SessionCookie clerk_;
  SessionCookie printer_;
};

}  // namespace korva
