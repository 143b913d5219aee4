// The advanced operations of "/gjgn.html" over loopback: a rehearsal
// registration made and removed without a trace, heats and numbers
// deleted, athletes renumbered, the staff check of the two operations on
// real data, and every failed write leaving the file and the lists as they
// were.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "database/lookups.h"
#include "database/setup_stage.h"
#include "pages/meet/order_book_generation.h"
#include "tests/http/server_fixture.h"
#include "tests/testing/order_book_meet.h"

namespace korva {

namespace {

using ::testing::ElementsAre;

// The registration meet with quotas a rehearsal can fill: four athletes per
// class in grade 1 (a whole relay team of four, two of each sex for the
// mixed relay), one athlete with one event in grade 2.
const std::string kQuotaSql =
    "UPDATE qrtb373 SET qrtb377 = 4 WHERE qrtb374 IN (11, 12);"
    "UPDATE qrtb373 SET qrtb377 = 1, qrtb379 = 1 WHERE qrtb374 = 22;"
    "DELETE FROM qrtb467 WHERE qrtb469 = 22 AND qrtb470 = 906; DELETE FROM qrtb425 WHERE qrtb426 = 2206;";

class AdvancedOperationTest : public ServerTest {
 protected:
  std::string Operation(int operation, const std::string& name = "vexil", const std::string& password = "vexil") {
    return Page("/gjgn.html?str1=" + name + "&str2=" + password + "&str3=" + std::to_string(operation) + "&str4=0");
  }

  void ExpectAthletesFollowTheFile() {
    EXPECT_EQ(ListedAthletes(), StoredAthletes());
    DataGuard hold(DataLock);
    EXPECT_EQ(static_cast<int>(Model().LaneList.size()), MeetInt("SELECT count(*) FROM qrtb479"));
    EXPECT_EQ(Model().RegistrationClosed, MeetInt("SELECT qrtb341 FROM qrtb331"));
  }
};

TEST_F(AdvancedOperationTest, ARehearsalFillsEveryQuotaAndGoesWithoutATrace) {
  // One round scheduled: the boys' 跳远.
  OpenMeetAndSignIn(RegistrationMeetSql() + kQuotaSql +
                    "INSERT INTO qrtb444 (qrtb445, qrtb446, qrtb447, qrtb448, qrtb449, qrtb450, qrtb451, qrtb452,"
                    " qrtb453, qrtb454, qrtb455, qrtb456, qrtb457, qrtb458) VALUES"
                    " (3, 1102, 3, 0, 1, 1, 20, 0, 6, 0, 0, 0, 0, 0);");
  const std::string before = MeetFileRows();
  EXPECT_EQ(Operation(1), "1");
  {
    DataGuard hold(DataLock);
    EXPECT_TRUE(CheckModelConsistency());  // every class has every athlete and entry it owes
  }
  EXPECT_EQ(Rows("SELECT qrtb414, qrtb415, count(*) FROM qrtb409 GROUP BY 1, 2"),
            "101|1|4\n101|2|4\n102|1|4\n102|2|4\n201|2|1");
  // Class 101's boys: the combined event to two of them, who then may run
  // one single event each; the relay team whole; half the mixed relay.
  EXPECT_EQ(Rows("SELECT qrtb410, group_concat(qrtb399) FROM qrtb409 JOIN qrtb397 ON qrtb400 = qrtb411"
                 " WHERE qrtb414 = 101 AND qrtb415 = 1 GROUP BY qrtb411 ORDER BY qrtb411"),
            "男0001|1104,1101,1105,1106\n男0002|1104,1102,1105,1106\n男0003|1103,1101,1105\n男0004|1102,1103,1105");
  EXPECT_EQ(Rows("SELECT qrtb410, group_concat(qrtb399) FROM qrtb409 JOIN qrtb397 ON qrtb400 = qrtb411"
                 " WHERE qrtb414 = 201 GROUP BY qrtb411"),
            "女0017|2201");
  ExpectAthletesFollowTheFile();
  // The list keeps the loader's order: grade, class, sex.
  std::vector<std::string> order = ListedNames();
  EXPECT_THAT(std::vector<std::string>(order.begin(), order.begin() + 9),
              ElementsAre("男0001", "男0002", "男0003", "男0004", "女0005", "女0006", "女0007", "女0008", "男0009"));

  EXPECT_EQ(Operation(1), "3");  // athletes exist now
  EXPECT_EQ(Operation(3), "10");
  EXPECT_EQ(MeetFileRows(), before);
  ExpectAthletesFollowTheFile();
  {
    DataGuard hold(DataLock);
    EXPECT_TRUE(Model().AthleteList.empty());
    EXPECT_EQ(Model().RegistrationClosed, 0);
  }

  // Rehearsed as far as its order book and a counted round: its deletion
  // leaves no entrants, print, count or book behind.
  EXPECT_EQ(Operation(1), "1");
  ASSERT_EQ(Page("/WebBaoMingClose.html?ID=2"), "3");
  ASSERT_EQ(Page("/MakeCXC1991.html"), "1");
  WaitForOrderBookWorker();
  int result = 10;
  for (const std::string& athlete : Split(Rows("SELECT qrtb484 FROM qrtb479 WHERE qrtb481 = 3")))
    Page("/upcj.html?Dstr=3=" + athlete + "=0=-65535=-65535=-65535=1=4." + std::to_string(++result));
  ASSERT_GT(MeetInt("SELECT qrtb458 FROM qrtb444"), 0);
  EXPECT_EQ(Operation(3), "10");
  EXPECT_EQ(Rows("SELECT qrtb452, qrtb455, qrtb456, qrtb457, qrtb458 FROM qrtb444"), "0|0|0|0|0");
  EXPECT_EQ(MeetInt("SELECT count(*) FROM qrtb518"), 0);
  EXPECT_EQ(ListedRounds(), StoredRounds());
  EXPECT_EQ(Get("/GetPbDate.html?CjNo=0&ClassId=0").body, "Start");
  DataGuard hold(DataLock);
  EXPECT_TRUE(Model().DocumentList.empty());
}

TEST_F(AdvancedOperationTest, DeletingTheRehearsalOpensRegistrationAndKeepsRealAthletes) {
  OpenMeetAndSignIn(RegistrationMeetSql() + kQuotaSql);
  EXPECT_EQ(Operation(1), "1");
  // Registration closed meanwhile: removing the rehearsal opens it in the
  // file too.
  {
    DataGuard hold(DataLock);
    RunMeetSql("UPDATE qrtb331 SET qrtb341 = 1");
    Model().RegistrationClosed = 1;
  }
  // One athlete renamed by hand is a real athlete: nothing goes.
  {
    DataGuard hold(DataLock);
    RunMeetSql("UPDATE qrtb409 SET qrtb410 = '张男01' WHERE qrtb410 = '男0002'");
    Model().AthleteList[1].Name = "张男01";
  }
  const std::string with_real = MeetFileRows();
  EXPECT_EQ(Operation(3), "11");
  EXPECT_EQ(MeetFileRows(), with_real);
  ExpectAthletesFollowTheFile();
  {
    DataGuard hold(DataLock);
    RunMeetSql("UPDATE qrtb409 SET qrtb410 = '男0002' WHERE qrtb410 = '张男01'");
    Model().AthleteList[1].Name = "男0002";
  }
  EXPECT_EQ(Operation(3), "10");
  EXPECT_EQ(MeetInt("SELECT qrtb341 FROM qrtb331"), 0);
  ExpectAthletesFollowTheFile();
}

TEST_F(AdvancedOperationTest, FailedWritesLeaveTheRehearsalAsItWas) {
  OpenMeetAndSignIn(RegistrationMeetSql() + kQuotaSql);
  const std::string empty = MeetFileRows();
  FailOn("INSERT", "qrtb397", "no_entries");
  EXPECT_EQ(Operation(1), "0");
  DropTrigger("no_entries");
  EXPECT_EQ(MeetFileRows(), empty);
  ExpectAthletesFollowTheFile();

  EXPECT_EQ(Operation(1), "1");
  const std::string made = MeetFileRows();
  FailOn("UPDATE", "qrtb331", "no_settings");
  EXPECT_EQ(Operation(3), "11");
  DropTrigger("no_settings");
  EXPECT_EQ(MeetFileRows(), made);
  ExpectAthletesFollowTheFile();
}

TEST_F(AdvancedOperationTest, ARehearsalNeedsAnEmptyAndSetUpMeet) {
  admin_ = LoginAdmin();
  EXPECT_EQ(Operation(1), "5");  // no meet open
  OpenMeetAndSignIn(RegistrationMeetSql() + "DELETE FROM qrtb467 WHERE qrtb469 = 22;");
  EXPECT_EQ(Operation(1), "4");  // a group without events
  for (int operation : {0, 2, 4, 9, 12}) EXPECT_EQ(Operation(operation), "0") << operation;
  EXPECT_EQ(MeetInt("SELECT count(*) FROM qrtb409"), 0);
}

// A group of 120 athletes per class and 35 relays of two: every athlete is
// made, and nobody holds more than 30 entries.
TEST_F(AdvancedOperationTest, LargeGroupsStayWithinWhatAnAthleteCanHold) {
  OpenMeetAndSignIn(RegistrationMeetSql() +
                    "UPDATE qrtb373 SET qrtb377 = 120 WHERE qrtb374 = 11;"
                    "INSERT INTO qrtb306 (qrtb307, qrtb308, qrtb309, qrtb310, qrtb311, qrtb312, qrtb313, qrtb314,"
                    " qrtb315, qrtb316, qrtb317, qrtb318, qrtb319, qrtb320, qrtb321, qrtb322)"
                    " WITH RECURSIVE n(i) AS (SELECT 1 UNION ALL SELECT i + 1 FROM n WHERE i < 35)"
                    " SELECT 1000 + i, '接力' || i, 1, 2, 2, 0, 1, 1, 1, 1, 1, '秒', 1, 2, '', '' FROM n;"
                    "INSERT INTO qrtb467 (qrtb469, qrtb470) SELECT 11, qrtb307 FROM qrtb306 WHERE qrtb307 > 1000;"
                    "INSERT INTO qrtb425 (qrtb426, qrtb427, qrtb428, qrtb429, qrtb430, qrtb431, qrtb434, qrtb436)"
                    " SELECT 10000 + qrtb307, 11, qrtb307, 0, 0, 6, 1, 0 FROM qrtb306 WHERE qrtb307 > 1000;");
  EXPECT_EQ(Operation(1), "1");
  EXPECT_EQ(Rows("SELECT qrtb414, count(*) FROM qrtb409 WHERE qrtb415 = 1 GROUP BY 1"), "101|120\n102|120");
  EXPECT_EQ(MeetInt("SELECT max(n) FROM (SELECT count(*) n FROM qrtb397 GROUP BY qrtb400)"), 30);
  // Each relay still gets its team of two per class.
  EXPECT_EQ(Rows("SELECT DISTINCT count(*) FROM qrtb397 JOIN qrtb409 ON qrtb400 = qrtb411"
                 " WHERE qrtb399 > 10000 GROUP BY qrtb399, qrtb414"),
            "2");
  ExpectAthletesFollowTheFile();
}

// The order-book meet drawn by hand: two lanes, numbered athletes and the
// order book's record.
const std::string kDrawnSql =
    "UPDATE qrtb409 SET qrtb412 = 100 + qrtb411;"
    "INSERT INTO qrtb479 (qrtb480, qrtb481, qrtb482, qrtb483, qrtb484, qrtb486, qrtb487, qrtb488, qrtb489)"
    " VALUES (1, 3, 1, 1, 1, 0, 0, 0, 0), (2, 3, 1, 2, 4, 0, 0, 0, 0);"
    "INSERT INTO qrtb518 (qrtb519, qrtb520, qrtb521, qrtb522, qrtb523) VALUES (1, 1, 0, '5月20日8时0分', 'book.doc');";

TEST_F(AdvancedOperationTest, HeatsAndNumbersGoOnlyWithStaffCredentials) {
  OpenMeetAndSignIn(RegistrationMeetSql() + OrderBookMeetSql() + kDrawnSql);
  const std::string password = meet_->admin_password();
  const std::string drawn = MeetFileRows();
  EXPECT_EQ(Operation(10, "admin", "wrong"), "0");
  EXPECT_EQ(RoleOf(admin_), 0);  // the check signed the session out
  EXPECT_EQ(MeetFileRows(), drawn);

  admin_ = LoginAdmin();
  EXPECT_EQ(Operation(10, "admin", ""), "0");
  admin_ = LoginAdmin();
  {
    DataGuard hold(DataLock);
    RunMeetSql("UPDATE qrtb479 SET qrtb485 = 1234 WHERE qrtb480 = 1");
    Model().LaneList[0].Result = 1234;
  }
  EXPECT_EQ(Operation(10, "admin", password), "7");  // a result is entered
  {
    DataGuard hold(DataLock);
    RunMeetSql("UPDATE qrtb479 SET qrtb485 = NULL WHERE qrtb480 = 1");
    Model().LaneList[0].Result = kNoResult;
  }
  EXPECT_EQ(MeetFileRows(), drawn);
  FailOn("DELETE", "qrtb518", "keep_book");
  EXPECT_EQ(Operation(10, "admin", password), "0");
  DropTrigger("keep_book");
  EXPECT_EQ(MeetFileRows(), drawn);
  ExpectAthletesFollowTheFile();

  EXPECT_EQ(Operation(10, "admin", password), "6");
  EXPECT_EQ(MeetInt("SELECT count(*) FROM qrtb479") + MeetInt("SELECT count(*) FROM qrtb518") +
                MeetInt("SELECT count(qrtb412) FROM qrtb409"),
            0);
  EXPECT_EQ(MeetInt("SELECT count(*) FROM qrtb397"), 22);  // the entries stay
  ExpectAthletesFollowTheFile();
  DataGuard hold(DataLock);
  EXPECT_TRUE(Model().DocumentList.empty());
  for (const AthleteNode& athlete : Model().AthleteList) EXPECT_EQ(athlete.BibText, "") << athlete.Id;
}

TEST_F(AdvancedOperationTest, RenumberingStartsAgainFromTheClasses) {
  OpenMeetAndSignIn(RegistrationMeetSql() + OrderBookMeetSql() + kDrawnSql);
  const std::string password = meet_->admin_password();
  const std::string drawn = MeetFileRows();
  {
    DataGuard hold(DataLock);
    RunMeetSql(
        "CREATE TEMP TRIGGER no_new_bibs BEFORE UPDATE ON qrtb409 WHEN NEW.qrtb412 IS NOT NULL"
        " BEGIN SELECT RAISE(ABORT, 'forced failure'); END;");
  }
  EXPECT_EQ(Operation(11, "admin", password), "9");  // the numbers were cleared, then none could be given
  DropTrigger("no_new_bibs");
  EXPECT_EQ(MeetFileRows(), drawn);
  ExpectAthletesFollowTheFile();

  EXPECT_EQ(Operation(11, "admin", password), "8");
  // Class by class, boys then girls, each block as long as the group's
  // athletes per class (3) or its athletes.
  EXPECT_EQ(Rows("SELECT qrtb411, qrtb412 FROM qrtb409 ORDER BY qrtb411"),
            "1|1\n2|2\n3|3\n4|4\n5|8\n6|9\n7|10\n8|11\n9|5\n10|12\n11|15\n12|16");
  ExpectAthletesFollowTheFile();
  DataGuard hold(DataLock);
  EXPECT_EQ(FindAthleteById(5)->BibText, "008");
}

}  // namespace

}  // namespace korva
