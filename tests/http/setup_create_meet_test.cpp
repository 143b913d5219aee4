// The administrator creates a meet through "/JianLiYdh.html" over HTTP.
#include <gtest/gtest.h>

#include <dirent.h>

#include <cstdio>
#include <string>

#include "database/data_lock.h"
#include "database/lookups.h"
#include "database/model.h"
#include "pages/setup/meet_template.h"
#include "pages/setup/register_pages.h"
#include "pages/setup/setup_stage.h"
#include "tests/http/server_fixture.h"
#include "web/login_list.h"

namespace {

// Percent-encodes every byte but letters and digits, as a browser does
// with GBK form data.
std::string Encode(const std::string& gbk) {
  std::string out;
  for (unsigned char c : gbk) {
    if ((c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9')) {
      out += static_cast<char>(c);
    } else {
      char hex[4];
      std::snprintf(hex, sizeof hex, "%%%02X", c);
      out += hex;
    }
  }
  return out;
}

// A body as the form sends it: the defaults, with every grade chosen.
std::string FormBody(const std::string& name, const std::string& settings = {}) {
  std::string body = "wydhname=" + Encode(name) + "&wyear=2024&wyue=5&wri=20";
  body += settings.empty() ? "&wshichang=4&ShangWuKStime=5&XiaWuKStime=13&KaiMuShiTime=2" : settings;
  for (int grade = 1; grade <= 6; ++grade) {
    std::string id = std::to_string(grade);
    body += "&wnjsel=" + id + "&wboysel=" + id + "&wgirlsel=" + id +
            "&wmzxb=6&wmxxb=2&wmrxb=2&wqnxb=2&wqmc=6&wfz=1";
  }
  return body + "&wpjf1=1&wpjf2=2&hmws=3&jianyiluqu=1&postydh=%CC%E1%BD%BB";
}

int MeetFilesIn(const std::string& folder) {
  int count = 0;
  if (DIR* dir = opendir(folder.c_str())) {
    while (dirent* entry = readdir(dir)) {
      std::string name = entry->d_name;
      if (name.rfind("ydh", 0) == 0 && name.size() > 4 && name.substr(name.size() - 4) == ".dat") ++count;
    }
    closedir(dir);
  }
  return count;
}

bool Has(const std::string& text, const std::string& what) { return text.find(what) != std::string::npos; }

class CreateMeetTest : public ServerTest {
 protected:
  void SetUp() override {
    RegisterSetupPages();
    ServerTest::SetUp();
    SetBlankMeetTemplatePath(meet_->folder() + "/PVD.DAT");
    admin_ = LoginAdmin();
  }
  void TearDown() override {
    SetBlankMeetTemplatePath("");
    ServerTest::TearDown();
  }
  HttpResponse Create(const std::string& body) { return Post("/JianLiYdh.html", body, admin_); }

  int admin_ = 0;
};

TEST_F(CreateMeetTest, FirstMeetOnAFreshInstallation) {
  // No meet yet: the set-up road leads to the form, built from the defaults.
  HttpResponse form = Get("/SetupMeet.html", admin_);
  ASSERT_EQ(form.status, 200);
  EXPECT_TRUE(Has(form.body, "name=\"newydhform\"")) << form.body;
  EXPECT_TRUE(Has(form.body, "一年级"));
  EXPECT_TRUE(Has(form.body, "<option value=\"0\" selected=\"selected\">没有运动会数据</option>"));
  EXPECT_TRUE(Has(form.body, "全能限报"));
  EXPECT_TRUE(Has(form.body, "function checkdata()"));
  EXPECT_FALSE(Has(form.body, "<%="));

  HttpResponse done = Create(FormBody("春季运动会"));
  ASSERT_EQ(done.status, 200);
  EXPECT_TRUE(Has(done.body, "恭喜您成功建立“春季运动会”")) << done.body;
  EXPECT_TRUE(Has(done.body, "<a href=\"SetupMeet.html\">点此开始设置此运动会中各年级的比赛！</a>"));

  DataGuard hold(DataLock);
  const MeetModel& m = Model();
  EXPECT_NE(m.CurrentMeetId, 0);
  EXPECT_EQ(m.MeetName, "春季运动会");
  EXPECT_EQ(m.MeetSessionCount, 4);
  EXPECT_EQ(m.MorningStart, 5);
  EXPECT_EQ(m.AfternoonStart, 13);
  EXPECT_EQ(m.OpeningCeremonySlot, 2);
  EXPECT_EQ(m.AdmitOneLess, 1);
  EXPECT_EQ(m.BibWidth, 3);
  EXPECT_EQ(m.RegistrationClosed, 1);
  EXPECT_EQ(m.ClassList.size(), 24u);
  ASSERT_EQ(m.GroupList.size(), 12u);
  const GroupNode* girls = FindGroupByGradeAndSex(6, 2);
  ASSERT_NE(girls, nullptr);
  EXPECT_EQ(girls->AthletesPerClass, 6);
  EXPECT_EQ(girls->EntrantsPerEvent, 2);
  EXPECT_EQ(girls->EventsPerAthlete, 2);
  EXPECT_EQ(girls->CombinedLimit, 2);
  EXPECT_EQ(girls->PlacesRanked, 6);
  EXPECT_EQ(girls->SchemeId, 1);
  EXPECT_EQ(girls->Bonus[1], 1);
  EXPECT_EQ(girls->Bonus[2], 2);
  EXPECT_EQ(GetSetupStage(), kStageNoGroupEvents);
  EXPECT_EQ(MeetFilesIn(meet_->folder()), 1);
}

TEST_F(CreateMeetTest, SettingsAreStoredAsPosted) {
  std::string body = FormBody("秋季运动会", "&wshichang=20&ShangWuKStime=10&XiaWuKStime=20&KaiMuShiTime=7");
  body.replace(body.find("hmws=3"), 6, "hmws=9");
  body.replace(body.find("&jianyiluqu=1"), 13, "");
  ASSERT_TRUE(Has(Create(body).body, "恭喜您成功建立"));
  {
    DataGuard hold(DataLock);
    EXPECT_EQ(Model().MeetSessionCount, 20);
    EXPECT_EQ(Model().MorningStart, 10);
    EXPECT_EQ(Model().AfternoonStart, 20);
    EXPECT_EQ(Model().OpeningCeremonySlot, 7);
    EXPECT_EQ(Model().BibWidth, 3);  // out of 3..8
    EXPECT_EQ(Model().AdmitOneLess, 0);
  }
  body = FormBody("冬季运动会");
  body.replace(body.find("hmws=3"), 6, "hmws=8");
  ASSERT_TRUE(Has(Create(body).body, "恭喜您成功建立"));
  DataGuard hold(DataLock);
  EXPECT_EQ(Model().BibWidth, 8);
}

TEST_F(CreateMeetTest, DuplicateNameKeepsThePreviousMeetOpen) {
  ASSERT_TRUE(Has(Create(FormBody("春季运动会")).body, "恭喜您成功建立"));
  int first = 0;
  std::string first_file;
  {
    DataGuard hold(DataLock);
    first = Model().CurrentMeetId;
    first_file = Model().MeetFilePath;
  }
  // The form lists the meet, so the page script can refuse the name too.
  EXPECT_TRUE(Has(Get("/JianLiYdh.html", admin_).body, ">春季运动会</option>"));

  HttpResponse again = Create(FormBody("春季运动会"));
  EXPECT_TRUE(Has(again.body, "建立“春季运动会”失败！该运动会名称已经存在")) << again.body;
  DataGuard hold(DataLock);
  EXPECT_EQ(Model().CurrentMeetId, first);
  EXPECT_EQ(Model().MeetFilePath, first_file);
  EXPECT_EQ(Model().MeetName, "春季运动会");
  EXPECT_EQ(MeetFilesIn(meet_->folder()), 1);
}

TEST_F(CreateMeetTest, MissingTemplateCreatesNothing) {
  SetBlankMeetTemplatePath(meet_->folder() + "/no/such/folder/PVD.DAT");
  HttpResponse reply = Create(FormBody("春季运动会"));
  EXPECT_TRUE(Has(reply.body, "无法进行，因为：</font>")) << reply.body;
  EXPECT_TRUE(Has(reply.body, "<a href=\"JianLiYdh.html\">点此开始新建一个运动会！</a>"));
  DataGuard hold(DataLock);
  EXPECT_EQ(Model().CurrentMeetId, 0);
  EXPECT_EQ(MeetFilesIn(meet_->folder()), 0);
}

TEST_F(CreateMeetTest, RefusedPostsAnswerTheirPage) {
  EXPECT_TRUE(Has(Create("wydhname=").body, "失败！网页提交的数据存在问题！"));
  std::string no_grade = FormBody("甲");
  no_grade = no_grade.substr(0, no_grade.find("&wnjsel=")) + "&hmws=3";
  EXPECT_TRUE(Has(Create(no_grade).body, "Sorry:,产生未知错误！"));  // 9
  EXPECT_TRUE(Has(Create(FormBody("甲") + "&wiscopyydh=copyold&woldydh=1").body, "Sorry:,产生未知错误！"));
  DataGuard hold(DataLock);
  EXPECT_EQ(Model().CurrentMeetId, 0);
  EXPECT_EQ(Model().RegistrationClosed, 1);
  EXPECT_EQ(MeetFilesIn(meet_->folder()), 0);
}

TEST_F(CreateMeetTest, NameIsEscapedOnEveryPage) {
  const std::string name = "<i>运动会";
  HttpResponse done = Create(FormBody(name));
  EXPECT_TRUE(Has(done.body, "恭喜您成功建立“&lt;i&gt;运动会”")) << done.body;
  EXPECT_FALSE(Has(done.body, "<i>"));
  HttpResponse form = Get("/JianLiYdh.html", admin_);
  EXPECT_TRUE(Has(form.body, ">&lt;i&gt;运动会</option>"));
  EXPECT_FALSE(Has(form.body, "<i>"));
  HttpResponse refused = Create(FormBody(name));
  EXPECT_TRUE(Has(refused.body, "建立“&lt;i&gt;运动会”失败！"));
  EXPECT_FALSE(Has(refused.body, "<i>"));
}

TEST_F(CreateMeetTest, OtherSessionsSignInAgain) {
  auto teacher = std::make_shared<LoginNode>();
  teacher->Role = kRoleClassTeacher;
  teacher->SessionId = 990001;
  {
    LoginGuard hold(LoginListLock);
    LoginList().push_back(teacher);
  }
  ASSERT_TRUE(Has(Create(FormBody("春季运动会")).body, "恭喜您成功建立"));
  {
    LoginGuard hold(LoginListLock);
    EXPECT_EQ(teacher->Role, kRoleNone);
  }
  // The administrator goes on working.
  EXPECT_TRUE(Has(Get("/JianLiYdh.html", admin_).body, "name=\"newydhform\""));
}

}  // namespace
