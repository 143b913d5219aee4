#include "database/store_classes.h"

#include <gtest/gtest.h>

#include "database/loaders.h"
#include "database/store_test_support.h"
#include "tests/testing/meet_fixture.h"

namespace {

TEST(FormatClassName, NumberShortNamesGiveThreeDigits) {
  EXPECT_EQ(FormatClassName("1", 1, "班"), "101班");
  EXPECT_EQ(FormatClassName("12", 3, "班"), "1203班");
  EXPECT_EQ(FormatClassName("初一", 2, "班"), "初一(2)班");
  EXPECT_EQ(FormatClassName("", 2, "班"), "(2)班");
}

TEST(SaveGrade, NewGradeGetsClassesInBothFilesUnderIdsFreeInBoth) {
  MeetFixture f;
  // Another meet added grade 7 and class 30 to the base file only.
  f.OpenNewMeet();
  ASSERT_TRUE(f.BaseSql("INSERT INTO qrtb26 (qrtb27, qrtb29) VALUES (7, '七年级');"
                        "INSERT INTO qrtb40 (qrtb235, qrtb236) VALUES (30, 7);"));
  std::string message;
  ASSERT_EQ(SaveGrade("初一年级", "初一", &message, 0, 3), 0);
  EXPECT_EQ(message, "[初一年级]年级已经成功保存！");
  EXPECT_EQ(MeetInt("SELECT MAX(qrtb220) FROM qrtb219"), 8);
  EXPECT_EQ(MeetText("SELECT qrtb29 FROM base.qrtb26 WHERE qrtb27 = 8"), "初一年级");
  EXPECT_EQ(MeetText("SELECT qrtb223 FROM base.qrtb26 WHERE qrtb27 = 8"), "班");
  EXPECT_EQ(MeetText("SELECT group_concat(qrtb238) FROM qrtb234 WHERE qrtb236 = 8"),
            "初一(1)班,初一(2)班,初一(3)班");
  EXPECT_EQ(MeetText("SELECT group_concat(qrtb235) FROM base.qrtb40 WHERE qrtb236 = 8"), "31,32,33");
  EXPECT_EQ(MeetInt("SELECT COUNT(*) FROM qrtb7 WHERE qrtb15 = 8"), 0);
  {
    DataGuard hold(DataLock);
    LoadClasses();
  }
  int listed = 0;
  for (const ClassNode& c : Model().ClassList) listed += c.GradeId == 8;
  EXPECT_EQ(listed, 3);

  ASSERT_EQ(SaveGrade("预备年级", "预", &message, 8, 0), 0);
  EXPECT_EQ(MeetText("SELECT qrtb221 || qrtb222 FROM qrtb219 WHERE qrtb220 = 8"), "预备年级预");
  EXPECT_EQ(MeetText("SELECT qrtb29 || qrtb222 FROM base.qrtb26 WHERE qrtb27 = 8"), "预备年级预");
}

TEST(SaveGrade, FailureInTheBaseFileUndoesTheMeetFile) {
  MeetFixture f;
  f.OpenNewMeet();
  std::string before = TableDump("qrtb219") + TableDump("qrtb234") + TableDump("base.qrtb26");
  FailOn("INSERT", "base.qrtb40", "no_classes");
  std::string message;
  EXPECT_EQ(SaveGrade("七年级", "7", &message, 0, 2), 1);
  EXPECT_EQ(message, "[七年级]年级数据写入数据库时出现错误！");
  EXPECT_EQ(TableDump("qrtb219") + TableDump("qrtb234") + TableDump("base.qrtb26"), before);
}

TEST(DeleteGrade, RemovesGradeClassesAccountsTwinsAndGroups) {
  MeetFixture f;
  f.OpenNewMeet(
      "INSERT INTO qrtb373 (qrtb374, qrtb375, qrtb376) VALUES (1, 2, 1), (2, 3, 1);"
      "INSERT INTO qrtb425 (qrtb426, qrtb427, qrtb428) VALUES (5, 1, 3);"
      "INSERT INTO qrtb444 (qrtb445, qrtb446, qrtb447) VALUES (9, 5, 3);");
  std::string message;
  ASSERT_EQ(DeleteGrade(2, &message), 0);
  EXPECT_EQ(message, "[二年级]已经成功删除！");
  EXPECT_EQ(MeetInt("SELECT COUNT(*) FROM qrtb219 WHERE qrtb220 = 2") +
                MeetInt("SELECT COUNT(*) FROM qrtb234 WHERE qrtb236 = 2") +
                MeetInt("SELECT COUNT(*) FROM qrtb7 WHERE qrtb15 = 2") +
                MeetInt("SELECT COUNT(*) FROM base.qrtb26 WHERE qrtb27 = 2") +
                MeetInt("SELECT COUNT(*) FROM base.qrtb40 WHERE qrtb236 = 2") +
                MeetInt("SELECT COUNT(*) FROM qrtb373 WHERE qrtb375 = 2") +
                MeetInt("SELECT COUNT(*) FROM qrtb425") + MeetInt("SELECT COUNT(*) FROM qrtb444"),
            0);
  EXPECT_EQ(MeetInt("SELECT COUNT(*) FROM qrtb373"), 1);
  EXPECT_EQ(MeetInt("SELECT COUNT(*) FROM qrtb234 WHERE qrtb236 = 3"), 4);
}

TEST(AddOrDeleteClass, AddsAndRemovesTheLastClassWithItsAccount) {
  MeetFixture f;
  f.OpenNewMeet();
  ClassNode last;
  for (const ClassNode& c : Model().ClassList)
    if (c.GradeId == 1) last = c;
  ASSERT_EQ(last.ClassNumber, 4);
  std::string message;
  ASSERT_EQ(AddOrDeleteClass(last, 1, &message), 0);
  EXPECT_EQ(MeetText("SELECT qrtb238 FROM qrtb234 WHERE qrtb236 = 1 AND qrtb237 = 5"), "105班");
  int id = MeetInt("SELECT qrtb235 FROM qrtb234 WHERE qrtb236 = 1 AND qrtb237 = 5");
  EXPECT_EQ(id, 25);
  EXPECT_EQ(MeetInt("SELECT COUNT(*) FROM base.qrtb40 WHERE qrtb235 = 25 AND qrtb237 = 5"), 1);
  EXPECT_EQ(MeetText("SELECT qrtb10 FROM qrtb7 WHERE qrtb15 = 1 AND qrtb16 = 25"), "9352");

  {
    DataGuard hold(DataLock);
    LoadClasses();
  }
  for (const ClassNode& c : Model().ClassList)
    if (c.GradeId == 1) last = c;
  ASSERT_EQ(last.ClassId, 25);
  FailOn("DELETE", "base.qrtb40", "no_delete");
  EXPECT_EQ(AddOrDeleteClass(last, 0, &message), 1);
  EXPECT_EQ(message, "操作数据库出错！[0]");
  EXPECT_EQ(MeetInt("SELECT COUNT(*) FROM qrtb234 WHERE qrtb235 = 25"), 1);
  EXPECT_EQ(MeetInt("SELECT COUNT(*) FROM qrtb7 WHERE qrtb16 = 25"), 1);
  {
    DataGuard hold(DataLock);
    MeetConnection().ExecScript("DROP TRIGGER no_delete");
  }
  ASSERT_EQ(AddOrDeleteClass(last, 0, &message), 0);
  EXPECT_EQ(MeetInt("SELECT COUNT(*) FROM qrtb234 WHERE qrtb235 = 25") +
                MeetInt("SELECT COUNT(*) FROM qrtb7 WHERE qrtb16 = 25") +
                MeetInt("SELECT COUNT(*) FROM base.qrtb40 WHERE qrtb235 = 25"),
            0);
}

TEST(ClassWrites, NamesNumbersPasswordsAndTeachersAreStoredAsTyped) {
  MeetFixture f;
  f.OpenNewMeet();
  ASSERT_EQ(UpdateClassNameAndStartNumbers("火箭'班\"", "100", "", 2), 0);
  EXPECT_EQ(MeetText("SELECT qrtb238 || '/' || qrtb239 || '/' || qrtb240 FROM qrtb234 WHERE qrtb235 = 2"),
            "火箭'班\"/100/");
  EXPECT_EQ(MeetText("SELECT qrtb238 FROM base.qrtb40 WHERE qrtb235 = 2"), "火箭'班\"");

  EXPECT_EQ(ChangeClassPassword(1, 2, "wrong", "abcd"), 1);
  EXPECT_EQ(ChangeClassPassword(2, 2, "9352", "abcd"), 1);  // not that grade's class
  EXPECT_EQ(ChangeClassPassword(1, 2, "9352", "ab'cd"), 0);
  EXPECT_EQ(MeetText("SELECT qrtb10 FROM qrtb7 WHERE qrtb16 = 2"), "ab'cd");
  EXPECT_EQ(MeetText("SELECT qrtb10 FROM qrtb7 WHERE qrtb16 = 3"), "9352");

  EXPECT_EQ(SetClassTeacherName("王\"老师", 3), 0);
  EXPECT_EQ(MeetText("SELECT qrtb12 FROM qrtb7 WHERE qrtb16 = 3"), "王\"老师");
  FailOn("UPDATE", "qrtb7", "no_accounts");
  EXPECT_EQ(SetClassTeacherName("李老师", 3), 1);
  EXPECT_EQ(ChangeClassPassword(1, 3, "9352", "x"), 1);
}

}  // namespace
