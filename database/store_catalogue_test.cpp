#include "database/store_catalogue.h"

#include <gtest/gtest.h>

#include <tuple>

#include "database/store_test_support.h"
#include "tests/testing/meet_fixture.h"

namespace korva {

namespace {

class Catalogue : public ::testing::Test {
 protected:
  void SetUp() override { fixture_.OpenNewMeet(); }
  MeetFixture fixture_;
};

EventNode Combined() {
  return EventNode{.Name = "五项\"全能\"", .BiSaiType = 3, .FZFDType = 2, .JiLuBiaoType = 3,
                   .PaiXuType = 2, .BingLieType = 2, .Unit = "分", .ChangDi = 1, .Parts = {1, 9, 11}};
}

// A query's first row in the meet file and in the base file, side by side.
std::string BothFiles(const std::string& columns, const std::string& meet_table,
                      const std::string& base_table, const std::string& where) {
  return MeetText("SELECT " + columns + " FROM " + meet_table + " WHERE " + where) + " / " +
         MeetText("SELECT " + columns + " FROM base." + base_table + " WHERE " + where);
}

TEST_F(Catalogue, ANewEventTakesAnIdFreeInBothFilesWithItsParts) {
  // Another meet added event 20 to the base file only.
  ASSERT_TRUE(fixture_.BaseSql("INSERT INTO qrtb55 (qrtb307, qrtb308) VALUES (20, '别的项目');"));
  EventNode e = Combined();
  std::string message;
  ASSERT_EQ(SaveEvent(e, 0, &message), 0);
  EXPECT_EQ(e.Id, 21);
  EXPECT_EQ(message, "[五项\"全能\"]比赛项目已经成功保存！");
  EXPECT_EQ(BothFiles("qrtb308, qrtb309, qrtb318", "qrtb306", "qrtb55", "qrtb307 = 21"),
            "五项\"全能\"|3|分 / 五项\"全能\"|3|分");
  EXPECT_EQ(BothFiles("group_concat(qrtb251)", "qrtb249", "qrtb112", "qrtb250 = 21"), "1,9,11 / 1,9,11");

  e.Name = "四项全能";
  e.Parts = {2, 9};
  ASSERT_EQ(SaveEvent(e, 21, &message), 0);
  EXPECT_EQ(BothFiles("group_concat(qrtb251)", "qrtb249", "qrtb112", "qrtb250 = 21"), "2,9 / 2,9");
  EXPECT_EQ(BothFiles("qrtb308", "qrtb306", "qrtb55", "qrtb307 = 21"), "四项全能 / 四项全能");
}

TEST_F(Catalogue, AFailedEventSaveUndoesTheWholeSave) {
  std::string before = Dump({"qrtb306", "base.qrtb55", "qrtb249", "base.qrtb112"});
  FailOn("INSERT", "base.qrtb112", "no_parts");
  EventNode e = Combined();
  std::string message;
  EXPECT_EQ(SaveEvent(e, 0, &message), 1);
  EXPECT_EQ(message, "[五项\"全能\"]比赛项目全能数据写入操作出现错误！错误号：1342");
  EXPECT_EQ(e.Id, 0);
  EXPECT_EQ(SaveEvent(e, 16, &message), 1);
  EXPECT_EQ(Dump({"qrtb306", "base.qrtb55", "qrtb249", "base.qrtb112"}), before);
}

TEST_F(Catalogue, DeletingAnEventRemovesItAndItsPartsFromBothFiles) {
  EventNode e{.Id = 16, .Name = "三项全能"};
  std::string message;
  ASSERT_EQ(DeleteEvent(e, &message), 0);
  EXPECT_EQ(message, "[三项全能]比赛项目已经成功删除！");
  EXPECT_EQ(BothFiles("COUNT(*)", "qrtb306", "qrtb55", "qrtb307 = 16") + " " +
                BothFiles("COUNT(*)", "qrtb249", "qrtb112", "qrtb250 = 16"),
            "0 / 0 0 / 0");
  // A part event leaves the combined events that listed it.
  ASSERT_TRUE(fixture_.MeetSql(Model().CurrentMeetId, "INSERT INTO qrtb249 VALUES (17, 9), (17, 2);") &&
              fixture_.BaseSql("INSERT INTO qrtb112 VALUES (17, 9), (17, 2);"));
  EventNode part{.Id = 9, .Name = "跳远"};
  ASSERT_EQ(DeleteEvent(part, &message), 0);
  EXPECT_EQ(BothFiles("group_concat(qrtb250 || ':' || qrtb251)", "qrtb249", "qrtb112", "1"), "17:2 / 17:2");
  FailOn("DELETE", "base.qrtb55", "no_delete");
  e.Id = 3;
  EXPECT_EQ(DeleteEvent(e, &message), 1);
  EXPECT_EQ(message, "操作数据库出错！（3）");
  EXPECT_EQ(MeetInt("SELECT COUNT(*) FROM qrtb306 WHERE qrtb307 = 3"), 1);
}

TEST_F(Catalogue, SwappedEventsKeepTheirIdsAndCombinedEventsFollowTheirParts) {
  // 60米 (2) and 100米 (3) change places; 三项全能 lists 60米 as a part.
  ASSERT_TRUE(fixture_.BaseSql("DELETE FROM qrtb55 WHERE qrtb307 = 3;"));  // a base file that lacks one
  ASSERT_EQ(SwapEventIds(2, 3), 0);
  EXPECT_EQ(BothFiles("group_concat(qrtb307 || qrtb308)", "qrtb306", "qrtb55", "qrtb307 IN (2, 3)"),
            "2100米,360米 / 360米");
  EXPECT_EQ(BothFiles("group_concat(qrtb251)", "qrtb249", "qrtb112", "qrtb250 = 16"), "3,9,11 / 3,9,11");
  // A combined event swapped with its own part keeps listing that part.
  ASSERT_EQ(SwapEventIds(16, 3), 0);
  EXPECT_EQ(BothFiles("qrtb308", "qrtb306", "qrtb55", "qrtb307 = 3"), "三项全能 / 三项全能");
  EXPECT_EQ(BothFiles("group_concat(qrtb251)", "qrtb249", "qrtb112", "qrtb250 = 3"), "16,9,11 / 16,9,11");
  EXPECT_EQ(BothFiles("qrtb308", "qrtb306", "qrtb55", "qrtb307 = 16"), "60米 / 60米");

  std::string before = Dump({"qrtb306", "base.qrtb55", "qrtb249", "base.qrtb112"});
  FailOn("UPDATE", "base.qrtb112", "no_parts");
  EXPECT_EQ(SwapEventIds(3, 4), 1);
  EXPECT_EQ(Dump({"qrtb306", "base.qrtb55", "qrtb249", "base.qrtb112"}), before);
}

TEST_F(Catalogue, VenuesReachBothFilesAndTheListButTrackLanesOnlyTheMeetFile) {
  VenueNode track = Model().VenueList[0];
  track.LanesInUse = {2, 3, 5};
  track.Size = 3;
  track.Name = "改名";
  ASSERT_EQ(SaveVenue(track, 1), 0);
  EXPECT_EQ(BothFiles("qrtb125, qrtb133, qrtb126", "qrtb292", "qrtb123", "qrtb124 = 1"),
            "3|2 3 5 |直线跑道 / 8|1 2 3 4 5 6 7 8 |直线跑道");

  std::size_t listed = Model().VenueList.size();
  VenueNode v{.Name = "铅球<场地>", .Size = 10, .Unit = "人", .Description = "新"};
  ASSERT_EQ(SaveVenue(v, 0), 0);
  EXPECT_EQ(v.Id, 8);
  EXPECT_EQ(std::make_tuple(Model().VenueList.size(), Model().VenueList.back().Id,
                            Model().VenueList.back().LanesInUse[49]),
            std::make_tuple(listed + 1, 8, 50));
  EXPECT_EQ(BothFiles("qrtb126, qrtb125", "qrtb292", "qrtb123", "qrtb124 = 8"), "铅球<场地>|10 / 铅球<场地>|10");
  v.Size = 12;
  v.Name = "铅球场地";
  ASSERT_EQ(SaveVenue(v, 8), 0);
  EXPECT_EQ(BothFiles("qrtb126, qrtb125", "qrtb292", "qrtb123", "qrtb124 = 8"), "铅球场地|12 / 铅球场地|12");

  FailOn("INSERT", "base.qrtb123", "no_venue");
  FailOn("DELETE", "base.qrtb123", "no_delete");
  VenueNode w = v;
  EXPECT_EQ(SaveVenue(w, 0), 1);
  std::string message;
  EXPECT_EQ(DeleteVenue(v, &message), 1);
  EXPECT_EQ(message, "[铅球场地]比赛场地删除时出现数据库操作错误！");
  EXPECT_EQ(Model().VenueList.size(), listed + 1);
  EXPECT_EQ(BothFiles("COUNT(*)", "qrtb292", "qrtb123", "qrtb124 >= 8"), "1 / 1");
  DropTrigger("no_delete");
  ASSERT_EQ(DeleteVenue(v, &message), 0);
  EXPECT_EQ(message, "[铅球场地]比赛场地已删除！");
  EXPECT_EQ(Model().VenueList.size(), listed);
  EXPECT_EQ(BothFiles("COUNT(*)", "qrtb292", "qrtb123", "qrtb124 = 8"), "0 / 0");
}

TEST_F(Catalogue, SchemesAreSavedAndDeletedInBothFilesOrNeither) {
  ScoringSchemeNode s{.Name = "前三名", .PlacesScored = 3, .Points = {5, 3, 1}};
  s.Points[19] = 7;
  std::string message;
  ASSERT_EQ(SaveScoringScheme(s, &message), 0);
  EXPECT_EQ(s.Id, 3);
  EXPECT_EQ(BothFiles("qrtb82, qrtb83, qrtb84, qrtb86, qrtb87, qrtb103", "qrtb260", "qrtb80", "qrtb81 = 3"),
            "前三名|3|5|1|0|7 / 前三名|3|5|1|0|7");
  s.Name = "前三";
  ASSERT_EQ(SaveScoringScheme(s, &message), 0);
  EXPECT_EQ(BothFiles("qrtb82", "qrtb260", "qrtb80", "qrtb81 = 3"), "前三 / 前三");

  FailOn("DELETE", "base.qrtb80", "no_delete");
  EXPECT_EQ(DeleteScoringScheme(3, &message), 1);
  EXPECT_EQ(message, "数据库操作出错[223]！");
  FailOn("DELETE", "qrtb260", "no_meet_delete");
  EXPECT_EQ(DeleteScoringScheme(3, &message), 1);
  EXPECT_EQ(message, "数据库操作出错！");
  EXPECT_EQ(BothFiles("COUNT(*)", "qrtb260", "qrtb80", "qrtb81 = 3"), "1 / 1");
  DropTrigger("no_delete");
  DropTrigger("no_meet_delete");
  ASSERT_EQ(DeleteScoringScheme(3, &message), 0);
  EXPECT_EQ(BothFiles("COUNT(*)", "qrtb260", "qrtb80", "qrtb81 = 3"), "0 / 0");
}

}  // namespace

}  // namespace korva
