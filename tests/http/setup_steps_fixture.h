#pragma once
// The server with the administrator signed in, for the pages of the meet's
// set-up: meets of the default catalogue (six grades of four classes, the
// sixteen default events), and a look at the meet file itself after a post.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "database/connections.h"
#include "database/data_lock.h"
#include "database/gbk_text.h"
#include "database/model.h"
#include "database/sqlite_db.h"
#include "tests/http/form_encode.h"
#include "tests/http/server_fixture.h"
#include "tests/testing/text_count.h"

namespace korva {

// The competition groups of the test meets: boys (sex 1) and girls (2) of
// grades 1 and 2, ids grade * 10 + sex.
inline const std::string kTwoGradesSql =
    "INSERT INTO qrtb373 (qrtb374, qrtb375, qrtb376, qrtb377, qrtb378, qrtb379, qrtb380, qrtb381, qrtb382,"
    " qrtb383, qrtb384, qrtb385, qrtb386, qrtb387, qrtb388) VALUES"
    " (11, 1, 1, 3, 2, 2, 2, 6, 1, 0, 0, 0, 0, 0, 0), (12, 1, 2, 3, 2, 2, 2, 6, 1, 0, 0, 0, 0, 0, 0),"
    " (21, 2, 1, 3, 2, 2, 2, 6, 1, 0, 0, 0, 0, 0, 0), (22, 2, 2, 3, 2, 2, 2, 6, 1, 0, 0, 0, 0, 0, 0);\n";

// Group 1 (grade 1 boys) holding 200米 (event 4): its group event, contest
// 1 and round 1 (a direct final) in session and order as given.
inline std::string OneRoundSql(int session, int order) {
  return "INSERT INTO qrtb373 (qrtb374, qrtb375, qrtb376, qrtb377, qrtb378, qrtb379, qrtb380, qrtb381, qrtb382)"
         " VALUES (1, 1, 1, 3, 2, 2, 2, 6, 1);\n"
         "INSERT INTO qrtb467 (qrtb469, qrtb470) VALUES (1, 4);\n"
         "INSERT INTO qrtb425 (qrtb426, qrtb427, qrtb428, qrtb429, qrtb430, qrtb431, qrtb434, qrtb436)"
         " VALUES (1, 1, 4, 0, 0, 6, 1, 0);\n"
         "INSERT INTO qrtb444 (qrtb445, qrtb446, qrtb447, qrtb448, qrtb449, qrtb450, qrtb451, qrtb452, qrtb453,"
         " qrtb454, qrtb455, qrtb456, qrtb457, qrtb458) VALUES (1, 1, 3, 0, " +
         std::to_string(session) + ", " + std::to_string(order) + ", 10, 0, 6, 0, 0, 0, 0, 0);\n";
}

// An athlete of class 1 (grade 1) of sex, entered in the contests.
inline std::string AthleteInClassOne(int id, int sex, const std::vector<int>& contests = {}) {
  std::string sql = "INSERT INTO qrtb409 (qrtb410, qrtb411, qrtb412, qrtb413, qrtb414, qrtb415, qrtb416) VALUES ('a" +
                    std::to_string(id) + "', " + std::to_string(id) + ", 0, 1, 1, " + std::to_string(sex) + ", 0);\n";
  for (int contest : contests)
    sql += "INSERT INTO qrtb397 (qrtb399, qrtb400) VALUES (" + std::to_string(contest) + ", " + std::to_string(id) +
           ");\n";
  return sql;
}


class SetupStepsTest : public ServerTest {
 protected:
  void SetUp() override {
    ServerTest::SetUp();
    admin_ = LoginAdmin();
  }

  // A new meet of the default catalogue, extra SQL (GBK) run on it, opened;
  // registration closed, as a meet starts.
  void OpenMeet(const std::string& sql = {}, FixtureMeetSettings settings = NewMeet()) {
    meet_->OpenNewMeet(sql, settings);
  }
  static FixtureMeetSettings NewMeet() {
    FixtureMeetSettings settings;
    settings.RegistrationClosed = 1;
    return settings;
  }

  std::string Page(const std::string& path) { return Get(path, admin_).body; }
  std::string Send(const std::string& path, const std::string& body) { return Post(path, body, admin_).body; }

  SessionCookie admin_;

 public:
  // The first column of a query (UTF-8 SQL) on the open meet's file, read
  // through a connection of its own, so only what was committed shows.
  std::vector<std::string> FileRows(const std::string& sql) {
    std::string path;
    {
      DataReadGuard hold(DataLock);
      path = Model().MeetFilePath;
    }
    Connection conn;
    EXPECT_TRUE(OpenMeetFile(conn, path, false)) << path;
    std::vector<std::string> rows;
    Statement st(conn, sql);
    while (st.Next()) rows.push_back(st.ReadTextField(0));
    EXPECT_TRUE(st.ok()) << sql;
    return rows;
  }
  std::string FileValue(const std::string& sql) {
    std::vector<std::string> rows = FileRows(sql);
    return rows.empty() ? std::string() : rows.front();
  }
};

}  // namespace korva
