// The administrator creates a meet through "/JianLiYdh.html" over HTTP.
#include <gtest/gtest.h>

#include <array>
#include <filesystem>
#include <string>

#include "database/connections.h"
#include "database/data_lock.h"
#include "database/loaders.h"
#include "database/lookups.h"
#include "database/model.h"
#include "database/setup_stage.h"
#include "pages/setup/meet_template.h"
#include "tests/http/server_fixture.h"
#include "web/login_list.h"

namespace korva {

namespace {

// A body as the form sends it: the defaults, with every grade chosen.
std::string FormBody(const std::string& name) {
  std::string body = "wydhname=" + FormEncode(name) +
                     "&wyear=2024&wyue=5&wri=20&wshichang=4&ShangWuKStime=5&XiaWuKStime=13&KaiMuShiTime=2";
  for (int grade = 1; grade <= 6; ++grade) {
    std::string id = std::to_string(grade);
    body += "&wnjsel=" + id + "&wboysel=" + id + "&wgirlsel=" + id + "&wmzxb=6&wmxxb=2&wmrxb=2&wqnxb=2&wqmc=6&wfz=1";
  }
  return body + "&wpjf1=1&wpjf2=2&hmws=3&jianyiluqu=1&postydh=%CC%E1%BD%BB";
}


class CreateMeetTest : public ServerTest {
 protected:
  void SetUp() override {
    ServerTest::SetUp();
    SetBlankMeetTemplatePath(meet_->folder() + "/PVD.DAT");
    admin_ = LoginAdmin();
  }
  void TearDown() override {
    SetBlankMeetTemplatePath("");
    ServerTest::TearDown();
  }
  std::string Create(const std::string& body) { return Post("/JianLiYdh.html", body, admin_).body; }

  int MeetFiles() {
    int count = 0;
    for (const auto& entry : std::filesystem::directory_iterator(meet_->folder())) {
      std::string name = entry.path().filename().string();
      count += name.rfind("ydh", 0) == 0 && entry.path().extension() == ".dat";
    }
    return count;
  }

};

TEST_F(CreateMeetTest, FirstMeetOnAFreshInstallation) {
  // No meet yet: the set-up road leads to the form, built from the defaults.
  EXPECT_TRUE(Has(Get("/SetupMeet.html", admin_).body, "<option value=\"0\" selected=\"selected\">没有运动会数据</option>"));

  auto teacher = std::make_shared<LoginNode>();
  teacher->Role = kRoleClassTeacher;
  {
    LoginGuard hold(LoginListLock);
    LoginList().push_back(teacher);
  }
  std::string done = Create(FormBody("春季运动会"));
  EXPECT_TRUE(Has(done, "恭喜您成功建立“春季运动会”")) << done;
  {
    // Other sessions sign in again; the administrator goes on working.
    LoginGuard hold(LoginListLock);
    EXPECT_EQ(teacher->Role, kRoleNone);
  }
  EXPECT_TRUE(Has(Get("/JianLiYdh.html", admin_).body, "name=\"newydhform\""));
  DataGuard hold(DataLock);
  const MeetModel& m = Model();
  EXPECT_EQ(m.MeetName, "春季运动会");
  EXPECT_EQ((std::array{m.MeetSessionCount, m.MorningStart, m.AfternoonStart, m.OpeningCeremonySlot,
                        m.AdmitOneLess, m.BibWidth, m.RegistrationClosed}),
            (std::array{4, 5, 13, 2, 1, 3, 1}));
  EXPECT_EQ(m.ClassList.size(), 24u);
  ASSERT_EQ(m.GroupList.size(), 12u);
  const GroupNode* girls = FindGroupByGradeAndSex(6, 2);
  ASSERT_NE(girls, nullptr);
  EXPECT_EQ((std::array{girls->AthletesPerClass, girls->EntrantsPerEvent, girls->EventsPerAthlete,
                        girls->CombinedLimit, girls->PlacesRanked, girls->SchemeId, girls->Bonus[1], girls->Bonus[2]}),
            (std::array{6, 2, 2, 2, 6, 1, 1, 2}));
  EXPECT_EQ(GetSetupStage(), kStageNoGroupEvents);
  EXPECT_EQ(MeetFiles(), 1);
}

TEST_F(CreateMeetTest, DuplicateNameKeepsThePreviousMeetOpenAndNamesAreEscaped) {
  const std::string name = "<i>运动会";
  std::string done = Create(FormBody(name));
  EXPECT_TRUE(Has(done, "恭喜您成功建立“&lt;i&gt;运动会”")) << done;
  std::string first_file;
  {
    DataGuard hold(DataLock);
    first_file = Model().MeetFilePath;
  }
  // The form lists the meet, so the page script can refuse the name too.
  EXPECT_TRUE(Has(Get("/JianLiYdh.html", admin_).body, ">&lt;i&gt;运动会</option>"));

  std::string again = Create(FormBody(name));
  EXPECT_TRUE(Has(again, "建立“&lt;i&gt;运动会”失败！该运动会名称已经存在")) << again;
  DataGuard hold(DataLock);
  EXPECT_EQ(Model().MeetFilePath, first_file);
  EXPECT_EQ(Model().MeetName, name);
  EXPECT_EQ(MeetFiles(), 1);
}

TEST_F(CreateMeetTest, RefusedPostsCreateNothing) {
  SetBlankMeetTemplatePath(meet_->folder() + "/no/such/folder/PVD.DAT");
  EXPECT_TRUE(Has(Create(FormBody("春季运动会")),
                  "无法进行，因为：</font></td></tr>\t\t\t\t<tr><td><br /><a href=\"JianLiYdh.html\">点此开始新建一个运动会！</a>"));
  EXPECT_TRUE(Has(Create("wydhname="), "失败！网页提交的数据存在问题！"));
  std::string no_grade = FormBody("甲");
  EXPECT_TRUE(Has(Create(no_grade.substr(0, no_grade.find("&wnjsel=")) + "&hmws=3"), "Sorry:,产生未知错误！"));  // 9
  EXPECT_TRUE(Has(Create(FormBody("甲") + "&wiscopyydh=copyold&woldydh=1"), "Sorry:,产生未知错误！"));
  DataGuard hold(DataLock);
  EXPECT_EQ(Model().CurrentMeetId, 0);
  EXPECT_EQ(Model().RegistrationClosed, 1);
  EXPECT_EQ(MeetFiles(), 0);
}

// The registry as "id|current|file" lines.
std::string Registry() {
  DataGuard hold(DataLock);
  std::string rows;
  Statement st(BaseConnection(), "SELECT qrtb138, qrtb139, qrtb140 FROM qrtb137 ORDER BY qrtb138");
  while (st.Next())
    rows += std::to_string(st.ReadIntField(0)) + "|" + std::to_string(st.ReadIntField(1)) + "|" +
            st.ReadTextField(2) + "\n";
  return rows;
}

// A meet registered but impossible to open is taken back: the answer is 12
// and the registry is as before, for the first meet of an installation and
// beside an open meet alike.
TEST_F(CreateMeetTest, AMeetThatCannotBeOpenedLeavesTheRegistryAsItWas) {
  const std::string lose_file =
      "CREATE TRIGGER lose_file AFTER INSERT ON qrtb137"
      " BEGIN UPDATE qrtb137 SET qrtb140 = 'missing.dat' WHERE qrtb138 = NEW.qrtb138; END;";
  for (bool meet_before : {false, true}) {
    SCOPED_TRACE(meet_before ? "beside an open meet" : "first meet");
    if (meet_before) {
      ASSERT_TRUE(meet_->BaseSql("DROP TRIGGER lose_file;") && meet_->OpenNewMeet() == 1);
    }
    ASSERT_TRUE(meet_->BaseSql(lose_file));
    const std::string registry = Registry();
    std::string page = Create(FormBody("春季运动会"));
    EXPECT_TRUE(Has(page, "Sorry:,产生未知错误！")) << page;
    EXPECT_EQ(Registry(), registry);
    EXPECT_EQ(MeetFiles(), meet_before ? 1 : 0);
    DataGuard hold(DataLock);
    EXPECT_EQ(Model().CurrentMeetId, meet_before ? 1 : 0);
  }
}

TEST_F(CreateMeetTest, SetupRoadSendsTheAdministratorToTheMissingPiece) {
  // Every group holds an event, but no contest exists yet (stage 4).
  ASSERT_TRUE(Has(Create(FormBody("春季运动会")), "恭喜您成功建立"));
  {
    DataGuard hold(DataLock);
    ASSERT_TRUE(MeetConnection().ExecScript("insert into qrtb467 (qrtb469,qrtb470) select qrtb374, 1 from qrtb373;"));
    ASSERT_EQ(LoadGroupEvents(), 0);
  }
  std::string page = Get("/SetupMeet.html", admin_).body;
  EXPECT_TRUE(Has(page, "window.location.href='/SetupGradeMatch.html';")) << page;
}

}  // namespace

}  // namespace korva
