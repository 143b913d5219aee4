#include "database/store_athletes.h"

#include <gtest/gtest.h>

#include "database/data_error.h"
#include "database/store_test_support.h"
#include "tests/testing/meet_fixture.h"

namespace korva {

namespace {

// Grade 1 boys (group 1); athlete 1 entered in contests 1 and 2 with a lane
// and an auxiliary row; athlete 2 with a bib; an order-book document.
const char* kAthletesSql = R"sql(
INSERT INTO qrtb373 (qrtb374, qrtb375, qrtb376) VALUES (1, 1, 1);
INSERT INTO qrtb409 (qrtb411, qrtb410, qrtb412, qrtb413, qrtb414, qrtb415, qrtb416)
    VALUES (1, '甲', 101, 1, 1, 1, 0), (2, '乙', 102, 1, 1, 1, 0);
INSERT INTO qrtb397 (qrtb399, qrtb400) VALUES (1, 1), (2, 1), (1, 2);
INSERT INTO qrtb479 (qrtb480, qrtb481, qrtb482, qrtb483, qrtb484) VALUES (1, 1, 1, 1, 1), (2, 1, 1, 2, 2);
INSERT INTO qrtb498 (qrtb500) VALUES (1);
INSERT INTO qrtb518 (qrtb519, qrtb520, qrtb521, qrtb522, qrtb523) VALUES (1, 1, 3, '5月1日8时0分', 'a.doc');
)sql";

class Athletes : public ::testing::Test {
 protected:
  void SetUp() override { fixture_.OpenNewMeet(kAthletesSql); }
  MeetFixture fixture_;
};

AthleteNode NewAthlete(const std::string& name, std::vector<int> contests) {
  return AthleteNode{.Name = name, .GradeId = 1, .ClassId = 2, .Sex = 1, .ContestIds = contests};
}

std::string Entries(int athlete_id) {
  return MeetText("SELECT group_concat(qrtb399) FROM qrtb397 WHERE qrtb400 = " + std::to_string(athlete_id));
}

TEST_F(Athletes, SaveInsertsWithANewIdThenReplacesNameAndEntries) {
  AthleteNode a = NewAthlete("O'Neil \"小明\"", {1, 2, 3});
  ASSERT_EQ(SaveAthlete(a), 3);
  EXPECT_EQ(a.Id, 3);
  EXPECT_EQ(MeetText("SELECT qrtb410 FROM qrtb409 WHERE qrtb411 = 3"), "O'Neil \"小明\"");
  EXPECT_EQ(Entries(3), "1,2,3");
  a.Name = "小明";
  a.Reserved = 5;
  a.ContestIds = {4};
  ASSERT_EQ(SaveAthlete(a), 3);
  EXPECT_EQ(MeetText("SELECT qrtb410, qrtb416 FROM qrtb409 WHERE qrtb411 = 3"), "小明|5");
  EXPECT_EQ(Entries(3), "4");
}

TEST_F(Athletes, SaveRefusalsAndFailuresKeepTheEntries) {
  AthleteNode girl = NewAthlete("丙", {1});
  girl.Sex = 2;  // grade 1 has no girls' group
  EXPECT_EQ(SaveAthlete(girl), 0);
  EXPECT_EQ(LastDataErrorCode(), 42550);

  std::string before = Dump({"qrtb409", "qrtb397"});
  FailOn("INSERT", "qrtb397", "no_entries");
  AthleteNode known = NewAthlete("甲", {5, 6});
  known.Id = 1;
  known.ClassId = 1;
  EXPECT_EQ(SaveAthlete(known), 0);
  EXPECT_EQ(LastDataErrorCode(), 117);
  AthleteNode fresh = NewAthlete("丁", {5});
  EXPECT_EQ(SaveAthlete(fresh), 0);
  EXPECT_EQ(fresh.Id, 0);
  EXPECT_EQ(Dump({"qrtb409", "qrtb397"}), before);
}

TEST_F(Athletes, DeleteRemovesRowsAndNodesTogether) {
  FailOn("DELETE", "qrtb409", "no_delete");
  std::string before = Dump({"qrtb498", "qrtb479", "qrtb397"});
  EXPECT_NE(DeleteAthlete(1), 0);
  EXPECT_EQ(Dump({"qrtb498", "qrtb479", "qrtb397"}), before);
  EXPECT_EQ(Model().AthleteList.size(), 2u);
  EXPECT_EQ(Model().LaneList.size(), 2u);
  DropTrigger("no_delete");
  ASSERT_EQ(DeleteAthlete(1), 0);
  EXPECT_EQ(MeetText("SELECT (SELECT COUNT(*) FROM qrtb409), (SELECT COUNT(*) FROM qrtb397),"
                     " (SELECT COUNT(*) FROM qrtb479), (SELECT COUNT(*) FROM qrtb498)"),
            "1|1|1|0");
  ASSERT_EQ(Model().AthleteList.size(), 1u);
  EXPECT_EQ(Model().AthleteList[0].Id, 2);
  EXPECT_EQ(Model().LaneList.size(), 1u);
  EXPECT_TRUE(Model().AthleteAuxList.empty());
}

TEST_F(Athletes, BibsAndNamesReachTheFile) {
  AthleteNode a = Model().AthleteList[0];
  a.Bib = 7;
  ASSERT_EQ(UpdateAthleteBib(a), 0);
  ASSERT_EQ(UpdateAthleteNameBib("新'名", 9, 2), 0);
  EXPECT_EQ(Rows("SELECT qrtb410, qrtb412 FROM qrtb409 ORDER BY qrtb411"), "甲|7\n新'名|9");
  ASSERT_EQ(ClearAllBibs(), 0);
  EXPECT_EQ(MeetInt("SELECT COUNT(*) FROM qrtb409 WHERE qrtb412 IS NULL"), 2);
  FailOn("UPDATE", "qrtb409", "no_update");
  EXPECT_EQ(UpdateAthleteBib(a), 1);
  EXPECT_EQ(LastDataErrorCode(), 177);
  EXPECT_EQ(ClearAllBibs(), 1);
  EXPECT_EQ(LastDataErrorCode(), 1322);
}

// Each bulk clear runs whole or not at all: its last statement failing
// leaves every table it touches as it was.
TEST_F(Athletes, BulkClearsAreAllOrNothing) {
  const std::string counts =
      "SELECT (SELECT COUNT(*) FROM qrtb498), (SELECT COUNT(*) FROM qrtb479),"
      " (SELECT COUNT(*) FROM qrtb409), (SELECT COUNT(*) FROM qrtb409 WHERE qrtb412 IS NOT NULL),"
      " (SELECT COUNT(*) FROM qrtb397), (SELECT COUNT(*) FROM qrtb518)";
  struct Case {
    int (*clear)();
    const char* last_table;
    const char* after;
  } cases[] = {{ClearAllResults, "qrtb518", "0|0|2|0|3|0"}, {DeleteAllAthletes, "qrtb518", "0|0|0|0|0|0"}};
  for (const Case& c : cases) {
    fixture_.OpenNewMeet(kAthletesSql);
    std::string before = MeetText(counts);
    FailOn("DELETE", c.last_table, "no_delete");
    EXPECT_NE(c.clear(), 0);
    EXPECT_EQ(MeetText(counts), before);
    DropTrigger("no_delete");
    ASSERT_EQ(c.clear(), 0);
    EXPECT_EQ(MeetText(counts), c.after);
  }
}

}  // namespace

}  // namespace korva
