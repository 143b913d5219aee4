#pragma once
// The server with the registration test meet open, and class-teacher logins.
#include <gtest/gtest.h>

#include <cctype>
#include <cstdio>
#include <initializer_list>
#include <string>
#include <vector>

#include "database/connections.h"
#include "database/data_lock.h"
#include "database/model.h"
#include "database/sqlite_db.h"
#include "pages/meet/register_pages.h"
#include "tests/http/server_fixture.h"
#include "tests/testing/registration_meet.h"

class RegistrationServerTest : public ServerTest {
 protected:
  void SetUp() override {
    RegisterMeetPages();
    ServerTest::SetUp();
  }

  // Opens the registration meet with extra SQL (GBK).
  void OpenMeet(const std::string& extra_sql = {}, int registration_closed = 0) {
    FixtureMeetSettings settings;
    settings.RegistrationClosed = registration_closed;
    meet_id_ = meet_->OpenNewMeet(RegistrationMeetSql() + extra_sql, settings);
  }

  // Signs in as the teacher of a class with its password; the session number.
  int LoginTeacher(int class_id = 101, const std::string& password = "1111") {
    int session = CookieNumber(Get("/"));
    HttpResponse reply =
        Post("/index.html", "BanJi=" + std::to_string(class_id) + "&PassWord=" + password, session);
    EXPECT_NE(std::string::npos, reply.body.find("/ShowClass.html")) << reply.body;
    return session;
  }

  // Every byte outside [A-Za-z0-9] as %XX, so GBK names travel as browsers send them.
  static std::string Encode(const std::string& gbk) {
    std::string out;
    for (unsigned char c : gbk) {
      if (std::isalnum(c) && c < 0x80) {
        out += static_cast<char>(c);
      } else {
        char buf[4];
        std::snprintf(buf, sizeof buf, "%%%02X", c);
        out += buf;
      }
    }
    return out;
  }

  static std::string AddPath(int stid, int sex, const std::string& gbk_name, std::initializer_list<int> events,
                             int grade = 1, int class_id = 101) {
    std::string path = "/AddStudent.html?stid=" + std::to_string(stid) + "&stxb=" + std::to_string(sex) +
                       "&Tname1=" + Encode(gbk_name) + "&NjId=" + std::to_string(grade) +
                       "&BjId=" + std::to_string(class_id) + "&";
    for (int event : events) path += "STBC1=" + std::to_string(event) + "&";
    return path + "an=123";
  }

  // The contest ids of an athlete as stored in the meet file, in their order.
  std::vector<int> StoredEntries(int athlete_id) {
    DataGuard hold(DataLock);
    std::vector<int> entries;
    Statement st(MeetConnection(), "SELECT qrtb399 FROM qrtb397 WHERE qrtb400 = ? ORDER BY rowid");
    st.Bind(athlete_id);
    while (st.Next()) entries.push_back(st.ReadIntField(0));
    return entries;
  }

  // The id of the stored athlete of that name, 0 when there is none.
  int StoredAthleteId(const std::string& gbk_name) {
    DataGuard hold(DataLock);
    Statement st(MeetConnection(), "SELECT qrtb411 FROM qrtb409 WHERE qrtb410 = ?");
    st.Bind(gbk_name);
    return st.Next() ? st.ReadIntField(0) : 0;
  }

  int StoredAthleteCount() {
    DataGuard hold(DataLock);
    Statement st(MeetConnection(), "SELECT count(*) FROM qrtb409");
    return st.Next() ? st.ReadIntField(0) : -1;
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
