#include "database/store_records.h"

#include <gtest/gtest.h>

#include <tuple>

#include "database/data_error.h"
#include "database/loaders.h"
#include "database/store_documents.h"
#include "database/store_test_support.h"
#include "tests/testing/meet_fixture.h"

namespace korva {

namespace {

TEST(Records, InsertedRecordsReadBackAsTheyWereKept) {
  MeetFixture f;
  f.OpenNewMeet();
  RecordNode set{.Sex = 2, .EventName = "跳远", .GroupName = "一年级", .MeetName = FixtureMeetSettings{}.Name,
                 .RoundKind = 3, .EventType = 2, .TeamType = 1, .Value = 3200, .Value2 = 11,
                 .HolderName = "王'芳", .ClassName = "101班", .DateText = "2024年5月20日", .UnitText = "米"};
  int id = InsertRecord(set);
  ASSERT_GT(id, 0);
  int typed = InsertRecord(RecordNode{.Sex = 2, .EventName = "跳远", .GroupName = "一年级", .Value = 3150,
                                      .UnitText = "米"});
  EXPECT_EQ(typed, id + 1);
  {
    DataGuard hold(DataLock);
    ASSERT_EQ(LoadRecords(), 0);
  }
  ASSERT_EQ(Model().RecordList.size(), 2u);
  // A typed record has no second and third values, and they stay "no
  // result" after a reload.
  const RecordNode& t = Model().RecordList[0];
  EXPECT_EQ(std::tie(t.Id, t.Value, t.Value2, t.Value3), std::make_tuple(typed, 3150, kNoResult, kNoResult));
  EXPECT_EQ(t.HolderName + t.MeetName + t.DateText, "");
  const RecordNode& r = Model().RecordList[1];
  EXPECT_EQ(std::tie(r.Value, r.Value2, r.Value3, r.InsertFlag, r.Sex, r.EventType, r.TeamType, r.RoundKind),
            std::make_tuple(3200, 11, kNoResult, 1, 2, 2, 1, 3));
  EXPECT_EQ(r.HolderName + "/" + r.ClassName + "/" + r.MeetName + "/" + r.GroupName + r.EventName + r.UnitText,
            "王'芳/101班/" + FixtureMeetSettings{}.Name + "/一年级跳远米");

  RecordNode beaten = r;
  beaten.Value = 3300;
  beaten.RoundKind = 2;
  beaten.HolderName = "李明";
  ASSERT_EQ(UpdateRecordFlags(beaten), 0);
  EXPECT_EQ(Rows("SELECT qrtb196, qrtb210, qrtb199, qrtb202 FROM base.qrtb188 WHERE qrtb189 = " + std::to_string(id)),
            "3300|2|李明|101班");
  ASSERT_EQ(DeleteRecord(typed), 0);
  EXPECT_EQ(BaseInt("SELECT COUNT(*) FROM qrtb188"), 1);
  FailOn("DELETE", "base.qrtb188", "no_delete");
  EXPECT_EQ(DeleteRecord(id), 1);
  EXPECT_EQ(LastDataErrorCode(), 179);
  EXPECT_EQ(BaseInt("SELECT COUNT(*) FROM qrtb188"), 1);
}

}  // namespace

}  // namespace korva
