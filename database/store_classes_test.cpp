#include "database/store_classes.h"

#include <gtest/gtest.h>

#include "database/loaders.h"
#include "database/store_test_support.h"
#include "tests/testing/meet_fixture.h"

namespace korva {

namespace {

class Classes : public ::testing::Test {
 protected:
  void SetUp() override { fixture_.OpenNewMeet(); }
  // The last class of a grade after reloading ClassList.
  static ClassNode LastClassOf(int grade_id) {
    DataGuard hold(DataLock);
    EXPECT_EQ(LoadClasses(), 0);
    ClassNode last;
    for (const ClassNode& c : Model().ClassList)
      if (c.GradeId == grade_id) last = c;
    return last;
  }
  MeetFixture fixture_;
};

TEST(FormatClassName, NumberShortNamesGiveTwoDigitClassNumbers) {
  EXPECT_EQ(FormatClassName("1", 1, "班"), "101班");
  EXPECT_EQ(FormatClassName("12", 3, "班"), "1203班");
  EXPECT_EQ(FormatClassName("初一", 2, "班"), "初一(2)班");
  EXPECT_EQ(FormatClassName("", 2, "班"), "(2)班");
}

TEST_F(Classes, ANewGradeGetsClassesInBothFilesUnderIdsFreeInBoth) {
  // Another meet added grade 7 and class 30 to the base file only.
  ASSERT_TRUE(fixture_.BaseSql("INSERT INTO qrtb26 (qrtb27, qrtb29) VALUES (7, '七年级');"
                               "INSERT INTO qrtb40 (qrtb235, qrtb236) VALUES (30, 7);"));
  std::string message;
  ASSERT_EQ(SaveGrade("初一年级", "初一", &message, 0, 3), 0);
  EXPECT_EQ(message, "[初一年级]年级已经成功保存！");
  EXPECT_EQ(MeetText("SELECT qrtb29, qrtb222, qrtb223 FROM base.qrtb26 WHERE qrtb27 = 8"), "初一年级|初一|班");
  EXPECT_EQ(Rows("SELECT qrtb235, qrtb238 FROM qrtb234 WHERE qrtb236 = 8"),
            "31|初一(1)班\n32|初一(2)班\n33|初一(3)班");
  EXPECT_EQ(MeetText("SELECT group_concat(qrtb235) FROM base.qrtb40 WHERE qrtb236 = 8"), "31,32,33");
  EXPECT_EQ(MeetInt("SELECT COUNT(*) FROM qrtb7 WHERE qrtb15 = 8"), 3);  // a class account each
  EXPECT_EQ(LastClassOf(8).ClassNumber, 3);

  ASSERT_EQ(SaveGrade("预备年级", "预", &message, 8, 0), 0);
  EXPECT_EQ(MeetText("SELECT qrtb221, qrtb222 FROM qrtb219 WHERE qrtb220 = 8"), "预备年级|预");
  EXPECT_EQ(MeetText("SELECT qrtb29, qrtb222 FROM base.qrtb26 WHERE qrtb27 = 8"), "预备年级|预");
}

}  // namespace

}  // namespace korva
