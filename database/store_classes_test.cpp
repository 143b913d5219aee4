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
    LoadClasses();
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

TEST_F(Classes, AFailureInTheBaseFileUndoesTheMeetFile) {
  std::string before = Dump({"qrtb219", "qrtb234", "base.qrtb26"});
  FailOn("INSERT", "base.qrtb40", "no_classes");
  std::string message;
  EXPECT_EQ(SaveGrade("七年级", "7", &message, 0, 2), 1);
  EXPECT_EQ(message, "[七年级]年级数据写入数据库时出现错误！");
  EXPECT_EQ(Dump({"qrtb219", "qrtb234", "base.qrtb26"}), before);
}

TEST_F(Classes, DeletingAGradeRemovesClassesAccountsTwinsAndGroups) {
  ASSERT_TRUE(fixture_.MeetSql(Model().CurrentMeetId,
                               "INSERT INTO qrtb373 (qrtb374, qrtb375, qrtb376) VALUES (1, 2, 1), (2, 3, 1);"
                               "INSERT INTO qrtb425 (qrtb426, qrtb427, qrtb428) VALUES (5, 1, 3);"
                               "INSERT INTO qrtb444 (qrtb445, qrtb446, qrtb447) VALUES (9, 5, 3);"));
  std::string message;
  ASSERT_EQ(DeleteGrade(2, &message), 0);
  EXPECT_EQ(message, "[二年级]已经成功删除！");
  EXPECT_EQ(MeetText("SELECT (SELECT COUNT(*) FROM qrtb219 WHERE qrtb220 = 2),"
                     " (SELECT COUNT(*) FROM qrtb234 WHERE qrtb236 = 2), (SELECT COUNT(*) FROM qrtb7 WHERE qrtb15 = 2),"
                     " (SELECT COUNT(*) FROM base.qrtb26 WHERE qrtb27 = 2),"
                     " (SELECT COUNT(*) FROM base.qrtb40 WHERE qrtb236 = 2), (SELECT group_concat(qrtb374) FROM qrtb373),"
                     " (SELECT COUNT(*) FROM qrtb425) + (SELECT COUNT(*) FROM qrtb444),"
                     " (SELECT COUNT(*) FROM qrtb234 WHERE qrtb236 = 3)"),
            "0|0|0|0|0|2|0|4");
}

TEST_F(Classes, TheLastClassIsAddedAndRemovedWithItsAccount) {
  ClassNode last = LastClassOf(1);
  ASSERT_EQ(last.ClassNumber, 4);
  std::string message;
  ASSERT_EQ(AddOrDeleteClass(last, 1, &message), 0);
  EXPECT_EQ(MeetText("SELECT qrtb235, qrtb238 FROM qrtb234 WHERE qrtb236 = 1 AND qrtb237 = 5"), "25|105班");
  EXPECT_EQ(MeetInt("SELECT COUNT(*) FROM base.qrtb40 WHERE qrtb235 = 25 AND qrtb237 = 5"), 1);
  EXPECT_EQ(MeetText("SELECT qrtb10 FROM qrtb7 WHERE qrtb15 = 1 AND qrtb16 = 25"), "9352");

  last = LastClassOf(1);
  ASSERT_EQ(last.ClassId, 25);
  const std::string counts = "SELECT (SELECT COUNT(*) FROM qrtb234 WHERE qrtb235 = 25),"
                             " (SELECT COUNT(*) FROM qrtb7 WHERE qrtb16 = 25),"
                             " (SELECT COUNT(*) FROM base.qrtb40 WHERE qrtb235 = 25)";
  FailOn("DELETE", "base.qrtb40", "no_delete");
  EXPECT_EQ(AddOrDeleteClass(last, 0, &message), 1);
  EXPECT_EQ(message, "操作数据库出错！[0]");
  EXPECT_EQ(MeetText(counts), "1|1|1");
  DropTrigger("no_delete");
  ASSERT_EQ(AddOrDeleteClass(last, 0, &message), 0);
  EXPECT_EQ(MeetText(counts), "0|0|0");
}

TEST_F(Classes, NamesNumbersPasswordsAndTeachersAreStoredAsTyped) {
  ASSERT_EQ(UpdateClassNameAndStartNumbers("火箭'班\"", "100", "", 2), 0);
  EXPECT_EQ(MeetText("SELECT qrtb238, qrtb239, qrtb240 FROM qrtb234 WHERE qrtb235 = 2"), "火箭'班\"|100|");
  EXPECT_EQ(MeetText("SELECT qrtb238 FROM base.qrtb40 WHERE qrtb235 = 2"), "火箭'班\"");

  EXPECT_EQ(ChangeClassPassword(1, 2, "wrong", "abcd"), 1);
  EXPECT_EQ(ChangeClassPassword(2, 2, "9352", "abcd"), 1);  // not that grade's class
  EXPECT_EQ(ChangeClassPassword(1, 2, "9352", "ab'cd"), 0);
  EXPECT_EQ(Rows("SELECT qrtb10 FROM qrtb7 WHERE qrtb16 IN (2, 3) ORDER BY qrtb16"), "ab'cd\n9352");

  EXPECT_EQ(SetClassTeacherName("王\"老师", 3), 0);
  EXPECT_EQ(MeetText("SELECT qrtb12 FROM qrtb7 WHERE qrtb16 = 3"), "王\"老师");
  FailOn("UPDATE", "qrtb7", "no_accounts");
  EXPECT_EQ(SetClassTeacherName("李老师", 3), 1);
  EXPECT_EQ(ChangeClassPassword(1, 3, "9352", "x"), 1);
}

}  // namespace

}  // namespace korva
