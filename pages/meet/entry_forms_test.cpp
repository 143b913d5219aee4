#include "pages/meet/entry_forms.h"

#include <gtest/gtest.h>

#include <string>

#include "database/data_lock.h"
#include "database/lookups.h"
#include "tests/testing/registration_meet.h"
#include "tests/testing/text_count.h"

namespace korva {

namespace {

// The table row of an event (its check box carries value="<event id>").
std::string RowOf(const std::string& form, int event_id) {
  std::size_t at = form.find("value=\"" + std::to_string(event_id) + "\"");
  if (at == std::string::npos) return {};
  std::size_t start = form.rfind("<tr>", at);
  return form.substr(start, form.find("</tr>", at) - start);
}

class EntryFormsTest : public ::testing::Test {
 protected:
  void Open(const std::string& extra_sql = {}) { OpenRegistrationMeet(fixture_, extra_sql); }

  std::string AddForm(int sex, int athlete_id = 0, int class_id = 101) {
    DataGuard guard(DataLock);
    LoginNode teacher;
    teacher.Role = kRoleClassTeacher;
    std::string form;
    BuildAthleteEventForm(teacher, form, *FindGroupByGradeAndSex(1, sex), class_id, sex, athlete_id);
    return form;
  }

  std::string EditTable(int athlete_id, int expected = 1) {
    DataGuard guard(DataLock);
    std::string table;
    EXPECT_EQ(BuildAthleteEventEditForm(athlete_id, table), expected);
    return table;
  }

  MeetFixture fixture_;
};

TEST_F(EntryFormsTest, IndividualEventsFollowTheirLimits) {
  Open(AthleteSql(1, "张一", 1, 101, 1, {1101}) + AthleteSql(2, "张二", 1, 101, 1, {1101, 1102}));
  // 100米 has its two entrants: struck, disabled, unnamed and marked full.
  std::string form = AddForm(1);
  std::string full = RowOf(form, 901);
  for (const char* part : {"id=\"disableBC\" value=\"901\" disabled=\"disabled\"", "class=\"ShanChuXian\">100米",
                           "(满)", "本班：张一&nbsp;张二&nbsp;,其他班已报0人；"})
    EXPECT_TRUE(Has(full, part)) << part;
  EXPECT_TRUE(Has(RowOf(form, 902), "name=\"StBcDx\" value=\"902\" onClick=\"JianCha(this)\" /><span "
                                    "id=\"DxBcName902\" class=\"NoShanChuXian\">"));
  // 张二's own events stay checked and enabled; at his limit of two single
  // events the others are disabled but keep their name, without (满).
  std::string edit = AddForm(1, 2);
  EXPECT_TRUE(Has(RowOf(edit, 901), "value=\"901\" checked=\"checked\" onClick"));
  std::string shot = RowOf(edit, 903);
  EXPECT_TRUE(Has(shot, "value=\"903\" disabled=\"disabled\""));
  EXPECT_FALSE(Has(shot, "(满)"));
  EXPECT_TRUE(Has(edit, "value=\"张二\" /><input type=\"hidden\" name=\"stid\" id=\"stid\" value=\"2\" />"));
}

TEST_F(EntryFormsTest, TeamTakesItsSizeAndMixedTeamHalfOfItFromEachSex) {
  std::string sql = "UPDATE qrtb373 SET qrtb377 = 8;\n";
  for (int i = 1; i <= 3; ++i) sql += AthleteSql(i, "男" + std::to_string(i), 1, 101, 1, {1105});
  sql += AthleteSql(10, "男甲", 1, 101, 1, {1106}) + AthleteSql(11, "男乙", 1, 101, 1, {1106}) +
         AthleteSql(20, "女甲", 1, 101, 2, {1206});
  Open(sql);
  EXPECT_FALSE(Has(RowOf(AddForm(1), 905), "disabled"));
  EXPECT_TRUE(Has(RowOf(AddForm(1), 906), "value=\"906\" disabled=\"disabled\" /><span class=\"ShanChuXian\">"));
  EXPECT_FALSE(Has(RowOf(AddForm(2), 906), "disabled"));
  Open(sql + AthleteSql(4, "男4", 1, 101, 1, {1105}));
  EXPECT_TRUE(Has(RowOf(AddForm(1), 905), "disabled=\"disabled\""));
}

TEST_F(EntryFormsTest, FullGroupRefusesANewAthleteButEditsOne) {
  Open(AthleteSql(1, "张一", 1, 101, 1, {}) + AthleteSql(2, "张二", 1, 101, 1, {}) +
       AthleteSql(3, "张三", 1, 101, 1, {}));
  EXPECT_EQ(AddForm(1), "该竞赛组最多限报3,当前已报3人,不能再添加运动员!");
  EXPECT_TRUE(Has(AddForm(1, 3), "name=\"stname\""));
  // Another class's athlete is never edited through this class's form.
  EXPECT_FALSE(Has(AddForm(1, 3, 102), "张三"));
}

TEST_F(EntryFormsTest, LimitsLineNamesTheCombinedLimitOnlyWithACombinedEvent) {
  Open("DELETE FROM qrtb467 WHERE qrtb469 = 12 AND qrtb470 = 904;");
  EXPECT_TRUE(Has(AddForm(1), "<strong>单项</strong>每人限报2项，全能限报2项，每项限报2人，每组限报3人；"));
  std::string girls = AddForm(2);
  EXPECT_TRUE(Has(girls, "<strong>单项</strong>每人限报2项，每项限报2人，每组限报3人。"));
  EXPECT_TRUE(Has(girls, "name=\"QNXBNUM\" id=\"QNXBNUM\" value=\"2\""));
}

TEST_F(EntryFormsTest, GroupSelectOffersOnlyClassesAndSexesWithRoomLeft) {
  std::string sql;
  for (int i = 1; i <= 3; ++i) sql += AthleteSql(i, "男" + std::to_string(i), 1, 101, 1, {});
  Open(sql + "UPDATE qrtb234 SET qrtb238 = '<i>班' WHERE qrtb235 = 101;");
  DataGuard guard(DataLock);
  std::string select;
  int class_id = 101, sex = 1;
  GroupNode* group = nullptr;
  ASSERT_EQ(BuildGroupSelect(select, class_id, sex, group), 0);
  EXPECT_FALSE(Has(select, "value=\"1-101-1-0\""));
  EXPECT_TRUE(Has(select, "<option value=\"1-101-2-0\">&lt;i&gt;班女子组</option>\r\n"));
  EXPECT_TRUE(Has(select, "value=\"2-201-2-0\""));
  EXPECT_FALSE(Has(select, "value=\"2-201-1-0\""));
  // The boys of 101 are not offered, so the selection falls back.
  EXPECT_EQ(class_id + sex, 0);
  EXPECT_EQ(group, nullptr);

  class_id = 102;
  sex = 2;
  ASSERT_EQ(BuildGroupSelect(select, class_id, sex, group), 0);
  EXPECT_TRUE(Has(select, "value=\"1-102-2-0\" selected>"));
  ASSERT_NE(group, nullptr);
  EXPECT_EQ(group->Id, 12);

  for (GroupNode& g : Model().GroupList) g.AthletesPerClass = 0;
  select.clear();
  EXPECT_EQ(BuildGroupSelect(select, class_id, sex, group), 1);
  EXPECT_TRUE(select.empty());
}

// The administrator's edit table; names in it are escaped for the page and
// for the script (the enrol forms are in the rendered pages' sweep).
TEST_F(EntryFormsTest, EditTableOffersWithdrawForOwnEventsAndHidesJoinForFullOnes) {
  Open(AthleteSql(1, "<xmp>", 1, 101, 1, {1101}, 7) + AthleteSql(2, "张二", 1, 101, 1, {1102}) +
       AthleteSql(3, "张三", 1, 101, 1, {1102}) + "UPDATE qrtb306 SET qrtb308 = '<b>跑' WHERE qrtb307 = 903;" +
       "UPDATE qrtb234 SET qrtb238 = '<i>班' WHERE qrtb235 = 101;");
  std::string table = EditTable(1);
  for (const char* part : {"运动员姓名：<span Class=\"TextChu\">&lt;xmp&gt;</span> 号码：<span Class=\"TextChu\">007</span>",
                           "&lt;i&gt;班", "onClick=\"TuiSanAndCanSai(901,1,1,'100米');\"></td><td>100米(已报)</td>",
                           "style=\"display:none;\" value=\"参加该项比赛\" title=\"加入该项比赛\" "
                           "onClick=\"TuiSanAndCanSai(902,1,2,'跳远');\">单项限报已满</td>",
                           "'\\x3Cb\\x3E跑'", "onClick=\"TuiSanAndCanSai(905,1,2,",
                           "<tr><td></td><td><label><input type=\"checkbox\" name=\"StBcQn\" value=\"904\""})
    EXPECT_TRUE(Has(table, part)) << part;
  EXPECT_FALSE(Has(table, "<xmp>") || Has(table, "<b>"));
  EXPECT_EQ(EditTable(99, 0), "<img src=\"tip.jpg\" />提示：数据错误，错误号：887021！");
}

}  // namespace

}  // namespace korva
