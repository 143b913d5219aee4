#pragma once
// The server with the registration test meet open, and class-teacher logins.
#include <gtest/gtest.h>

#include <initializer_list>
#include <string>
#include <vector>

#include "database/connections.h"
#include "database/data_lock.h"
#include "database/gbk_text.h"
#include "database/model.h"
#include "database/sqlite_db.h"
#include "tests/http/form_encode.h"
#include "tests/http/server_fixture.h"
#include "tests/testing/registration_meet.h"

namespace korva {

class RegistrationServerTest : public ServerTest {
 protected:
  void SetUp() override {
    ServerTest::SetUp();
  }

  void OpenMeet(const std::string& extra_sql = {}, int closed = 0) {
    meet_id_ = OpenRegistrationMeet(*meet_, extra_sql, closed);
  }

  // Signs in as the teacher of a class with its password; the cookie of the
  // session (signing in gives it a new number).
  SessionCookie LoginTeacher(int class_id = 101, const std::string& password = "1111") {
    SessionCookie session = CookieNumber(Get("/"));
    HttpResponse reply =
        Post("/index.html", "BanJi=" + std::to_string(class_id) + "&PassWord=" + password, session);
    EXPECT_NE(std::string::npos, reply.body.find("/ShowClass.html")) << reply.body;
    return CookieNumber(reply);
  }

  static std::string AddPath(int stid, int sex, const std::string& gbk_name, std::initializer_list<int> events,
                             int class_id = 101) {
    std::string path = "/AddStudent.html?stid=" + std::to_string(stid) + "&stxb=" + std::to_string(sex) +
                       "&Tname1=" + FormEncode(gbk_name) + "&NjId=1&BjId=" + std::to_string(class_id) + "&";
    for (int event : events) path += "STBC1=" + std::to_string(event) + "&";
    return path + "an=123";
  }

  // The first column of a query on the open meet file, as texts.
  std::vector<std::string> Stored(const std::string& gbk_sql) {
    DataGuard hold(DataLock);
    std::vector<std::string> column;
    Statement st(MeetConnection(), GbkToUtf8(gbk_sql));
    while (st.Next()) column.push_back(st.ReadTextField(0));
    return column;
  }

  // The names of AthleteList in its order.
  std::vector<std::string> ListedNames() {
    DataGuard hold(DataLock);
    std::vector<std::string> names;
    for (const AthleteNode& athlete : Model().AthleteList) names.push_back(athlete.Name);
    return names;
  }

  int meet_id_ = 0;
};

}  // namespace korva
