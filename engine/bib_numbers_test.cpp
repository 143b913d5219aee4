#include "engine/bib_numbers.h"

#include <gtest/gtest.h>

#include <map>
#include <string>
#include <tuple>
#include <utility>
#include <vector>

#include "database/data_lock.h"
#include "database/loaders.h"
#include "tests/testing/meet_fixture.h"

namespace korva {

namespace {

#pragma GCC diagnostic ignored "-Wmissing-field-initializers"

using Bibs = std::vector<std::pair<int, std::string>>;

// Numbers a meet of the classes (classes 1 to 4 in grade 1, with boys' and
// girls' groups of 10 athletes per class; the others in grade 2, with a
// boys' group only) and athletes {class, sex, count}, in AthleteList order.
Bibs NumberInModel(int bib_width, const std::vector<ClassNode>& classes,
                   const std::vector<std::tuple<int, int, int>>& athletes) {
  DataGuard hold(DataLock);
  MeetModel& m = Model();
  m = MeetModel{};
  m.BibWidth = bib_width;
  for (auto [id, grade, sex] : {std::tuple{1, 1, 1}, {2, 1, 2}, {3, 2, 1}})
    m.GroupList.push_back({.Id = id, .GradeId = grade, .Sex = sex, .AthletesPerClass = 10});
  m.ClassList = classes;
  for (auto [class_id, sex, count] : athletes) {
    const int grade = class_id < 5 ? 1 : 2;
    for (int i = 0; i < count; ++i)
      m.AthleteList.push_back({.Id = static_cast<int>(m.AthleteList.size()) + 1, .GradeId = grade,
                               .ClassId = class_id, .Sex = sex});
  }
  NumberAthletesInModel();
  Bibs bibs;
  for (const AthleteNode& a : m.AthleteList) bibs.emplace_back(a.Bib, a.BibText);
  m = MeetModel{};
  return bibs;
}

TEST(NumberAthletes, StartsBlocksAndWidths) {
  // Boys of class 1 from 101; its girls after the boys' block of 10; class
  // 2's twelve boys move the counter by 12; the girls of class 3 from their
  // own start. Every text in the meet's BibWidth of 4.
  const Bibs grade1 = NumberInModel(4,
                                    {{.GradeId = 1, .ClassId = 1, .BoyStartNumber = "101"},
                                     {.GradeId = 1, .ClassId = 2},
                                     {.GradeId = 1, .ClassId = 3, .GirlStartNumber = "1"}},
                                    {{1, 1, 3}, {1, 2, 2}, {2, 1, 12}, {2, 2, 1}, {3, 2, 2}});
  using Bib = std::pair<int, std::string>;
  ASSERT_EQ(grade1.size(), 20u);
  EXPECT_EQ(Bibs(grade1.begin(), grade1.begin() + 6),
            (Bibs{{101, "0101"}, {102, "0102"}, {103, "0103"}, {111, "0111"}, {112, "0112"}, {121, "0121"}}));
  EXPECT_EQ(grade1[16], Bib(132, "0132"));
  EXPECT_EQ(Bibs(grade1.begin() + 17, grade1.end()), (Bibs{{133, "0133"}, {1, "0001"}, {2, "0002"}}));

  // Grade 2 has no girls' group: its girls get none and take no block.
  // Width 3 pads to three digits; starting texts read as plain decimals.
  const Bibs grade2 = NumberInModel(3,
                                    {{.GradeId = 2, .ClassId = 5, .BoyStartNumber = "201"},
                                     {.GradeId = 2, .ClassId = 6},
                                     {.GradeId = 2, .ClassId = 7, .BoyStartNumber = "12a"},
                                     {.GradeId = 2, .ClassId = 8, .BoyStartNumber = "12345678901234"}},
                                    {{5, 1, 1}, {5, 2, 2}, {6, 1, 1}, {7, 1, 1}, {8, 1, 1}});
  EXPECT_EQ(grade2, (Bibs{{201, "201"}, {0, ""}, {0, ""}, {211, "211"}, {12, "012"}, {123456789, "123456789"}}));
}

// Every new number reaches the file; numbers already held are kept and
// skipped by the others. A start of "1" in a width-3 meet reads "001" before
// and after a reload, so that the order book and the pages agree.
TEST(AssignBibNumbers, WritesEveryNewNumber) {
  MeetFixture fixture;
  fixture.OpenNewMeet(
      "DELETE FROM qrtb234; DELETE FROM qrtb219; DELETE FROM qrtb7;"
      " INSERT INTO qrtb219 (qrtb220, qrtb221, qrtb222, qrtb223, qrtb225) VALUES (1, '一年级', '1', '班', 1);"
      " INSERT INTO qrtb234 VALUES (1, 1, 1, '101班', '101', ''), (2, 1, 2, '102班', '', '1');"
      " INSERT INTO qrtb373 (qrtb374, qrtb375, qrtb376, qrtb377) VALUES (1, 1, 1, 5), (2, 1, 2, 5);"
      " INSERT INTO qrtb409 VALUES ('甲', 1, NULL, 1, 1, 1, 0), ('乙', 2, NULL, 1, 1, 2, 0),"
      " ('丙', 3, 106, 1, 2, 1, 0), ('丁', 4, NULL, 1, 2, 1, 0), ('戊', 5, NULL, 1, 2, 2, 0),"
      " ('己', 6, NULL, 1, 1, 2, 0);");
  DataGuard hold(DataLock);
  ASSERT_EQ(AssignBibNumbers(), 0);
  auto bibs_by_id = [] {
    std::map<int, std::pair<int, std::string>> bibs;
    for (const AthleteNode& a : Model().AthleteList) bibs[a.Id] = {a.Bib, a.BibText};
    return bibs;
  };
  // Boys of 101班 from 101; its girls after the boys' block of 5, past the
  // 106 already held, the next one moved up with them; the boys of 102班
  // after the girls' block; its girls from their own start.
  const std::map<int, std::pair<int, std::string>> expected = {
      {1, {101, "101"}}, {2, {107, "107"}}, {3, {106, "106"}},
      {4, {111, "111"}}, {5, {1, "001"}}, {6, {108, "108"}}};
  EXPECT_EQ(bibs_by_id(), expected);
  ASSERT_EQ(LoadAthletes(), 0);
  EXPECT_EQ(bibs_by_id(), expected);
}

}  // namespace

}  // namespace korva
