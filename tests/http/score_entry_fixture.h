#pragma once
// The server with the scoring meet open and one signed-in session of each
// staff role: the administrator, a score-entry clerk and a print
// administrator (the two accounts are added to the base file first).
#include <gtest/gtest.h>

#include <string>

#include "database/gbk_text.h"
#include "tests/http/server_fixture.h"
#include "tests/testing/scoring_meet.h"
#include "tests/testing/text_count.h"

namespace korva {


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
    SignInAll();
  }
  void SignInAll() {
    admin_ = LoginAdmin();
    clerk_ = SignInStaff("clerk1", "clerk123");
    printer_ = SignInStaff("printer1", "print123");
  }

  // One result as the score-entry page sends it; the reply body.
  std::string Upload(int round, int athlete, const std::string& text, int mode = 1, int status = 0) {
    return ServerTest::Upload(admin_, round, athlete, text, mode, status).body;
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
