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

namespace {

#pragma GCC diagnostic ignored "-Wmissing-field-initializers"

// Grade 1 with boys' and girls' groups (athletes per class 10); grade 2
// with a boys' group only.
class BibTest : public ::testing::Test {
 protected:
  BibTest() {
    Model() = MeetModel{};
    for (auto [id, grade, sex] : {std::tuple{1, 1, 1}, {2, 1, 2}, {3, 2, 1}})
      Model().GroupList.push_back({.Id = id, .GradeId = grade, .Sex = sex, .AthletesPerClass = 10});
  }
  ~BibTest() override { Model() = MeetModel{}; }

  void AddClass(int grade, int id, std::string boys = "", std::string girls = "") {
    Model().ClassList.push_back({.GradeId = grade, .ClassId = id, .BoyStartNumber = boys, .GirlStartNumber = girls});
  }
  // Athletes are added in AthleteList order (grade, class, sex).
  void AddAthletes(int grade, int class_id, int sex, int count, int bib = 0) {
    for (int i = 0; i < count; ++i)
      Model().AthleteList.push_back({.Id = next_id_++, .Bib = bib, .GradeId = grade, .ClassId = class_id, .Sex = sex});
  }
  std::vector<int> Bibs(int class_id, int sex) const {
    std::vector<int> bibs;
    for (const AthleteNode& a : Model().AthleteList)
      if (a.ClassId == class_id && a.Sex == sex) bibs.push_back(a.Bib);
    return bibs;
  }
  std::vector<std::string> Texts(int class_id, int sex) const {
    std::vector<std::string> texts;
    for (const AthleteNode& a : Model().AthleteList)
      if (a.ClassId == class_id && a.Sex == sex) texts.push_back(a.BibText);
    return texts;
  }

  DataGuard hold_{DataLock};
  int next_id_ = 1;
};

TEST_F(BibTest, ClassStartNumbersAndBlocksOfTheGroupSize) {
  Model().BibWidth = 4;
  AddClass(1, 1, "101");
  AddClass(1, 2);
  AddAthletes(1, 1, 1, 3);
  AddAthletes(1, 1, 2, 2);
  AddAthletes(1, 2, 1, 1);
  EXPECT_EQ(NumberAthletesInModel().size(), 6u);
  EXPECT_EQ(Bibs(1, 1), (std::vector<int>{101, 102, 103}));
  EXPECT_EQ(Texts(1, 1), (std::vector<std::string>{"101", "102", "103"}));
  // The girls, without a start of their own, follow the boys' block of 10.
  EXPECT_EQ(Bibs(1, 2), (std::vector<int>{111, 112}));
  EXPECT_EQ(Texts(1, 2), (std::vector<std::string>{"0111", "0112"}));
  EXPECT_EQ(Bibs(2, 1), (std::vector<int>{121}));
}

TEST_F(BibTest, WidthThreeOrFourDigits) {
  Model().BibWidth = 3;
  AddClass(1, 1, "", "1");
  AddClass(1, 2);
  AddAthletes(1, 1, 2, 2);
  AddAthletes(1, 2, 1, 1);
  NumberAthletesInModel();
  // A start of one digit is a width of 1, and any width but 3 prints four.
  EXPECT_EQ(Texts(1, 2), (std::vector<std::string>{"0001", "0002"}));
  EXPECT_EQ(Texts(2, 1), (std::vector<std::string>{"011"}));
}

TEST_F(BibTest, NumbersInUseAreSkippedAndKept) {
  AddClass(1, 1, "101");
  AddClass(1, 2, "102");
  AddAthletes(1, 1, 1, 3);
  AddAthletes(1, 2, 1, 1, 102);  // already numbered
  const std::vector<std::size_t> numbered = NumberAthletesInModel();
  EXPECT_EQ(Bibs(1, 1), (std::vector<int>{101, 103, 104}));
  EXPECT_EQ(Bibs(2, 1), (std::vector<int>{102}));
  EXPECT_EQ(numbered.size(), 3u);
}

TEST_F(BibTest, ABlockLargerThanTheGroupSizeMovesTheCounterByItsSize) {
  AddClass(1, 1, "1");
  AddClass(1, 2);
  AddAthletes(1, 1, 1, 12);
  AddAthletes(1, 2, 1, 1);
  NumberAthletesInModel();
  EXPECT_EQ(Bibs(1, 1).back(), 12);
  // Girls of class 1 have none, so their block adds 10; then class 2.
  EXPECT_EQ(Bibs(2, 1), (std::vector<int>{23}));
}

TEST_F(BibTest, ASexWithoutAGroupGetsNoNumbersAndTakesNoBlock) {
  AddClass(2, 5, "201");
  AddClass(2, 6);
  AddAthletes(2, 5, 1, 1);
  AddAthletes(2, 5, 2, 2);
  AddAthletes(2, 6, 1, 1);
  NumberAthletesInModel();
  EXPECT_EQ(Bibs(5, 2), (std::vector<int>{0, 0}));
  EXPECT_EQ(Bibs(6, 1), (std::vector<int>{211}));
}

TEST_F(BibTest, StartTextsReadAsPlainDecimals) {
  AddClass(1, 1, "12a");
  AddClass(1, 2, "12345678901234");
  AddAthletes(1, 1, 1, 1);
  AddAthletes(1, 2, 1, 1);
  NumberAthletesInModel();
  EXPECT_EQ(Bibs(1, 1), (std::vector<int>{12}));
  EXPECT_EQ(Bibs(2, 1), (std::vector<int>{123456789}));
}

TEST(AssignBibNumbers, WritesEveryNewNumber) {
  MeetFixture fixture;
  fixture.OpenNewMeet(
      "DELETE FROM qrtb234; DELETE FROM qrtb219; DELETE FROM qrtb7;"
      " INSERT INTO qrtb219 (qrtb220, qrtb221, qrtb222, qrtb223, qrtb225) VALUES (1, '一年级', '1', '班', 1);"
      " INSERT INTO qrtb234 VALUES (1, 1, 1, '101班', '101', ''), (2, 1, 2, '102班', '', '301');"
      " INSERT INTO qrtb373 (qrtb374, qrtb375, qrtb376, qrtb377) VALUES (1, 1, 1, 5), (2, 1, 2, 5);"
      " INSERT INTO qrtb409 VALUES ('甲', 1, NULL, 1, 1, 1, 0), ('乙', 2, NULL, 1, 1, 2, 0),"
      " ('丙', 3, 106, 1, 2, 1, 0), ('丁', 4, NULL, 1, 2, 1, 0), ('戊', 5, NULL, 1, 2, 2, 0);");
  DataGuard hold(DataLock);
  ASSERT_EQ(AssignBibNumbers(), 0);
  auto bibs_by_id = [] {
    std::map<int, std::pair<int, std::string>> bibs;
    for (const AthleteNode& a : Model().AthleteList) bibs[a.Id] = {a.Bib, a.BibText};
    return bibs;
  };
  const auto numbered = bibs_by_id();
  ASSERT_EQ(LoadAthletes(), 0);
  const auto stored = bibs_by_id();
  // Boys of 101班 from 101; its girls after the boys' block of 5, past the
  // 106 already held; the boys of 102班 after the girls' block; its girls
  // from their own start.
  const std::map<int, std::pair<int, std::string>> expected = {
      {1, {101, "101"}}, {2, {107, "107"}}, {3, {106, "106"}}, {4, {111, "111"}}, {5, {301, "301"}}};
  EXPECT_EQ(numbered, expected);
  EXPECT_EQ(stored, expected);
}

}  // namespace
