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
