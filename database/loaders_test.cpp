#include "database/loaders.h"

#include <gtest/gtest.h>

#include <tuple>
#include <vector>

#include "database/connections.h"
#include "database/data_lock.h"
#include "database/lookups.h"
#include "tests/testing/meet_fixture.h"

namespace korva {

namespace {

// A small meet: two grades' groups, contests of an individual, a team and a
// combined event, rounds out of id order, athletes with entries and lanes.
const char* kMeetSql = R"sql(
INSERT INTO qrtb234 (qrtb235, qrtb236, qrtb237, qrtb238, qrtb239, qrtb240)
    VALUES (25, 1, 5, '105班', '120', '');
INSERT INTO qrtb373 (qrtb374, qrtb375, qrtb376, qrtb377, qrtb378, qrtb379, qrtb380, qrtb381,
                     qrtb382, qrtb383, qrtb384, qrtb385, qrtb386, qrtb387, qrtb388) VALUES
    (1, 2, 2, 6, 2, 2, 3, 6, 1, 1, 0, 0, 3, 0, 0),
    (2, 1, 1, 6, 2, 4, 3, 8, 2, 2, 0, 0, 4, 0, 0),
    (3, 2, 1, 6, 2, 2, 3, 6, 1, 0, 0, 0, 0, 0, 0),
    (4, 99, 1, 6, 2, 2, 3, 6, 1, 0, 0, 0, 0, 0, 0);
INSERT INTO qrtb467 (qrtb469, qrtb470) VALUES (2, 14), (2, 1), (2, 16), (3, 9);
INSERT INTO qrtb425 (qrtb426, qrtb427, qrtb428, qrtb429, qrtb430, qrtb431, qrtb434, qrtb436) VALUES
    (10, 3, 1, 1, 8, 6, 1, 0),
    (11, 2, 1, 1, 8, 8, 2, 1),
    (12, 2, 14, 0, 0, 8, 2, 0),
    (13, 2, 16, 0, 0, 8, 2, 0),
    (14, 1, 9, 0, 0, 6, 1, 0);
INSERT INTO qrtb444 (qrtb445, qrtb446, qrtb447, qrtb448, qrtb449, qrtb450, qrtb451, qrtb452,
                     qrtb453, qrtb454, qrtb455, qrtb456, qrtb457, qrtb458) VALUES
    (1, 12, 3, 0, 1, 1, 5, 4, 8, 0, 0, 0, 0, 0),
    (2, 11, 2, 0, 2, 1, 5, 8, 8, 0, 1, 2, 3, 5201030),
    (3, 11, 1, 0, 1, 2, 5, 16, 8, 0, 0, 0, 0, 0),
    (4, 10, 1, 0, 1, 3, 5, 16, 8, 0, 0, 0, 0, 0),
    (5, 14, 3, 0, 1, 4, 5, 9, 6, 0, NULL, NULL, NULL, NULL),
    (6, 13, 3, 0, 1, 5, 5, 9, 6, 2, 0, 0, 0, 0),
    (7, 13, 3, 0, 1, 6, 5, 9, 6, 9, 0, 0, 0, 0),
    (8, 99, 3, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0);
INSERT INTO qrtb409 (qrtb411, qrtb410, qrtb412, qrtb413, qrtb414, qrtb415, qrtb416) VALUES
    (1, '张三', 12, 1, 1, 1, 0),
    (2, '李四', NULL, 1, 1, 1, 0),
    (3, '王芳', 3, 1, 1, 2, 0),
    (4, '赵六', 7, 1, 2, 1, 0),
    (5, '钱七', 2, 1, 1, 1, 0);
INSERT INTO qrtb397 (qrtb399, qrtb400) VALUES (13, 1), (11, 1), (12, 1), (11, 4), (12, 5);
INSERT INTO qrtb479 (qrtb480, qrtb481, qrtb482, qrtb483, qrtb484, qrtb485, qrtb486, qrtb487,
                     qrtb488, qrtb489) VALUES
    (1, 3, 2, 1, 4, 1250, 0, 999, 0, 0),
    (2, 3, 1, 2, 1, NULL, 1, NULL, NULL, NULL),
    (3, 3, 1, 1, 5, 1310, 0, 3, 600, 2),
    (4, 1, 1, 3, 5, NULL, 0, 0, 0, 0),
    (5, 1, 1, 3, 1, NULL, 0, 0, 0, 0),
    (6, 1, 1, 2, 77, NULL, 0, 0, 0, 0),
    (7, 1, 1, 3, 4, NULL, 0, 0, 0, 0);
INSERT INTO qrtb498 (qrtb500) VALUES (5);
)sql";

class Loaders : public ::testing::Test {
 protected:
  void SetUp() override {
    FixtureMeetSettings s;
    s.BibWidth = 4;
    fixture_.OpenNewMeet(kMeetSql, s);
  }
  MeetFixture fixture_;
  DataGuard hold_{DataLock};
};

template <typename List, typename Field>
std::vector<int> Ids(const List& list, Field field) {
  std::vector<int> ids;
  for (const auto& n : list) ids.push_back(n.*field);
  return ids;
}

TEST_F(Loaders, AthletesLanesAndTheirNullRules) {
  const auto& athletes = Model().AthleteList;
  // Grade, class, sex, bib (none first), id.
  EXPECT_EQ(Ids(athletes, &AthleteNode::Id), (std::vector<int>{2, 5, 1, 3, 4}));
  EXPECT_EQ(Ids(athletes, &AthleteNode::Ordinal), (std::vector<int>{1, 2, 3, 4, 5}));
  EXPECT_EQ(std::tie(athletes[0].Bib, athletes[0].BibText, athletes[1].BibText), std::make_tuple(0, "", "0002"));
  EXPECT_EQ(athletes[2].ContestIds, (std::vector<int>{13, 11, 12}));  // as written

  const auto& lanes = Model().LaneList;
  // A team's members share heat and lane and stay together in row order;
  // a lane of a missing athlete has class 0.
  EXPECT_EQ(Ids(lanes, &LaneNode::Id), (std::vector<int>{6, 4, 5, 7, 3, 2, 1}));
  EXPECT_EQ(Ids(lanes, &LaneNode::ClassId), (std::vector<int>{0, 1, 1, 2, 1, 1, 2}));
  const LaneNode& none = lanes[5];
  EXPECT_EQ(std::tie(none.Result, none.Status, none.Place, none.Points, none.RecordFlag),
            std::make_tuple(kNoResult, 1, 0, 0, 0));
  const LaneNode& placed = lanes[4];
  EXPECT_EQ(std::tie(placed.Result, placed.Place, placed.Points, placed.RecordFlag, placed.Key),
            std::make_tuple(1310, 3, 600, 2, 0));
  EXPECT_EQ(lanes[6].Place, 999);
  ASSERT_EQ(Model().AthleteAuxList.size(), 1u);
  EXPECT_EQ(Model().AthleteAuxList[0].AthleteId, 5);
}

TEST_F(Loaders, GradeOptionsAndAFailedLoadLeavingItsListEmpty) {
  std::vector<GradeOption> grades = LoadGradeOptions();
  ASSERT_EQ(grades.size(), 6u);
  EXPECT_EQ(std::tie(grades[5].GradeId, grades[5].GradeName), std::make_tuple(6, "六年级"));
  ASSERT_TRUE(MeetConnection().ExecScript("DROP TABLE qrtb518"));
  EXPECT_NE(LoadDocuments(), 0);
  EXPECT_TRUE(Model().DocumentList.empty());
}

}  // namespace

}  // namespace korva
