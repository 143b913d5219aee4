#include "database/store_records.h"

#include <gtest/gtest.h>

#include "database/data_error.h"
#include "database/loaders.h"
#include "database/store_documents.h"
#include "database/store_test_support.h"
#include "tests/testing/meet_fixture.h"

namespace {

ScoreUpload Upload() {
  ScoreUpload u;
  u.GroupName = "一年级";
  u.GroupSex = 2;
  u.EventName = "跳远";
  u.EventType = 2;
  u.TeamType = 1;
  u.RecordValue2 = 11;
  u.RecordValue3 = kNoResult;
  u.Value = 3150;
  u.RoundKind = 3;
  u.UnitText = "米";
  return u;
}

TEST(Records, InsertedRecordsReadBackAsTheyWereKept) {
  MeetFixture f;
  f.OpenNewMeet();
  LaneNode lane;
  lane.Result = 3200;
  int id = InsertRecord(lane, "王'芳", "101班", "2024年5月20日", Upload());
  ASSERT_GT(id, 0);
  int typed = InsertRecordEmpty(Upload());
  EXPECT_EQ(typed, id + 1);
  {
    DataGuard hold(DataLock);
    ASSERT_EQ(LoadRecords(), 0);
  }
  ASSERT_EQ(Model().RecordList.size(), 2u);
  const RecordNode& t = Model().RecordList[0];
  EXPECT_EQ(t.Id, typed);
  EXPECT_EQ(t.Value, 3150);
  EXPECT_EQ(t.Value2, kNoResult);
  EXPECT_EQ(t.Value3, kNoResult);
  EXPECT_EQ(t.HolderName + t.MeetName + t.DateText, "");
  const RecordNode& r = Model().RecordList[1];
  EXPECT_EQ(r.Value, 3200);
  EXPECT_EQ(r.Value2, 11);
  EXPECT_EQ(r.Value3, kNoResult);
  EXPECT_EQ(r.InsertFlag, 1);
  EXPECT_EQ(r.HolderName, "王'芳");
  EXPECT_EQ(r.ClassName, "101班");
  EXPECT_EQ(r.MeetName, FixtureMeetSettings{}.Name);
  EXPECT_EQ(r.GroupName + r.EventName + r.UnitText, "一年级跳远米");
  EXPECT_EQ(r.Sex * 1000 + r.EventType * 100 + r.TeamType * 10 + r.RoundKind, 2213);

  ASSERT_EQ(UpdateRecordFlags(r, 3300, 2), 0);
  EXPECT_EQ(BaseInt("SELECT qrtb196 * 10 + qrtb210 FROM qrtb188 WHERE qrtb189 = " + std::to_string(id)),
            33002);
  ASSERT_EQ(DeleteRecord(typed), 0);
  EXPECT_EQ(BaseInt("SELECT COUNT(*) FROM qrtb188"), 1);

  FailOn("DELETE", "base.qrtb188", "no_delete");
  EXPECT_EQ(DeleteRecord(id), 1);
  EXPECT_EQ(LastDataErrorCode(), 179);
  EXPECT_EQ(BaseInt("SELECT COUNT(*) FROM qrtb188"), 1);
}

TEST(RecordOrderBookFile, InsertsOnceThenUpdatesTheSameDocument) {
  MeetFixture f;
  f.OpenNewMeet();
  std::tm tm{};
  tm.tm_year = 124;
  tm.tm_mon = 4;
  tm.tm_mday = 20;
  tm.tm_hour = 9;
  tm.tm_min = 5;
  tm.tm_isdst = -1;
  std::time_t when = std::mktime(&tm);
  ASSERT_EQ(RecordOrderBookFile("秩序册(52095).doc", when), 0);
  ASSERT_EQ(Model().DocumentList.size(), 1u);
  EXPECT_EQ(Model().DocumentList[0].TimeText, "5月20日9时5分");
  EXPECT_EQ(MeetText("SELECT qrtb523 || qrtb522 || qrtb521 FROM qrtb518 WHERE qrtb520 = 1"),
            "秩序册(52095).doc5月20日9时5分0");

  Model().DocumentList[0].Downloads = 4;
  ASSERT_EQ(RecordOrderBookFile("秩序册(52096).doc", when + 60), 0);
  ASSERT_EQ(Model().DocumentList.size(), 1u);
  EXPECT_EQ(Model().DocumentList[0].Downloads, 0);
  EXPECT_EQ(Model().DocumentList[0].FilePath, "秩序册(52096).doc");
  EXPECT_EQ(MeetInt("SELECT COUNT(*) FROM qrtb518"), 1);
  EXPECT_EQ(MeetText("SELECT qrtb522 FROM qrtb518"), "5月20日9时6分");

  FailOn("UPDATE", "qrtb518", "no_update");
  EXPECT_EQ(RecordOrderBookFile("x.doc", when), 1);
  EXPECT_EQ(LastDataErrorCode(), 422420);
  EXPECT_EQ(Model().DocumentList[0].FilePath, "秩序册(52096).doc");
}

}  // namespace
