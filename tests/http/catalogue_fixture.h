#pragma once
// The server with a meet made from the default catalogue (so each meet
// table and its base-file twin start equal) and the administrator signed
// in, for the tests of the catalogue pages.
#include <gtest/gtest.h>

#include <string>

#include "database/model.h"
#include "database/store_test_support.h"
#include "tests/http/form_encode.h"
#include "tests/http/server_fixture.h"
#include "tests/testing/text_count.h"

namespace korva {

// A boys' group 11 of grade 1 holding 100米 (3) and 三项全能 (16, parts 60米,
// 跳远 and 垒球掷远), each with a contest and a direct final, the combined
// event's parts as rounds of their own; scheme 1.
inline constexpr const char* kGroupSql =
    "INSERT INTO qrtb373 (qrtb374, qrtb375, qrtb376, qrtb377, qrtb378, qrtb379, qrtb380, qrtb381, qrtb382)"
    " VALUES (11, 1, 1, 6, 2, 2, 2, 6, 1);"
    "INSERT INTO qrtb467 (qrtb469, qrtb470) VALUES (11, 3), (11, 16);"
    "INSERT INTO qrtb425 (qrtb426, qrtb427, qrtb428, qrtb429, qrtb430, qrtb431, qrtb434, qrtb436)"
    " VALUES (1103, 11, 3, 0, 0, 6, 1, 0), (1116, 11, 16, 0, 0, 6, 1, 0);"
    "INSERT INTO qrtb444 (qrtb445, qrtb446, qrtb447, qrtb448, qrtb449, qrtb450, qrtb454)"
    " VALUES (1, 1103, 3, 0, 0, 0, 0), (2, 1116, 3, 0, 0, 0, 2), (3, 1116, 3, 0, 0, 0, 9),"
    " (4, 1116, 3, 0, 0, 0, 11);";

class CatalogueServerTest : public ServerTest {
 protected:
  void SetUp() override {
    ServerTest::SetUp();
    admin_ = LoginAdmin();
  }

  // Opens a meet of the default catalogue, then the extra SQL (GBK).
  void OpenMeet(const std::string& extra_sql = {}) { meet_->OpenNewMeet(extra_sql); }

  // Runs SQL (GBK) on the open meet's file and opens it again, so every
  // list follows.
  void ChangeMeet(const std::string& sql) {
    int id = 0;
    {
      DataGuard hold(DataLock);
      id = Model().CurrentMeetId;
    }
    ASSERT_TRUE(meet_->MeetSql(id, sql));
    ASSERT_EQ(meet_->Open(id), 0);
  }

  std::string Page(const std::string& path) { return Get(path, admin_).body; }
  std::string Send(const std::string& path, const std::string& body) { return Post(path, body, admin_).body; }

  // A query's rows in the meet file and in the base file, side by side.
  static std::string Both(const std::string& columns, const std::string& meet_table, const std::string& base_table,
                          const std::string& where) {
    return Rows("SELECT " + columns + " FROM " + meet_table + " WHERE " + where) + " / " +
           Rows("SELECT " + columns + " FROM base." + base_table + " WHERE " + where);
  }

  SessionCookie admin_;
};


// The result page's failure line.
inline std::string Failed(const std::string& reason) {
  return "<font color=\"#FF0000\">Sorry:操作失败，原因是：<br>" + reason + "</font>";
}

}  // namespace korva
