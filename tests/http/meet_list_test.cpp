// The meet list over HTTP: its order, switching the current meet (also
// while other clients keep reading pages) and deleting a meet.
#include <gtest/gtest.h>
#include <unistd.h>

#include <atomic>
#include <filesystem>
#include <fstream>
#include <string>
#include <thread>
#include <vector>

#include "database/connections.h"
#include "database/data_lock.h"
#include "database/model.h"
#include "tests/http/server_fixture.h"

namespace korva {

namespace {

constexpr const char* kSwitchFailed = "更改当前数据库失败！";
constexpr const char* kDeleteRefused = "删除运动会失败！你的登陆信息有误，请重新登陆！";

// One grade with one class of the given name (and its teacher's account).
std::string OneClass(const std::string& class_name) {
  return "insert into qrtb219 values (91, '九一年级', '九一', '班', 1);"
         "insert into qrtb234 values (9101, 91, 1, '" + class_name + "', '', '');"
         "insert into qrtb7 (qrtb8, qrtb9, qrtb10, qrtb11, qrtb12, qrtb14, qrtb15, qrtb16) "
         "values (905, '', '9352', '', '王老师', 1, 91, 9101);";
}


bool IsWhole(const HttpResponse& reply) {
  return reply.status == 200 && reply.Header("Content-Length") == std::to_string(reply.body.size()) &&
         Has(reply.body, "</html>");
}

// Two meets, each with a class of its own; the first is open.
class MeetListTest : public ServerTest {
 protected:
  void SetUp() override {
    ServerTest::SetUp();
    first_ = meet_->AddMeet({.Name = "春季运动会", .StartDate = "2024-9-1"}, true);
    second_ = meet_->AddMeet({.Name = "秋季运动会", .StartDate = "2024-10-1"}, false);
    ASSERT_TRUE(meet_->MeetSql(first_, OneClass("甲队")));
    ASSERT_TRUE(meet_->MeetSql(second_, OneClass("乙队")));
    ASSERT_EQ(0, meet_->Open());
    admin_ = LoginAdmin();
  }

  std::string Switch(int meet_id, SessionCookie session) {
    return Get("/setupDqYdh.html?str=" + std::to_string(meet_id), session).body;
  }
  HttpResponse Delete(const std::string& meet_id, const std::string& name, const std::string& password,
                      SessionCookie session) {
    return Get("/DelYdh.html?str1=" + meet_id + "&str2=" + FormEncode(name) + "&str3=" + FormEncode(password),
               session);
  }
  std::string CurrentFlags() {
    DataReadGuard hold(DataLock);
    Statement st(BaseConnection(), "select qrtb138, qrtb139 from qrtb137 order by qrtb138");
    std::string flags;
    while (st.Next()) flags += std::to_string(st.ReadIntField(0)) + ":" + std::to_string(st.ReadIntField(1)) + " ";
    return flags;
  }
  int OpenMeetId() {
    DataReadGuard hold(DataLock);
    return Model().CurrentMeetId;
  }

  int first_ = 0;
  int second_ = 0;
};

TEST_F(MeetListTest, ListsTheCurrentMeetFirstThenTheLatestStartDate) {
  meet_->AddMeet({.Name = "冬季长跑赛", .StartDate = "2024-2-28"}, false);
  std::string page = Get("/MeetList.html", admin_).body;
  EXPECT_TRUE(Has(page, "<td>1</td><td>春季运动会</td><td>2024-9-1</td><td>当前运动会</td>")) << page;
  EXPECT_TRUE(Has(page, "<td>2</td><td>秋季运动会</td><td>2024-10-1</td>"));
  EXPECT_TRUE(Has(page, "<td>3</td><td>冬季长跑赛</td><td>2024-2-28</td>"));
}

TEST_F(MeetListTest, SwitchingOpensTheOtherMeetAndEndsEverySession) {
  // Refused: the open meet, ids that name no meet. No session ends.
  for (std::string id : {std::to_string(first_), std::string("0"), std::string("x"), std::string("99")})
    EXPECT_EQ(kSwitchFailed, Get("/setupDqYdh.html?str=" + id, admin_).body) << id;
  EXPECT_EQ(8, RoleOf(admin_));

  SessionCookie other = LoginAdmin();  // signs admin_ out (reason 61) but keeps its session
  EXPECT_EQ("OK", Switch(second_, other));
  EXPECT_EQ(second_, OpenMeetId());
  EXPECT_EQ("1:0 2:1 ", CurrentFlags());
  EXPECT_EQ(-1, RoleOf(other));
  EXPECT_EQ(-1, RoleOf(admin_));
  std::string login = Get("/").body;
  EXPECT_TRUE(Has(login, "乙队") && !Has(login, "甲队")) << login;

  // And back.
  EXPECT_EQ("OK", Switch(first_, LoginAdmin()));
  EXPECT_EQ("1:1 2:0 ", CurrentFlags());
  EXPECT_TRUE(Has(Get("/").body, "甲队"));
}

TEST_F(MeetListTest, AFailedSwitchKeepsThePreviousMeetOpenAndWorking) {
  std::string file = meet_->MeetFile(second_);
  for (bool missing : {false, true}) {
    if (missing) {
      std::filesystem::remove(file);
    } else {
      std::ofstream(file, std::ios::trunc) << "not a meet file";
    }
    EXPECT_EQ(kSwitchFailed, Switch(second_, admin_)) << missing;
    EXPECT_EQ(first_, OpenMeetId());
    EXPECT_EQ("1:1 2:0 ", CurrentFlags());
    // The administrator is still signed in, and the open meet still serves
    // its pages and takes changes.
    EXPECT_TRUE(Has(Get("/UserList.html", admin_).body, "甲队"));
    EXPECT_EQ("OK", Get("/AddAdmin.html?str1=clerk" + std::to_string(missing) + "&str2=secret1&str3=1", admin_).body);
    EXPECT_TRUE(Has(Get("/").body, "甲队"));
  }
}

TEST_F(MeetListTest, PagesStayWholeWhileTheMeetIsSwitchedBackAndForth) {
  std::atomic<bool> switching{true};
  std::atomic<int> torn{0};
  std::atomic<int> served{0};
  std::vector<std::thread> readers;
  for (int r = 0; r < 3; ++r) {
    readers.emplace_back([&] {
      while (switching) {
        // The class login page walks the open meet's classes.
        HttpResponse reply = Get("/");
        bool one_meet = Has(reply.body, "甲队") != Has(reply.body, "乙队");
        bool closed = Has(reply.body, "网页服务已经被管理员关闭");
        if (!IsWhole(reply) || (!one_meet && !closed)) ++torn;
        ++served;
      }
    });
  }
  int failed_switches = 0;
  for (int i = 0; i < 16; ++i) {
    SessionCookie session = LoginAdmin();
    if (Switch(i % 2 == 0 ? second_ : first_, session) != "OK") ++failed_switches;
    usleep(2000);  // leave the readers a way in
  }
  switching = false;
  for (std::thread& reader : readers) reader.join();
  EXPECT_EQ(0, failed_switches);
  EXPECT_EQ(0, torn);
  EXPECT_GT(served, 0);
  EXPECT_EQ(first_, OpenMeetId());
  EXPECT_TRUE(Has(Get("/").body, "甲队"));
}

TEST_F(MeetListTest, DeletingAMeetTakesItsRowKeepsItsFileAndNeverTheCurrentOne) {
  const std::string password = meet_->admin_password();
  meet_->BaseSql("insert into qrtb7 (qrtb8, qrtb9, qrtb10, qrtb14) values (40, 'printer1', 'secret1', 6)");
  // Right credentials of any staff account sign the session in to that
  // account, but the open meet stays.
  HttpResponse reply = Delete(std::to_string(first_), "printer1", "secret1", admin_);
  EXPECT_EQ(kDeleteRefused, reply.body);
  EXPECT_EQ(6, RoleOf(CookieNumber(reply)));
  // Wrong ones sign it out.
  reply = Delete(std::to_string(second_), "admin", "wrong-password", LoginAdmin());
  EXPECT_EQ(kDeleteRefused, reply.body);
  EXPECT_EQ(0, RoleOf(CookieNumber(reply)));
  EXPECT_EQ("1:1 2:0 ", CurrentFlags());
  EXPECT_TRUE(std::filesystem::exists(meet_->MeetFile(first_)) && std::filesystem::exists(meet_->MeetFile(second_)));

  SessionCookie session = LoginAdmin();
  const int third = meet_->AddMeet({.Name = "冬季运动会"}, false);
  EXPECT_EQ("删除运动会失败！", Delete("99", "admin", password, session).body);
  EXPECT_EQ("OK", Delete(std::to_string(second_), "admin", password, session).body);
  EXPECT_EQ("1:1 3:0 ", CurrentFlags());
  EXPECT_TRUE(std::filesystem::exists(meet_->MeetFile(second_)));
  std::string page = Get("/MeetList.html", session).body;
  EXPECT_TRUE(Has(page, "春季运动会") && !Has(page, "秋季运动会")) << page;
  // A meet whose file is gone already can still be taken off the list.
  std::filesystem::remove(meet_->MeetFile(third));
  EXPECT_EQ("OK", Delete(std::to_string(third), "admin", password, session).body);
  EXPECT_EQ("1:1 ", CurrentFlags());
}

}  // namespace

}  // namespace korva
