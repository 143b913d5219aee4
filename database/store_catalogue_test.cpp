#include "database/store_catalogue.h"

#include <gtest/gtest.h>

#include "database/store_test_support.h"
#include "tests/testing/meet_fixture.h"

namespace {

EventNode Combined() {
  EventNode e;
  e.Name = "五项\"全能\"";
  e.BiSaiType = 3;
  e.FZFDType = 2;
  e.PaiXuType = 2;
  e.BingLieType = 2;
  e.JiLuBiaoType = 3;
  e.ChangDi = 1;
  e.Unit = "分";
  e.Parts = {1, 9, 11};
  return e;
}

TEST(SaveEvent, NewEventTakesAnIdFreeInBothFilesAndWritesItsParts) {
  MeetFixture f;
  f.OpenNewMeet();
  // Another meet added event 20 to the base file only.
  ASSERT_TRUE(f.BaseSql("INSERT INTO qrtb55 (qrtb307, qrtb308) VALUES (20, '别的项目');"));
  EventNode e = Combined();
  std::string message;
  ASSERT_EQ(SaveEvent(e, 0, &message), 0);
  EXPECT_EQ(e.Id, 21);
  EXPECT_EQ(message, "[五项\"全能\"]比赛项目已经成功保存！");
  for (std::string table : {"qrtb306", "base.qrtb55"})
    EXPECT_EQ(MeetText("SELECT qrtb308 || qrtb309 || qrtb318 FROM " + table + " WHERE qrtb307 = 21"),
              "五项\"全能\"3分");
  for (std::string table : {"qrtb249", "base.qrtb112"})
    EXPECT_EQ(MeetText("SELECT group_concat(qrtb251) FROM " + table + " WHERE qrtb250 = 21"), "1,9,11");

  e.Name = "四项全能";
  e.Parts = {2, 9};
  ASSERT_EQ(SaveEvent(e, 21, &message), 0);
  for (std::string table : {"qrtb249", "base.qrtb112"})
    EXPECT_EQ(MeetText("SELECT group_concat(qrtb251) FROM " + table + " WHERE qrtb250 = 21"), "2,9");
  EXPECT_EQ(MeetText("SELECT qrtb308 FROM base.qrtb55 WHERE qrtb307 = 21"), "四项全能");
}

TEST(SaveEvent, FailureWritingThePartsUndoesTheWholeSave) {
  MeetFixture f;
  f.OpenNewMeet();
  std::string before = TableDump("qrtb306") + TableDump("base.qrtb55") + TableDump("qrtb249") +
                       TableDump("base.qrtb112");
  FailOn("INSERT", "base.qrtb112", "no_parts");
  EventNode e = Combined();
  std::string message;
  EXPECT_EQ(SaveEvent(e, 0, &message), 1);
  EXPECT_EQ(message, "[五项\"全能\"]比赛项目全能数据写入操作出现错误！错误号：1342");
  EXPECT_EQ(e.Id, 0);
  e.Id = 16;
  EXPECT_EQ(SaveEvent(e, 16, &message), 1);
  EXPECT_EQ(TableDump("qrtb306") + TableDump("base.qrtb55") + TableDump("qrtb249") +
                TableDump("base.qrtb112"),
            before);
}

TEST(DeleteEvent, RemovesTheEventAndItsPartsFromBothFiles) {
  MeetFixture f;
  f.OpenNewMeet();
  EventNode e;
  e.Id = 16;
  e.Name = "三项全能";
  std::string message;
  ASSERT_EQ(DeleteEvent(e, &message), 0);
  EXPECT_EQ(message, "[三项全能]比赛项目已经成功删除！");
  EXPECT_EQ(MeetInt("SELECT COUNT(*) FROM qrtb306 WHERE qrtb307 = 16") +
                MeetInt("SELECT COUNT(*) FROM base.qrtb55 WHERE qrtb307 = 16") +
                MeetInt("SELECT COUNT(*) FROM qrtb249 WHERE qrtb250 = 16") +
                MeetInt("SELECT COUNT(*) FROM base.qrtb112 WHERE qrtb250 = 16"),
            0);
  FailOn("DELETE", "base.qrtb55", "no_delete");
  e.Id = 3;
  EXPECT_EQ(DeleteEvent(e, &message), 1);
  EXPECT_EQ(message, "操作数据库出错！（3）");
  EXPECT_EQ(MeetInt("SELECT COUNT(*) FROM qrtb306 WHERE qrtb307 = 3"), 1);
}

TEST(SaveVenue, TracksKeepTheirLanesInTheMeetFileOnly) {
  MeetFixture f;
  f.OpenNewMeet();
  VenueNode track = Model().VenueList[0];
  ASSERT_EQ(track.Id, 1);
  track.LanesInUse = {};
  track.LanesInUse[0] = 2;
  track.LanesInUse[1] = 3;
  track.LanesInUse[2] = 5;
  track.Size = 3;
  track.Name = "改名";
  ASSERT_EQ(SaveVenue(track, 1), 0);
  EXPECT_EQ(MeetText("SELECT qrtb125 || '/' || qrtb133 || '/' || qrtb126 FROM qrtb292 WHERE qrtb124 = 1"),
            "3/2 3 5 /直线跑道");
  EXPECT_EQ(MeetText("SELECT qrtb125 || '/' || qrtb133 FROM base.qrtb123 WHERE qrtb124 = 1"),
            "8/1 2 3 4 5 6 7 8 ");
}

TEST(SaveVenue, NewAndEditedVenuesReachBothFilesAndTheList) {
  MeetFixture f;
  f.OpenNewMeet();
  std::size_t listed = Model().VenueList.size();
  VenueNode v;
  v.Name = "铅球<场地>";
  v.Size = 10;
  v.Unit = "人";
  v.Description = "新";
  ASSERT_EQ(SaveVenue(v, 0), 0);
  EXPECT_EQ(v.Id, 8);
  ASSERT_EQ(Model().VenueList.size(), listed + 1);
  EXPECT_EQ(Model().VenueList.back().Id, 8);
  EXPECT_EQ(Model().VenueList.back().LanesInUse[49], 50);
  for (std::string table : {"qrtb292", "base.qrtb123"})
    EXPECT_EQ(MeetText("SELECT qrtb126 || qrtb125 FROM " + table + " WHERE qrtb124 = 8"), "铅球<场地>10");

  v.Size = 12;
  v.Name = "铅球场地";
  ASSERT_EQ(SaveVenue(v, 8), 0);
  EXPECT_EQ(MeetText("SELECT qrtb126 || qrtb125 FROM base.qrtb123 WHERE qrtb124 = 8"), "铅球场地12");

  FailOn("INSERT", "base.qrtb123", "no_venue");
  VenueNode w = v;
  EXPECT_EQ(SaveVenue(w, 0), 1);
  EXPECT_EQ(Model().VenueList.size(), listed + 1);
  EXPECT_EQ(MeetInt("SELECT COUNT(*) FROM qrtb292"), static_cast<int>(listed + 1));
}

TEST(DeleteVenue, RemovesItFromBothFilesAndTheList) {
  MeetFixture f;
  f.OpenNewMeet();
  VenueNode v = Model().VenueList.back();
  std::string message;
  FailOn("DELETE", "base.qrtb123", "no_delete");
  EXPECT_EQ(DeleteVenue(v, &message), 1);
  EXPECT_EQ(message, "[" + v.Name + "]比赛场地删除时出现数据库操作错误！");
  EXPECT_EQ(Model().VenueList.back().Id, v.Id);
  EXPECT_EQ(MeetInt("SELECT COUNT(*) FROM qrtb292 WHERE qrtb124 = " + std::to_string(v.Id)), 1);
  {
    DataGuard hold(DataLock);
    MeetConnection().ExecScript("DROP TRIGGER no_delete");
  }
  ASSERT_EQ(DeleteVenue(v, &message), 0);
  EXPECT_EQ(message, "[" + v.Name + "]比赛场地已删除！");
  EXPECT_NE(Model().VenueList.back().Id, v.Id);
  EXPECT_EQ(MeetInt("SELECT COUNT(*) FROM base.qrtb123 WHERE qrtb124 = " + std::to_string(v.Id)), 0);
}

TEST(ScoringSchemes, SaveAndDeleteInBothFiles) {
  MeetFixture f;
  f.OpenNewMeet();
  ScoringSchemeNode s;
  s.Name = "前三名";
  s.PlacesScored = 3;
  s.Points[0] = 5;
  s.Points[1] = 3;
  s.Points[2] = 1;
  s.Points[19] = 7;
  std::string message;
  ASSERT_EQ(SaveScoringScheme(s, &message), 0);
  EXPECT_EQ(s.Id, 3);
  for (std::string table : {"qrtb260", "base.qrtb80"})
    EXPECT_EQ(MeetText("SELECT qrtb82 || qrtb83 || qrtb84 || qrtb86 || qrtb87 || qrtb103 FROM " + table +
                       " WHERE qrtb81 = 3"),
              "前三名35107");
  s.Name = "前三";
  ASSERT_EQ(SaveScoringScheme(s, &message), 0);
  EXPECT_EQ(MeetText("SELECT qrtb82 FROM base.qrtb80 WHERE qrtb81 = 3"), "前三");

  FailOn("DELETE", "base.qrtb80", "no_delete");
  EXPECT_EQ(DeleteScoringScheme(3, &message), 1);
  EXPECT_EQ(message, "数据库操作出错[223]！");
  EXPECT_EQ(MeetInt("SELECT COUNT(*) FROM qrtb260 WHERE qrtb81 = 3"), 1);
  FailOn("DELETE", "qrtb260", "no_meet_delete");
  EXPECT_EQ(DeleteScoringScheme(3, &message), 1);
  EXPECT_EQ(message, "数据库操作出错！");
  {
    DataGuard hold(DataLock);
    MeetConnection().ExecScript("DROP TRIGGER no_delete; DROP TRIGGER no_meet_delete;");
  }
  ASSERT_EQ(DeleteScoringScheme(3, &message), 0);
  EXPECT_EQ(MeetInt("SELECT COUNT(*) FROM qrtb260 WHERE qrtb81 = 3") +
                MeetInt("SELECT COUNT(*) FROM base.qrtb80 WHERE qrtb81 = 3"),
            0);
}

}  // namespace
