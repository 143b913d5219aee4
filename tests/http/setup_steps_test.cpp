// Steps ① to ③ of the meet's set-up over loopback: the meet information,
// the competition groups and the group events, each post checked in the
// meet file it wrote.
#include <array>
#include <string>
#include <vector>

#include "database/lookups.h"
#include "tests/http/server_fixture.h"

namespace korva {

namespace {

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

std::string InfoBody(const std::string& gbk_name, int sessions, int morning, int afternoon, int opening,
                     int admit_one_less, const std::string& year = "2025") {
  return "wydhname=" + FormEncode(gbk_name) + "&wyear=" + year + "&wyue=9&wri=30&wshichang=" +
         std::to_string(sessions) + "&shangwutime=" + std::to_string(morning) + "&xiawutime=" +
         std::to_string(afternoon) + "&KaiMuShi=" + std::to_string(opening) +
         (admit_one_less ? "&jianyiluqu=1" : "") + "&postname=x";
}

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
  // The form shows what was stored.
  std::string form = Page("/SetupMeetName.html");
  for (const char* part : {"<option value=\"20\" selected=\"selected\">10天</option>",
                           "<option value=\"7\" selected=\"selected\">半天</option>", "value=\"1\" checked />"})
    EXPECT_TRUE(Has(form, part)) << part;
}

TEST_F(SetupStepsTest, RefusedMeetInformationChangesNothing) {
  FixtureMeetSettings other;
  other.Name = "春季运动会";
  meet_->AddMeet(other, false);
  // A round in the morning of the first day.
  OpenMeet(OneRoundSql(1, 1));
  const std::string before = StoredInfo();
  struct Refusal {
    std::string body;
    const char* answer;
  } refusals[] = {
      {InfoBody("", 4, 5, 13, 2, 1), "“测试运动会”信息修改失败！因为请输入运动会名称！"},
      // The field filter empties a name holding '&'; blanks alone are no name.
      {InfoBody("a&b", 4, 5, 13, 2, 1), "因为请输入运动会名称！"},
      {InfoBody("   ", 4, 5, 13, 2, 1), "因为请输入运动会名称！"},
      {InfoBody("春季运动会", 4, 5, 13, 2, 1), "“测试运动会”信息修改失败！因为已存在相同的运动会名称！"},
      {InfoBody("新名称", 4, 5, 13, 7, 1),
       "因为已经有比赛被安排到第一天上午，如果想将开幕式设定为半天，请先取消第一天上午的比赛安排。！"},
  };
  for (const Refusal& r : refusals) {
    std::string page = Send("/ChangYdhName.html", r.body);
    EXPECT_TRUE(Has(page, r.answer)) << page;
    EXPECT_TRUE(Has(page, "<a href=\"SetupMeet.html\">点此继续设置此运动会</a>"));
    EXPECT_EQ(StoredInfo(), before);
  }
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

const std::string kLimits = "&wmzxb=4&wmxxb=2&wmrxb=3&wqnxb=2&wqmc=8&wfz=2";

std::string GradeRow(int grade, bool boys, bool girls, const std::string& limits = kLimits) {
  std::string id = std::to_string(grade);
  return "wnjsel=" + id + (boys ? "&wboysel=" + id : "") + (girls ? "&wgirlsel=" + id : "") + limits + "&";
}

std::string GroupsBody(const std::string& rows) { return rows + "wpjf1=1&wpjf2=3&postgrade=x"; }

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

TEST_F(SetupStepsTest, RefusedGroupPostsSaveNothing) {
  // Grade 7 has no classes in the meet.
  OpenMeet(kTwoGradesSql + "INSERT INTO qrtb219 (qrtb220, qrtb221, qrtb222, qrtb223, qrtb225) VALUES (7, 'x', 'x', 'x', 0);");
  const std::vector<std::string> before = StoredGroups();
  const std::string long_row = GradeRow(1, true, true, kLimits + "&padding=" + std::string(440, 'x'));
  for (const std::string& body : {GroupsBody(GradeRow(7, true, true)), GroupsBody(GradeRow(2, false, false)),
                                  GroupsBody(GradeRow(2, true, true, "&wmzxb=4&wmxxb=0&wmrxb=3&wqnxb=2&wqmc=8&wfz=2")),
                                  GroupsBody(GradeRow(0, true, true)), GroupsBody(long_row), std::string("wpjf1=1"),
                                  GroupsBody(GradeRow(1, true, false) + GradeRow(1, true, true)),
                                  std::string()}) {
    std::string page = Send("/ChangeGrade.html", body);
    EXPECT_TRUE(Has(page, "Sorry:操作失败，原因是网页提交的数据不正确！")) << body.substr(0, 60) << page;
    EXPECT_EQ(StoredGroups(), before);
  }
}

// ---- group events ----

// One group's section of the form: its id and the ticked events (box name
// "bsidz" + position).
std::string Selection(int position, int group, const std::vector<int>& events) {
  std::string s = "jszid=" + std::to_string(group) + "&BsLb=&";
  for (int event : events) s += "bsidz" + std::to_string(position) + "=" + std::to_string(event) + "&";
  return s;
}

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

TEST_F(SetupStepsTest, RefusedGroupEventsSaveNothing) {
  // Grade 3 has only its boys (31): a mixed team there needs no girls.
  OpenMeet(kTwoGradesSql + "INSERT INTO qrtb373 (qrtb374, qrtb375, qrtb376, qrtb377, qrtb378, qrtb379, qrtb380,"
                           " qrtb381, qrtb382) VALUES (31, 3, 1, 3, 2, 2, 2, 6, 1);");
  const std::string rest = Selection(2, 12, {4}) + Selection(3, 21, {4}) + Selection(4, 22, {4});
  for (const std::string& body : {
           Selection(1, 11, {15}) + rest + Selection(5, 31, {4}),  // 迎面接力 (mixed) for the boys only
           Selection(1, 11, {4, 99}) + rest,                       // no such event
           Selection(1, 77, {4}) + rest,                           // no such group
           Selection(1, 0, {4}) + rest,
           Selection(1, 11, {4}) + rest + Selection(5, 11, {9}),   // a group twice
           Selection(1, 11, {4, 4}) + rest,                         // an event twice
           Selection(1, 11, {4}) + std::string(500, 'x') + "&" + rest,
           std::string("x=1"),
           std::string(),
       }) {
    std::string page = Send("/ChangGrdeMatch.html", body);
    EXPECT_TRUE(Has(page, "Sorry:操作失败，原因是网页提交的数据不正确！")) << body.substr(0, 60) << page;
    EXPECT_TRUE(Stored("SELECT qrtb426 FROM qrtb425").empty());
  }
  // A box of group position 100 ends its group's list: 50米 stays unchosen.
  ASSERT_TRUE(Has(Send("/ChangGrdeMatch.html", Selection(1, 11, {4}) + "bsidz100=1&" + rest +
                                                   Selection(5, 31, {15})),
                  "网络报名已经打开"));
  EXPECT_EQ(Stored("SELECT qrtb470 FROM qrtb467 WHERE qrtb469 IN (11, 31) ORDER BY qrtb469"),
            (std::vector<std::string>{"4", "15"}));
}

}  // namespace

}  // namespace korva
