#include "pages/meet/entry_forms.h"

#include <gtest/gtest.h>

#include <string>

#include "database/data_lock.h"
#include "database/lookups.h"
#include "tests/testing/meet_fixture.h"
#include "tests/testing/registration_meet.h"

namespace {

LoginNode Teacher(int class_id = 101, int grade_id = 1) {
  LoginNode session;
  session.Role = kRoleClassTeacher;
  session.GradeId = grade_id;
  session.ClassId = class_id;
  return session;
}

// The table row of an event (its check box carries value="<event id>").
std::string RowOf(const std::string& form, int event_id) {
  std::size_t at = form.find("value=\"" + std::to_string(event_id) + "\"");
  if (at == std::string::npos) return {};
  std::size_t start = form.rfind("<tr>", at);
  std::size_t end = form.find("</tr>", at);
  return form.substr(start, end - start);
}

class EntryFormsTest : public ::testing::Test {
 protected:
  void Open(const std::string& extra_sql = {}) { fixture_.OpenNewMeet(RegistrationMeetSql() + extra_sql); }

  std::string AddForm(int sex, int athlete_id = 0, int class_id = 101) {
    DataGuard guard(DataLock);
    std::string form;
    GroupNode* group = FindGroupByGradeAndSex(1, sex);
    EXPECT_NE(group, nullptr);
    BuildAthleteEventForm(Teacher(class_id), form, *group, class_id, sex, athlete_id);
    return form;
  }

  MeetFixture fixture_;
};

TEST_F(EntryFormsTest, FullIndividualEventIsStruckDisabledAndMarkedButStaysOpenToItsEntrants) {
  Open(AthleteSql(1, "张一", 1, 101, 1, {1101}) + AthleteSql(2, "张二", 1, 101, 1, {1101, 1102}));
  std::string form = AddForm(1);
  std::string row = RowOf(form, 901);
  EXPECT_NE(row.find("id=\"disableBC\""), std::string::npos) << row;
  EXPECT_NE(row.find("disabled=\"disabled\""), std::string::npos);
  EXPECT_NE(row.find("class=\"ShanChuXian\""), std::string::npos);
  EXPECT_NE(row.find("(满)"), std::string::npos);
  EXPECT_NE(row.find("本班：张一&nbsp;张二&nbsp;,其他班已报0人；"), std::string::npos) << row;
  // 跳远 has one entrant of two: open, named, not struck.
  std::string long_jump = RowOf(form, 902);
  EXPECT_NE(long_jump.find("name=\"StBcDx\""), std::string::npos);
  EXPECT_EQ(long_jump.find("disabled"), std::string::npos);
  EXPECT_NE(long_jump.find("NoShanChuXian"), std::string::npos);

  // The edited athlete's own events stay checked and enabled.
  std::string edit = AddForm(1, 2);
  std::string own = RowOf(edit, 901);
  EXPECT_NE(own.find("name=\"StBcDx\""), std::string::npos) << own;
  EXPECT_NE(own.find("checked=\"checked\""), std::string::npos);
  EXPECT_EQ(own.find("disabled"), std::string::npos);
  EXPECT_NE(edit.find("value=\"张二\""), std::string::npos);
  EXPECT_NE(edit.find("name=\"stid\" id=\"stid\" value=\"2\""), std::string::npos);
}

TEST_F(EntryFormsTest, AthleteAtTheSingleEventLimitGetsTheOtherIndividualEventsDisabled) {
  Open(AthleteSql(1, "张一", 1, 101, 1, {1101, 1102}));
  std::string form = AddForm(1, 1);
  std::string shot = RowOf(form, 903);
  EXPECT_NE(shot.find("name=\"StBcDx\""), std::string::npos) << shot;
  EXPECT_NE(shot.find("disabled=\"disabled\""), std::string::npos);
  EXPECT_EQ(shot.find("(满)"), std::string::npos);
}

TEST_F(EntryFormsTest, TeamTakesItsSizeFromAClassAndMixedTeamHalfOfItFromEachSex) {
  std::string sql = "UPDATE qrtb373 SET qrtb377 = 8;\n";
  for (int i = 1; i <= 3; ++i) sql += AthleteSql(i, "男" + std::to_string(i), 1, 101, 1, {1105});
  sql += AthleteSql(10, "男甲", 1, 101, 1, {1106}) + AthleteSql(11, "男乙", 1, 101, 1, {1106});
  sql += AthleteSql(20, "女甲", 1, 101, 2, {1206});
  Open(sql);
  // Three of four team places used: still open.
  EXPECT_EQ(RowOf(AddForm(1), 905).find("disabled"), std::string::npos);
  EXPECT_NE(RowOf(AddForm(1), 905).find("name=\"StBcTd\""), std::string::npos);
  // Two boys fill the boys' half of the mixed team; the girls' half is open.
  std::string boys_mixed = RowOf(AddForm(1), 906);
  EXPECT_NE(boys_mixed.find("disabled=\"disabled\""), std::string::npos) << boys_mixed;
  EXPECT_NE(boys_mixed.find("男女混合团队赛"), std::string::npos);
  EXPECT_EQ(RowOf(AddForm(2), 906).find("disabled"), std::string::npos);

  Open(sql + AthleteSql(4, "男4", 1, 101, 1, {1105}));
  EXPECT_NE(RowOf(AddForm(1), 905).find("disabled=\"disabled\""), std::string::npos);
}

TEST_F(EntryFormsTest, FullGroupGivesTheFullTextForANewAthleteButStillEditsOne) {
  Open(AthleteSql(1, "张一", 1, 101, 1, {}) + AthleteSql(2, "张二", 1, 101, 1, {}) +
       AthleteSql(3, "张三", 1, 101, 1, {}));
  EXPECT_EQ(AddForm(1), "该竞赛组最多限报3,当前已报3人,不能再添加运动员!");
  EXPECT_NE(AddForm(1, 3).find("name=\"stname\""), std::string::npos);
  // Another class's athlete is never edited through this class's form.
  EXPECT_EQ(AddForm(1, 3, 102).find("张三"), std::string::npos);
}

TEST_F(EntryFormsTest, LimitsLineNamesTheCombinedLimitOnlyWhenTheGroupHasACombinedEvent) {
  Open("DELETE FROM qrtb467 WHERE qrtb469 = 12 AND qrtb470 = 904;");
  std::string boys = AddForm(1);
  EXPECT_NE(boys.find("当前竞赛组<strong>单项</strong>每人限报2项，全能限报2项，每项限报2人，每组限报3人；"
                      "团队赛至少报一人，实际参赛人数按竞赛规则。"),
            std::string::npos);
  std::string girls = AddForm(2);
  EXPECT_NE(girls.find("当前竞赛组<strong>单项</strong>每人限报2项，每项限报2人，每组限报3人。"
                       "团队赛至少报一人，实际参赛人数按竞赛规则。"),
            std::string::npos);
  EXPECT_NE(girls.find("name=\"QNXBNUM\" id=\"QNXBNUM\" value=\"2\""), std::string::npos);
}

TEST_F(EntryFormsTest, NamesAreEscapedInEveryForm) {
  Open(AthleteSql(1, "<xmp>", 1, 101, 1, {1101}) + "UPDATE qrtb306 SET qrtb308 = '<b>跑' WHERE qrtb307 = 902;" +
       "UPDATE qrtb234 SET qrtb238 = '<i>班' WHERE qrtb235 = 101;");
  std::string form = AddForm(1, 1);
  EXPECT_EQ(form.find("<xmp>"), std::string::npos);
  EXPECT_NE(form.find("value=\"&lt;xmp&gt;\""), std::string::npos);
  EXPECT_NE(AddForm(1).find("本班：&lt;xmp&gt;&nbsp;,"), std::string::npos);
  EXPECT_NE(form.find("&lt;b&gt;跑"), std::string::npos);

  DataGuard guard(DataLock);
  std::string table;
  ASSERT_EQ(BuildAthleteEventEditForm(1, table), 1);
  EXPECT_EQ(table.find("<xmp>"), std::string::npos);
  EXPECT_EQ(table.find("<b>"), std::string::npos);
  EXPECT_NE(table.find("'\\x3Cb\\x3E跑'"), std::string::npos) << table;
  EXPECT_NE(table.find("&lt;i&gt;班"), std::string::npos);
  std::string select;
  int class_id = 101, sex = 1;
  GroupNode* group = nullptr;
  ASSERT_EQ(BuildGroupSelect(select, class_id, sex, group), 0);
  EXPECT_NE(select.find("&lt;i&gt;班男子组"), std::string::npos);
}

TEST_F(EntryFormsTest, EditTableOffersWithdrawForOwnEventsAndHidesJoinForFullOnes) {
  Open(AthleteSql(1, "张一", 1, 101, 1, {1101}, 7) + AthleteSql(2, "张二", 1, 101, 1, {1102}) +
       AthleteSql(3, "张三", 1, 101, 1, {1102}));
  DataGuard guard(DataLock);
  std::string table;
  ASSERT_EQ(BuildAthleteEventEditForm(1, table), 1);
  EXPECT_NE(table.find("运动员姓名：<span Class=\"TextChu\">张一</span> 号码：<span Class=\"TextChu\">007</span>"
                       " 性别：<span Class=\"TextChu\">男</span> 班级:<span Class=\"TextChu\">一年级01班</span>"),
            std::string::npos)
      << table;
  EXPECT_NE(table.find("value=\"退赛\" title=\"退出该项比赛\" onClick=\"TuiSanAndCanSai(901,1,1,'100米');\">"
                       "</td><td>100米(已报)</td><td>单项比赛</td>"),
            std::string::npos);
  EXPECT_NE(table.find("style=\"display:none;\" value=\"参加该项比赛\" title=\"加入该项比赛\" "
                       "onClick=\"TuiSanAndCanSai(902,1,2,'跳远');\">单项限报已满</td>"),
            std::string::npos);
  EXPECT_NE(table.find("value=\"参加该比赛\" title=\"加入该项比赛\" onClick=\"TuiSanAndCanSai(905,1,2,"),
            std::string::npos);
  EXPECT_NE(table.find("<tr><td></td><td><label><input type=\"checkbox\" name=\"StBcQn\" value=\"904\""),
            std::string::npos);

  EXPECT_EQ(BuildAthleteEventEditForm(99, table), 0);
  EXPECT_EQ(table, "<img src=\"tip.jpg\" />提示：数据错误，错误号：887021！");
}

TEST_F(EntryFormsTest, GroupSelectOffersOnlyClassesAndSexesWithRoomLeft) {
  std::string sql;
  for (int i = 1; i <= 3; ++i) sql += AthleteSql(i, "男" + std::to_string(i), 1, 101, 1, {});
  Open(sql);
  DataGuard guard(DataLock);
  std::string select;
  int class_id = 101, sex = 1;
  GroupNode* group = nullptr;
  ASSERT_EQ(BuildGroupSelect(select, class_id, sex, group), 0);
  EXPECT_EQ(select.find("value=\"1-101-1-0\""), std::string::npos);
  EXPECT_NE(select.find("<option value=\"1-101-2-0\">一年级01班女子组</option>"), std::string::npos);
  EXPECT_NE(select.find("value=\"2-201-2-0\""), std::string::npos);
  EXPECT_EQ(select.find("value=\"2-201-1-0\""), std::string::npos);
  // The boys of 101 are not offered, so the selection falls back.
  EXPECT_EQ(class_id, 0);
  EXPECT_EQ(sex, 0);
  EXPECT_EQ(group, nullptr);

  class_id = 102;
  sex = 2;
  ASSERT_EQ(BuildGroupSelect(select, class_id, sex, group), 0);
  EXPECT_NE(select.find("value=\"1-102-2-0\" selected>"), std::string::npos);
  ASSERT_NE(group, nullptr);
  EXPECT_EQ(group->Id, 12);

  Model().AthleteList.clear();
  for (GroupNode& g : Model().GroupList) g.AthletesPerClass = 0;
  select.clear();
  EXPECT_EQ(BuildGroupSelect(select, class_id, sex, group), 1);
  EXPECT_TRUE(select.empty());
}

}  // namespace
