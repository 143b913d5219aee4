// The meet's set-up over loopback: creating a meet, steps ① to ③ (the
// meet information, the competition groups and the group events, each post
// checked in the meet file it wrote), and the administrator's home table of
// the meet's steps, state by state.
#include <gtest/gtest.h>

#include <array>
#include <filesystem>
#include <regex>
#include <string>
#include <vector>

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

// The administrator signed in; meets of the default catalogue (six grades
// of four classes, the sixteen default events).
class SetupStepsTest : public ServerTest {
 protected:
  void SetUp() override {
    ServerTest::SetUp();
    admin_ = LoginAdmin();
  }
  // Registration closed, as a meet starts.
  void OpenMeet(const std::string& sql = {}, FixtureMeetSettings settings = NewMeet()) {
    meet_->OpenNewMeet(sql, settings);
  }
  static FixtureMeetSettings NewMeet() {
    FixtureMeetSettings settings;
    settings.RegistrationClosed = 1;
    return settings;
  }
};

// ---- meet information ----

// The meet's settings as both files hold them.
std::string StoredInfo() {
  return StoredValue("SELECT qrtb344 || '|' || qrtb345 || '|' || qrtb333 || '|' || qrtb334 || '|' || qrtb336 ||"
                     " '|' || qrtb338 || '|' || qrtb342 FROM qrtb331") +
         " / " + StoredValue("SELECT qrtb141 || '|' || qrtb142 FROM base.qrtb137 WHERE qrtb139 = 1");
}

TEST_F(SetupStepsTest, MeetInformationIsSavedAtEachBound) {
  OpenMeet();
  struct Bound {
    int sessions, morning, afternoon, opening, admit_one_less;
    const char* stored;
  } bounds[] = {
      {2, 1, 11, 1, 0, "秋季运动会|2025-9-30|2|1|11|1|0 / 秋季运动会|2025-9-30"},
      {20, 10, 20, 7, 1, "秋季运动会|2025-9-30|20|10|20|7|1 / 秋季运动会|2025-9-30"},
  };
  for (const Bound& b : bounds) {
    std::string done = Send("/ChangYdhName.html", InfoBody("秋季运动会", b.sessions, b.morning, b.afternoon, b.opening,
                                                           b.admit_one_less));
    EXPECT_TRUE(Has(done, "成功修改“秋季运动会”!")) << done;
    EXPECT_EQ(StoredInfo(), b.stored);
    DataReadGuard hold(DataLock);
    const MeetModel& m = Model();
    EXPECT_EQ((std::array{m.MeetSessionCount, m.MorningStart, m.AfternoonStart, m.OpeningCeremonySlot, m.AdmitOneLess}),
              (std::array{b.sessions, b.morning, b.afternoon, b.opening, b.admit_one_less}));
    EXPECT_EQ(m.MeetName, "秋季运动会");
  }
}

TEST_F(SetupStepsTest, AShorterOpeningFitsBesideTheFirstMorningsRound) {
  OpenMeet(OneRoundSql(1, 1));
  // A shorter opening fits beside the round; a start date that is no date
  // is kept as typed and gives no start time.
  EXPECT_TRUE(Has(Send("/ChangYdhName.html", InfoBody("新名称", 4, 5, 13, 6, 1, "abc")), "成功修改“新名称”!"));
  EXPECT_EQ(StoredInfo(), "新名称|abc-9-30|4|5|13|6|1 / 新名称|abc-9-30");
  DataReadGuard hold(DataLock);
  EXPECT_EQ(Model().MeetStartTime, 0);
}

TEST_F(SetupStepsTest, MeetInformationFormKeepsAnOldYear) {
  FixtureMeetSettings settings = NewMeet();
  settings.StartDate = "2019-3-4";
  OpenMeet("", settings);
  EXPECT_TRUE(Has(Page("/SetupMeetName.html"), "<option value=\"2019\" selected=\"selected\">2019年</option>"));
}

// ---- competition groups ----

// "grade.sex" of every group in the meet file.
std::vector<std::string> StoredGroups() {
  return Stored("SELECT qrtb375 || '.' || qrtb376 FROM qrtb373 ORDER BY qrtb375, qrtb376");
}

TEST_F(SetupStepsTest, GroupsAreAddedChangedAndRemoved) {
  // Grade 1 boys hold 200米 with a final round (contest 1).
  OpenMeet(kTwoGradesSql +
           "INSERT INTO qrtb467 (qrtb469, qrtb470) VALUES (11, 4), (22, 4);"
           "INSERT INTO qrtb425 (qrtb426, qrtb427, qrtb428, qrtb429, qrtb430, qrtb431, qrtb434, qrtb436)"
           " VALUES (1, 11, 4, 0, 0, 6, 1, 0), (2, 22, 4, 0, 0, 6, 1, 0);"
           "INSERT INTO qrtb444 (qrtb445, qrtb446, qrtb447, qrtb448, qrtb453) VALUES (1, 1, 3, 0, 6), (2, 2, 3, 0, 6);");
  // Grade 1 keeps its boys and loses its girls, grade 2 goes, grade 3 comes
  // with its girls.
  std::string done = Send("/ChangeGrade.html", GroupsBody(GradeRow(1, true, false) + GradeRow(3, false, true)));
  EXPECT_TRUE(Has(done, "成功修改“测试运动会!”<br>已添加：三年级女子组<br />已删除：一年级女子组<br />已删除：二年级男子组"
                        "<br />已删除：二年级女子组"))
      << done;
  EXPECT_EQ(StoredGroups(), (std::vector<std::string>{"1.1", "3.2"}));
  // Settings and bonuses reach the groups, places and scheme the contests,
  // places the finals; the removed group took its contest and round along.
  EXPECT_EQ(Stored("SELECT qrtb377 || qrtb378 || qrtb379 || qrtb380 || qrtb381 || qrtb382 || qrtb383 || qrtb386"
                     " FROM qrtb373 ORDER BY qrtb375"),
            (std::vector<std::string>{"42328213", "42328213"}));
  EXPECT_EQ(Stored("SELECT qrtb426 || ':' || qrtb431 || ':' || qrtb434 FROM qrtb425"),
            (std::vector<std::string>{"1:8:2"}));
  EXPECT_EQ(Stored("SELECT qrtb445 || ':' || qrtb453 FROM qrtb444"), (std::vector<std::string>{"1:8"}));
  DataReadGuard hold(DataLock);
  EXPECT_EQ(Model().GroupList.size(), 2u);
  EXPECT_EQ(Model().ContestList.size(), 1u);
  EXPECT_EQ(Model().RoundList.size(), 1u);
}

TEST_F(SetupStepsTest, GroupsWithRegisteredAthletesAreKept) {
  OpenMeet(kTwoGradesSql + AthleteSql(1, "a1", 1, 1, 2, {}));
  std::string page = Send("/ChangeGrade.html", GroupsBody(GradeRow(1, true, false)));
  EXPECT_TRUE(Has(page, "下列竞赛组未被删除，原因是这些竞赛组已经有运动员报名")) << page;
  EXPECT_TRUE(Has(page, "<br>一年级女子组</font>"));
  EXPECT_EQ(StoredGroups(), (std::vector<std::string>{"1.1", "1.2"}));
  // The page marks the group so that the form refuses to clear it.
  std::string form = Page("/SetupMeetGrade.html");
  EXPECT_TRUE(Has(form, "name=\"wgirlsel\"value=\"1\" onClick=\"return nodel();\" checked=\"checked\"")) << form;
  EXPECT_TRUE(Has(form, "name=\"wboysel\" value=\"1\" onClick=\"njboygirlselect(0);\" checked=\"checked\""));
}

// ---- group events ----

// "group:event kinds" of the meet file's contests and their rounds, e.g.
// "11:1:1,2" for group 11 event 1 with a preliminary and a final.
std::vector<std::string> ContestsAndRounds() {
  return Stored(
      "SELECT c.qrtb427 || ':' || c.qrtb428 || ':' || IFNULL((SELECT group_concat(qrtb447) FROM"
      " (SELECT qrtb447 FROM qrtb444 WHERE qrtb446 = c.qrtb426 ORDER BY qrtb445)), '') FROM qrtb425 c"
      " ORDER BY c.qrtb427, c.qrtb428");
}

TEST_F(SetupStepsTest, FirstGroupEventsMakeContestsAndOpenRegistration) {
  OpenMeet(kTwoGradesSql);
  ASSERT_EQ(StoredValue("SELECT qrtb341 FROM qrtb331"), "1");
  // 50米 (1) has a preliminary and a final, 200米 (4) a direct final, 三项全能
  // (16) one round per part.
  const std::string chosen =
      "GirlByBoy=1&" + Selection(1, 11, {1, 4}) + Selection(2, 12, {4}) + Selection(3, 21, {16}) + Selection(4, 22, {4});
  std::string page = Send("/ChangGrdeMatch.html", chosen);
  EXPECT_TRUE(Has(page, "网络报名已经打开")) << page;
  EXPECT_TRUE(Has(page, "点此继续设置此运动会（日程安排）"));  // 40: rounds to schedule
  EXPECT_EQ(ContestsAndRounds(),
            (std::vector<std::string>{"11:1:1,2", "11:4:3", "12:4:3", "21:16:3,3,3", "22:4:3"}));
  EXPECT_EQ(Stored("SELECT qrtb469 || ':' || qrtb470 FROM qrtb467 ORDER BY qrtb469, qrtb470"),
            (std::vector<std::string>{"11:1", "11:4", "12:4", "21:16", "22:4"}));
  EXPECT_EQ(StoredValue("SELECT qrtb341 FROM qrtb331"), "0");
  {
    DataReadGuard hold(DataLock);
    EXPECT_EQ(Model().RegistrationClosed, 0);
    EXPECT_EQ(Model().RoundList.size(), 8u);
    EXPECT_FALSE(NoGroupEvents());
  }
  // With every round scheduled the same choice has nothing left to plan:
  // code 44, without the schedule link.
  ASSERT_TRUE(meet_->MeetSql(1, "UPDATE qrtb444 SET qrtb449 = 1, qrtb450 = qrtb445;"));
  ASSERT_EQ(meet_->Open(1), 0);
  page = Send("/ChangGrdeMatch.html", chosen);
  EXPECT_TRUE(Has(page, "网络报名已经打开")) << page;
  EXPECT_FALSE(Has(page, "日程安排）"));
}

TEST_F(SetupStepsTest, GroupEventsChangedAfterAthletesRegistered) {
  OpenMeet(kTwoGradesSql);
  ASSERT_TRUE(Has(Send("/ChangGrdeMatch.html", Selection(1, 11, {4, 9}) + Selection(2, 12, {4}) +
                                                     Selection(3, 21, {4}) + Selection(4, 22, {4})),
                  "网络报名已经打开"));
  // A boy of class 1 enters 200米 of grade 1.
  const std::string contest = StoredValue("SELECT qrtb426 FROM qrtb425 WHERE qrtb427 = 11 AND qrtb428 = 4");
  ASSERT_TRUE(meet_->MeetSql(1, AthleteSql(1, "a1", 1, 1, 1, {std::stoi(contest)})));
  // Grade 1 boys drop 200米 (entered) and 跳远 (not) and take 60米.
  std::string page = Send("/ChangGrdeMatch.html", Selection(1, 11, {2}) + Selection(2, 12, {4}) +
                                                      Selection(3, 21, {4}) + Selection(4, 22, {4}));
  EXPECT_TRUE(Has(page, "操作成功，但部分比赛未被删除")) << page;
  EXPECT_TRUE(Has(page, "[一年级男子组-200米]已有运动员报名，无法删除！"));
  EXPECT_EQ(ContestsAndRounds(), (std::vector<std::string>{"11:2:1,2", "11:4:3", "12:4:3", "21:4:3", "22:4:3"}));
  EXPECT_EQ(StoredValue("SELECT qrtb341 FROM qrtb331"), "0");
}

TEST_F(SetupStepsTest, ABoxPastTheLastGroupPositionEndsItsGroupsList) {
  OpenMeet(kTwoGradesSql + "INSERT INTO qrtb373 (qrtb374, qrtb375, qrtb376, qrtb377, qrtb378, qrtb379, qrtb380,"
                           " qrtb381, qrtb382) VALUES (31, 3, 1, 3, 2, 2, 2, 6, 1);");
  const std::string rest = Selection(2, 12, {4}) + Selection(3, 21, {4}) + Selection(4, 22, {4});
  // A box of group position 100 ends its group's list: 50米 stays unchosen.
  ASSERT_TRUE(Has(Send("/ChangGrdeMatch.html", Selection(1, 11, {4}) + "bsidz100=1&" + rest +
                                                   Selection(5, 31, {15})),
                  "网络报名已经打开"));
  EXPECT_EQ(Stored("SELECT qrtb470 FROM qrtb467 WHERE qrtb469 IN (11, 31) ORDER BY qrtb469"),
            (std::vector<std::string>{"4", "15"}));
}

// Another round of contest 1.
std::string RoundSql(int id, int session, int order, int disabled) {
  return "INSERT INTO qrtb444 (qrtb445, qrtb446, qrtb447, qrtb448, qrtb449, qrtb450, qrtb451, qrtb452, qrtb453,"
         " qrtb454, qrtb455, qrtb456, qrtb457, qrtb458) VALUES (" +
         std::to_string(id) + ", 1, 3, " + std::to_string(disabled) + ", " + std::to_string(session) + ", " +
         std::to_string(order) + ", 10, 0, 6, 0, 0, 0, 0, 0);\n";
}

// A lane of round 1; result "NULL" for none yet.
std::string LaneSql(int id, int heat, int lane, const char* result, int status) {
  return "INSERT INTO qrtb479 (qrtb480, qrtb481, qrtb482, qrtb483, qrtb484, qrtb485, qrtb486, qrtb487, qrtb488,"
         " qrtb489) VALUES (" +
         std::to_string(id) + ", 1, " + std::to_string(heat) + ", " + std::to_string(lane) + ", 0, " + result +
         ", " + std::to_string(status) + ", 0, 0, 0);\n";
}

using AdminHomeTest = SetupStepsTest;

const char* const kLinks[8] = {
    "<a href='JianLiYdh.html'>新建<br />运动会</a>",  "<a href=\"SetupMeet.html\">设置<br />运动会</a>",
    "<a href=\"MatchPlan.html\">日程<br />安排</a>",   "<a href=\"ShowBaoMing.html\">运动员<br />报名</a>",
    "<a href=\"BookControl.html\">生成<br />秩序册</a>", "<a href=\"InputScore.html\">录入<br />成绩</a>",
    "<a href=\"Statistics.html\">统计<br />整理</a>",  "<a href=\"CloseYdh.html\">结束<br />运动会</a>",
};
const char* const kPlain[8] = {"建立<br />运动会", "设置<br />运动会", "日程<br />安排", "运动员<br />报名",
                               "生成<br />秩序册", "录入<br />成绩",   "统计<br />整理", "结束<br />运动会"};

// The step cells of the page: eight labels, then eight states.
std::vector<std::string> StepCells(const std::string& page) {
  static const std::regex cell("<td class=\"style1\">(.*?)</td>");
  std::vector<std::string> cells;
  for (auto it = std::sregex_iterator(page.begin(), page.end(), cell); it != std::sregex_iterator(); ++it)
    if ((*it)[1] != "→") cells.push_back((*it)[1]);
  return cells;
}

struct StageCase {
  const char* stage;
  bool meet;
  std::string sql;
  int registration_closed;
  const char* labels;  // per step: 'l' its link, 'p' plain, 'c' "关闭<br />运动会"
  std::array<const char*, 8> states;  // "-" grey, "!x" x in red
};

std::string Expected(const StageCase& c, int step, bool label) {
  if (label) {
    char kind = c.labels[step];
    return kind == 'l' ? kLinks[step] : kind == 'c' ? "关闭<br />运动会" : kPlain[step];
  }
  std::string state = c.states[step];
  if (state == "-") return "<font color=\"#666666\">未进行</font>";
  if (state[0] == '!') return "<font color=\"#FF0000\">" + state.substr(1) + "</font>";
  return state;
}

TEST_F(AdminHomeTest, HomePageTableFollowsTheMeetStepByStep) {
  const std::string scheduled = OneRoundSql(1, 1);
  const StageCase cases[] = {
      {"no meet", false, "", 1, "lppppppp", {"待建立", "-", "-", "-", "-", "-", "-", "-"}},
      {"meet without groups", true, "", 1, "plpppppc", {"已建立", "待设置", "-", "-", "-", "-", "-", "-"}},
      {"groups without events", true, kTwoGradesSql, 1, "plpppppc",
       {"已建立", "待设置", "-", "-", "-", "-", "-", "-"}},
      {"rounds unscheduled", true, OneRoundSql(0, 0), 0, "plpppppc",
       {"已建立", "待设置", "-", "-", "-", "-", "-", "-"}},
      // A dropped preliminary needs no slot for the set-up, but the
      // schedule is only whole with every round placed.
      {"registration open, dropped round unplaced", true, scheduled + RoundSql(2, 0, 0, 1), 0, "plllpppp",
       {"已建立", "已设置", "!待安排", "!待完成", "-", "-", "-", "-"}},
      {"registration closed, order book to make", true, scheduled, 1, "pllllppp",
       {"已建立", "已设置", "已安排", "已完成", "!待生成", "-", "-", "-"}},
      {"lanes drawn but one", true, scheduled + LaneSql(1, 1, 1, "NULL", 0) + LaneSql(2, 1, 0, "NULL", 0), 1,
       "pllllppp", {"已建立", "已设置", "已安排", "已完成", "!待生成", "-", "-", "-"}},
      {"order book made, a result to come", true, scheduled + LaneSql(1, 1, 1, "1234", 0) + LaneSql(2, 1, 2, "NULL", 0),
       1, "plllllpp", {"已建立", "已设置", "已安排", "已完成", "已生成", "进行中", "-", "-"}},
      // A lane with a status (absent, foul) needs no result.
      {"every result in", true, scheduled + LaneSql(1, 1, 1, "1234", 0) + LaneSql(2, 1, 2, "NULL", 1), 1,
       "plllllll", {"已建立", "已设置", "已安排", "已完成", "已生成", "已完成", "可进行", "已结束"}},
  };
  for (const StageCase& c : cases) {
    SCOPED_TRACE(c.stage);
    if (c.meet) {
      FixtureMeetSettings settings;
      settings.RegistrationClosed = c.registration_closed;
      meet_->OpenNewMeet(c.sql, settings);
    }
    std::string page = Page("/Admin.html");
    std::vector<std::string> cells = StepCells(page);
    ASSERT_EQ(cells.size(), 16u) << page;
    for (int step = 0; step < 8; ++step) {
      EXPECT_EQ(cells[step], Expected(c, step, true)) << "label " << step + 1;
      EXPECT_EQ(cells[8 + step], Expected(c, step, false)) << "state " << step + 1;
    }
    EXPECT_FALSE(Has(page, "<%="));
  }
}

}  // namespace

}  // namespace korva
