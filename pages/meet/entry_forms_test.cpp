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
  EXPECT_TRUE(Has(full, "<input type=\"checkbox\" id=\"disableBC\" value=\"901\" disabled=\"disabled\" "
                        "onClick=\"JianCha(this)\" /><span id=\"DxBcName901\" class=\"ShanChuXian\">100米</span>"
                        "<span class=\"LanDiBaiZi\">(满)</span></label></td><td>单项比赛</td>"
                        "<td>本班：张一&nbsp;张二&nbsp;,其他班已报0人；"))
      << full;
  EXPECT_TRUE(Has(RowOf(form, 902), "name=\"StBcDx\" value=\"902\" onClick=\"JianCha(this)\" /><span "
                                    "id=\"DxBcName902\" class=\"NoShanChuXian\">"));
  // 张二's own events stay checked and enabled; at his limit of two single
  // events the others are disabled but keep their name, without (满).
  std::string edit = AddForm(1, 2);
  EXPECT_TRUE(Has(RowOf(edit, 901), "name=\"StBcDx\" value=\"901\" checked=\"checked\" onClick"));
  std::string shot = RowOf(edit, 903);
  EXPECT_TRUE(Has(shot, "name=\"StBcDx\" value=\"903\" disabled=\"disabled\""));
  EXPECT_FALSE(Has(shot, "(满)"));
  EXPECT_TRUE(Has(edit, "value=\"张二\" /><input type=\"hidden\" name=\"stid\" id=\"stid\" value=\"2\" />"));
}

TEST_F(EntryFormsTest, TeamTakesItsSizeAndMixedTeamHalfOfItFromEachSex) {
  std::string sql = "UPDATE qrtb373 SET qrtb377 = 8;\n";
  for (int i = 1; i <= 3; ++i) sql += AthleteSql(i, "男" + std::to_string(i), 1, 101, 1, {1105});
  sql += AthleteSql(10, "男甲", 1, 101, 1, {1106}) + AthleteSql(11, "男乙", 1, 101, 1, {1106}) +
         AthleteSql(20, "女甲", 1, 101, 2, {1206});
  Open(sql);
  EXPECT_TRUE(Has(RowOf(AddForm(1), 905), "name=\"StBcTd\" id=\"StBcTd\" value=\"905\" /><span class=\"NoShanChuXian\">"));
  EXPECT_TRUE(Has(RowOf(AddForm(1), 906), "name=\"StBcHt\" id=\"StBcHt\" value=\"906\" disabled=\"disabled\" />"
                                          "<span class=\"ShanChuXian\">男女混合接力</span></label></td><td>男女混合团队赛</td>"));
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
  EXPECT_TRUE(Has(AddForm(1), "<p><img src=\"tip.jpg\" />当前竞赛组<strong>单项</strong>每人限报2项，全能限报2项，"
                              "每项限报2人，每组限报3人；团队赛至少报一人，实际参赛人数按竞赛规则。</p>"));
  std::string girls = AddForm(2);
  EXPECT_TRUE(Has(girls, "当前竞赛组<strong>单项</strong>每人限报2项，每项限报2人，每组限报3人。"
                         "团队赛至少报一人，实际参赛人数按竞赛规则。"));
  EXPECT_TRUE(Has(girls, "name=\"QNXBNUM\" id=\"QNXBNUM\" value=\"2\""));
}

TEST_F(EntryFormsTest, EditTableOffersWithdrawForOwnEventsAndHidesJoinForFullOnes) {
  Open(AthleteSql(1, "张一", 1, 101, 1, {1101}, 7) + AthleteSql(2, "张二", 1, 101, 1, {1102}) +
       AthleteSql(3, "张三", 1, 101, 1, {1102}));
  std::string table = EditTable(1);
  EXPECT_TRUE(Has(table, "运动员姓名：<span Class=\"TextChu\">张一</span> 号码：<span Class=\"TextChu\">007</span>"
                         " 性别：<span Class=\"TextChu\">男</span> 班级:<span Class=\"TextChu\">一年级01班</span>\r\n"))
      << table;
  EXPECT_TRUE(Has(table, "<tr><td align=\"center\"><input type=\"button\"  value=\"退赛\" title=\"退出该项比赛\" "
                         "onClick=\"TuiSanAndCanSai(901,1,1,'100米');\"></td><td>100米(已报)</td><td>单项比赛</td>"));
  EXPECT_TRUE(Has(table, "style=\"display:none;\" value=\"参加该项比赛\" title=\"加入该项比赛\" "
                         "onClick=\"TuiSanAndCanSai(902,1,2,'跳远');\">单项限报已满</td>"));
  EXPECT_TRUE(Has(table, "value=\"参加该比赛\" title=\"加入该项比赛\" onClick=\"TuiSanAndCanSai(905,1,2,"));
  EXPECT_TRUE(Has(table, "<tr><td></td><td><label><input type=\"checkbox\" name=\"StBcQn\" value=\"904\""));
  EXPECT_EQ(EditTable(99, 0), "<img src=\"tip.jpg\" />提示：数据错误，错误号：887021！");
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
  EXPECT_FALSE(Has(select, "value=\"1-101-1-0\""));
  EXPECT_TRUE(Has(select, "<option value=\"1-101-2-0\">一年级01班女子组</option>\r\n"));
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

// The enrol forms are in the rendered pages' sweep; these are the
// administrator's.
TEST_F(EntryFormsTest, NamesAreEscapedInTheAdministratorsForms) {
  Open(AthleteSql(1, "<xmp>", 1, 101, 1, {1101}) + "UPDATE qrtb306 SET qrtb308 = '<b>跑' WHERE qrtb307 = 902;" +
       "UPDATE qrtb234 SET qrtb238 = '<i>班' WHERE qrtb235 = 101;");
  std::string table = EditTable(1);
  EXPECT_FALSE(Has(table, "<xmp>") || Has(table, "<b>"));
  EXPECT_TRUE(Has(table, "'\\x3Cb\\x3E跑'"));
  EXPECT_TRUE(Has(table, "&lt;i&gt;班"));
  DataGuard guard(DataLock);
  std::string select;
  int class_id = 101, sex = 1;
  GroupNode* group = nullptr;
  BuildGroupSelect(select, class_id, sex, group);
  EXPECT_TRUE(Has(select, "&lt;i&gt;班男子组"));
}

}  // namespace

}  // namespace korva
