// The entry listings by class and by event over loopback, for the
// administrator and for a class teacher.
#include <gtest/gtest.h>

#include "tests/http/server_fixture.h"

namespace korva {

namespace {

class EntryListingsTest : public RegistrationServerTest {
 protected:
  // Class 101: boys 甲 (100米, relay) and 张三 (100米, combined), girl 李四
  // (mixed relay); class 102: boy 王五 (100米); class 201 (girls only):
  // seven girls in 100米, four of them also in the mixed relay.
  void OpenListedMeet() {
    std::string athletes = AthleteSql(1, "甲", 1, 101, 1, {1101, 1105}) + AthleteSql(2, "张三", 1, 101, 1, {1101, 1104}) +
                           AthleteSql(3, "李四", 1, 101, 2, {1206}) + AthleteSql(4, "王五", 1, 102, 1, {1101});
    for (int id = 5; id <= 11; ++id) {
      athletes += id <= 8 ? AthleteSql(id, "女" + std::to_string(id), 2, 201, 2, {2201, 2206})
                          : AthleteSql(id, "女" + std::to_string(id), 2, 201, 2, {2201});
    }
    OpenMeet(athletes);
  }
};



TEST_F(EntryListingsTest, ByClassShowsGroupsAthletesAndTeamsWithoutAnEntrant) {
  OpenListedMeet();
  const std::string page = Get("/ShowBaoMing.html", LoginAdmin()).body;
  for (const char* part : {
           "<img src=\"cs.jpg\" /><strong><font size=\"+2\">一年级01班：</font></strong>领队：王老师&nbsp;&nbsp;&nbsp;&nbsp;"
           "教练：<br /><font color=\"#FF0000\">“女子4x100米接力”无人报名，团队赛至少需要报1人！</font><br />\r\n"
           "<strong>[男子组]</strong><font color=\"#FF0000\">可报3人,已报2人。</font><br />\r\n"
           // A two-byte name is padded; a single event below the limit is open.
           "&nbsp;&nbsp;&nbsp;&nbsp;甲&nbsp;&nbsp;:100米、4x100米接力<font color=\"#FF0000\">(未报满)</font><br />\r\n"
           "&nbsp;&nbsp;&nbsp;&nbsp;张三:100米、五项全能<br />\r\n"
           "<strong>[女子组]</strong><font color=\"#FF0000\">可报3人,已报1人。</font><br />\r\n"
           "&nbsp;&nbsp;&nbsp;&nbsp;李四:男女混合接力<font color=\"#FF0000\">(未报满)</font><br />\r\n"
           "<img src=\"cs.jpg\" /><strong><font size=\"+2\">一年级02班：</font></strong>领队：李老师&nbsp;&nbsp;&nbsp;&nbsp;"
           "教练：<br /><font color=\"#FF0000\">“男子4x100米接力、女子4x100米接力、男女混合接力”无人报名，"
           "团队赛至少需要报1人！</font><br />\r\n",
           // A grade with a girls' group only takes its mixed teams from it.
           "二年级01班：</font></strong>领队：&nbsp;&nbsp;&nbsp;&nbsp;教练：<br />\r\n"
           "<strong>[女子组]</strong>可报3人,已报7人。<br />\r\n"}) {
    EXPECT_TRUE(Has(page, part)) << part;
  }
  EXPECT_FALSE(Has(page, "[男子组]</strong>可报3人,已报0人"));  // grade 2 has no boys' group
}

TEST_F(EntryListingsTest, ByEventListsEachContestWithItsPlacesAndAMixedTeamOnce) {
  OpenListedMeet();
  const std::string page = Get("/ShowBaoMing2.html", LoginAdmin()).body;
  for (const char* part : {
           "1、一年级男子100米(<font color=\"#FF0000\">可报4人,已报3人</font>)<br />\r\n"
           // A four-byte name is padded.
           "一年级01班&nbsp;甲&nbsp;&nbsp;&nbsp;&nbsp;一年级01班&nbsp;张三&nbsp;&nbsp;&nbsp;&nbsp;&nbsp;&nbsp;"
           "一年级02班&nbsp;王五&nbsp;&nbsp;&nbsp;&nbsp;&nbsp;&nbsp;<br /><br />\r\n"
           "2、一年级女子100米(<font color=\"#FF0000\">可报4人,已报0人</font>)<br />\r\n<br /><br />\r\n"
           "3、二年级女子100米(<font color=\"#FF0000\">可报2人,已报7人</font>)<br />\r\n",
           // Six entrants to a line.
           "二年级01班&nbsp;女10&nbsp;&nbsp;&nbsp;&nbsp;&nbsp;&nbsp;<br />\r\n"
           "二年级01班&nbsp;女11&nbsp;&nbsp;&nbsp;&nbsp;&nbsp;&nbsp;<br /><br />\r\n",
           "一年级男子4x100米接力[团队](<font color=\"#FF0000\">可报8人,已报1人</font>)",
           // Boys' and girls' entrants of the mixed relay together, under the girls' contest.
           "一年级男女混合接力[混团](<font color=\"#FF0000\">可报8人,已报1人</font>)<br />\r\n一年级01班&nbsp;李四",
           // As many entrants as places: not red.
           "二年级男女混合接力[混团](可报4人,已报4人)<br />\r\n"}) {
    EXPECT_TRUE(Has(page, part)) << part;
  }
  EXPECT_EQ(CountOf(page, "一年级男女混合接力"), 1u);
  EXPECT_EQ(CountOf(page, "、一年级"), 11u);  // 2 groups x 6 events, the mixed pair once
}

TEST_F(EntryListingsTest, AClassTeacherSeesEveryClassOfHisGradeAndNoOther) {
  OpenListedMeet();
  const SessionCookie teacher = LoginTeacher();
  const std::string by_class = Get("/ShowBaoMing.html", teacher).body;
  for (const char* part : {"一年级01班：", "一年级02班：", "<strong id=\"bjmc\">一年级01班</strong>", "请返回班级首页查看！"}) {
    EXPECT_TRUE(Has(by_class, part)) << part;
  }
  EXPECT_FALSE(Has(by_class, "二年级"));
  const std::string by_event = Get("/ShowBaoMing2.html", teacher).body;
  EXPECT_TRUE(Has(by_event, "1、一年级男子100米("));
  EXPECT_TRUE(Has(by_event, "2、一年级女子100米("));
  EXPECT_TRUE(Has(by_event, "11、一年级男女混合接力[混团]"));
  EXPECT_FALSE(Has(by_event, "二年级"));
}

// An entry whose contest is gone.
TEST_F(EntryListingsTest, ADataErrorGetsTheResultPage) {
  OpenMeet(AthleteSql(1, "甲", 1, 101, 1, {7777}));
  SessionCookie admin = LoginAdmin();
  EXPECT_TRUE(Has(Get("/ShowBaoMing.html", admin).body, "数据有错误，建议管理员重新建立运动会！"));
  EXPECT_TRUE(Has(Get("/ShowBaoMing2.html", admin).body, "一年级男子100米"));
}

}  // namespace

}  // namespace korva
