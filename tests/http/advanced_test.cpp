// The advanced functions over loopback: the operations of "/gjgn.html"
// (a rehearsal registration made and removed without a trace, heats and
// numbers deleted, athletes renumbered), the fragments of "/getgnstr.html"
// and the round settings of "/ajaxfun.html"; after every answer, a refusal
// and a failed write the file and the lists agree.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "database/lookups.h"
#include "database/setup_stage.h"
#include "pages/meet/order_book_generation.h"
#include "tests/http/server_fixture.h"
#include "tests/testing/order_book_meet.h"
#include "tests/testing/sql_file.h"

namespace korva {

namespace {

using ::testing::AllOf;
using ::testing::ElementsAre;
using ::testing::HasSubstr;
using ::testing::Not;
using ::testing::StartsWith;

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
  // The list keeps the loader's order: grade, class, sex.
  std::vector<std::string> order = ListedNames();
  EXPECT_THAT(std::vector<std::string>(order.begin(), order.begin() + 9),
              ElementsAre("男0001", "男0002", "男0003", "男0004", "女0005", "女0006", "女0007", "女0008", "男0009"));
  ExpectListsFollowTheFile();

  EXPECT_EQ(Operation(1), "3");  // athletes exist now
  EXPECT_EQ(Operation(3), "10");
  EXPECT_EQ(MeetFileRows(), before);
  ExpectListsFollowTheFile();
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
  ExpectListsFollowTheFile();
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
  ExpectListsFollowTheFile();
  {
    DataGuard hold(DataLock);
    RunMeetSql("UPDATE qrtb409 SET qrtb410 = '男0002' WHERE qrtb410 = '张男01'");
    Model().AthleteList[1].Name = "男0002";
  }
  EXPECT_EQ(Operation(3), "10");
  EXPECT_EQ(MeetInt("SELECT qrtb341 FROM qrtb331"), 0);
  ExpectListsFollowTheFile();
}

TEST_F(AdvancedOperationTest, AFailedDeletionLeavesTheRehearsalAsItWas) {
  OpenMeetAndSignIn(RegistrationMeetSql() + kQuotaSql);
  EXPECT_EQ(Operation(1), "1");
  const std::string made = MeetFileRows();
  FailOn("UPDATE", "qrtb331", "no_settings");
  EXPECT_EQ(Operation(3), "11");
  DropTrigger("no_settings");
  EXPECT_EQ(MeetFileRows(), made);
  ExpectListsFollowTheFile();
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
  ExpectListsFollowTheFile();
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
  ExpectListsFollowTheFile();

  EXPECT_EQ(Operation(10, "admin", password), "6");
  EXPECT_EQ(MeetInt("SELECT count(*) FROM qrtb479") + MeetInt("SELECT count(*) FROM qrtb518") +
                MeetInt("SELECT count(qrtb412) FROM qrtb409"),
            0);
  EXPECT_EQ(MeetInt("SELECT count(*) FROM qrtb397"), 22);  // the entries stay
  ExpectListsFollowTheFile();
  DataGuard hold(DataLock);
  EXPECT_TRUE(Model().DocumentList.empty());
  for (const AthleteNode& athlete : Model().AthleteList) EXPECT_EQ(athlete.BibText, "") << athlete.Id;
}

TEST_F(AdvancedOperationTest, RenumberingStartsAgainFromTheClasses) {
  OpenMeetAndSignIn(RegistrationMeetSql() + OrderBookMeetSql() + kDrawnSql);
  const std::string password = meet_->admin_password();
  const std::string drawn = MeetFileRows();
  EXPECT_TRUE(FailOn("UPDATE", "qrtb409", "no_new_bibs", "NEW.qrtb412 IS NOT NULL"));
  EXPECT_EQ(Operation(11, "admin", password), "9");  // the numbers were cleared, then none could be given
  DropTrigger("no_new_bibs");
  EXPECT_EQ(MeetFileRows(), drawn);
  ExpectListsFollowTheFile();

  EXPECT_EQ(Operation(11, "admin", password), "8");
  // Class by class, boys then girls, each block as long as the group's
  // athletes per class (3) or its athletes.
  EXPECT_EQ(Rows("SELECT qrtb411, qrtb412 FROM qrtb409 ORDER BY qrtb411"),
            "1|1\n2|2\n3|3\n4|4\n5|8\n6|9\n7|10\n8|11\n9|5\n10|12\n11|15\n12|16");
  ExpectListsFollowTheFile();
  DataGuard hold(DataLock);
  EXPECT_EQ(FindAthleteById(5)->BibText, "008");
}

const std::string kTip = "<img src=\"tip.jpg\" />提示：";
const std::string kBack = "<br /><input name=\"AN5\" type=\"button\" onclick=\"GetGnStr(3)\" value=\"返回\" />";

class AdvancedPageTest : public ServerTest {
 protected:
  // The order-book meet, numbered: athlete n holds bib 10 + n; athlete 13
  // "12号" (class 102) holds 30.
  void OpenNumberedMeet(const std::string& extra_sql = {}) {
    OpenMeetAndSignIn(RegistrationMeetSql() + OrderBookMeetSql() +
                      "UPDATE qrtb409 SET qrtb412 = 10 + qrtb411;"
                      "INSERT INTO qrtb409 (qrtb411, qrtb410, qrtb412, qrtb413, qrtb414, qrtb415, qrtb416)"
                      " VALUES (13, '12号', 30, 1, 102, 1, 0);" +
                      extra_sql);
  }

  // The fragment of a Dstr value whose GBK text parts are already encoded.
  std::string Piece(const std::string& dstr) { return Page("/getgnstr.html?Dstr=" + dstr); }
};

TEST_F(AdvancedPageTest, ShortOrUnknownPiecesAreEmpty) {
  OpenNumberedMeet();
  EXPECT_EQ(Piece("3"), "");  // fewer than five numbers
  EXPECT_EQ(Piece("55-0-0-0-0"), "");
  EXPECT_EQ(Piece("x-0-0-0-0"), "");
  EXPECT_THAT(Piece("3-0-0-0-0"),
              StartsWith("<br /><fieldset style='padding: 2' id='mnbm'><legend>修改运动员</legend>"));
}

TEST_F(AdvancedPageTest, SearchFindsNumbersAndNamesAndOpensTheEditForm) {
  OpenNumberedMeet();
  auto names = [](const std::string& fragment) {
    std::string found;
    for (std::size_t at = fragment.find("<tr><td>"); at != std::string::npos; at = fragment.find("<tr><td>", at + 1))
      found += fragment.substr(at + 8, fragment.find("</td>", at) - at - 8) + ";";
    return found;
  };
  const std::string not_found = "<img src=\"tip.jpg\" />未能找到任何运动员，请确认您输入的姓名或者号码是正确的。";
  // "12": bib 12 (张一) and the name "12号".
  const std::string twelve = Piece("4-0-0-0-0-12");
  EXPECT_EQ(names(twelve), "张一;12号;");
  EXPECT_THAT(twelve, AllOf(HasSubstr("<tr><td>张一</td><td>男</td><td>012</td><td>一年级01班</td>"),
                            HasSubstr("onclick=\"GetGnStr('5-0-0-0-2')\" value=\"修改运动员的信息\""),
                            HasSubstr("onclick=\"GetGnStr('6-0-0-0-2')\" value=\"修改运动员的比赛\""),
                            HasSubstr("<legend>搜索结果</legend>")));
  EXPECT_EQ(names(Piece("4-0-0-0-0-" + FormEncode("张") + "-0-0-0-0")), "张一;张二;张三;");
  // The bytes of "乓" stand across the two characters of "张一": no match.
  EXPECT_EQ(Piece("4-0-0-0-0-" + FormEncode("乓")), not_found);
  EXPECT_EQ(names(Piece("4-0-0-0-0-xmp")), "&lt;xmp&gt;&amp;;");
  EXPECT_EQ(Piece("4-0-0-0-0-99"), not_found);
  EXPECT_EQ(Piece("4-0-0-0-0"), not_found);

  EXPECT_THAT(Piece("5-0-0-0-2"), AllOf(HasSubstr("id=\"sthaoma\" value=\"012\""), HasSubstr("SaveStInfo(2)")));
  EXPECT_THAT(Piece("5-0-0-0-1"), HasSubstr("value=\"&lt;xmp&gt;&amp;\""));
  EXPECT_EQ(Piece("5-0-0-0-99"), kTip + "数据错误，错误号：883341！");
}

TEST_F(AdvancedPageTest, SavingANameAndNumberChecksEachPart) {
  OpenNumberedMeet();
  const std::string before = MeetFileRows();
  const std::string zhang_si = FormEncode("张四");
  const struct {
    std::string dstr;
    std::string reply;
  } refusals[] = {
      {"7-0-0-0-2", kTip + "您提交的信息有错误！（0）"},
      {"7-0-0-0-2-" + zhang_si, kTip + "您提交的信息有错误！（1）"},
      {"7-0-0-0-2--12", kTip + "您提交的信息有错误！（1）"},
      {"7-0-0-0-2-" + FormEncode("张张张张张a") + "-12", kTip + "您提交的信息有错误！（1）"},  // 11 bytes
      {"7-0-0-0-2-" + zhang_si + "-12a", kTip + "运动员号码必须为数字，您的修改已失败！（2）"},
      {"7-0-0-0-2-" + zhang_si + "-000", kTip + "您提交的信息有错误，请检查后再提交！（3）"},
      {"7-0-0-0-2-" + zhang_si + "-1234567890", kTip + "您提交的信息有错误，请检查后再提交！（3）"},
      {"7-0-0-0-99-" + zhang_si + "-12", kTip + "您提交的信息有错误！（4）"},
      {"7-0-0-0-2-" + FormEncode("张二") + "-12", kTip + "该姓名已被使用，修改失败！" + kBack},  // a classmate
      {"7-0-0-0-2-" + zhang_si + "-13", kTip + "该号码已被使用，修改失败！" + kBack},
  };
  for (const auto& refusal : refusals) EXPECT_EQ(Piece(refusal.dstr), refusal.reply) << refusal.dstr;
  FailOn("UPDATE", "qrtb409", "no_athletes");
  EXPECT_EQ(Piece("7-0-0-0-2-" + zhang_si + "-99"), kTip + "数据库写入出现错误，修改失败！" + kBack);
  DropTrigger("no_athletes");
  EXPECT_EQ(MeetFileRows(), before);
  ExpectListsFollowTheFile();

  // A name of another class is free; leading zeros are no part of a number.
  EXPECT_EQ(Piece("7-0-0-0-2-" + FormEncode("李一") + "-0099"),
            kTip +
                "修改成功！新的信息如下：<br />\r\n运动员姓名：李一\r\n<br />运动员号码：099\r\n<br />"
                "<input name=\"AN5\" type=\"button\" onclick=\"GetGnStr(3)\" value=\"返回\" /><br />");
  EXPECT_EQ(MeetText("SELECT qrtb410, qrtb412 FROM qrtb409 WHERE qrtb411 = 2"), "李一|99");
  ExpectListsFollowTheFile();
  DataGuard hold(DataLock);
  EXPECT_EQ(FindAthleteById(2)->BibText, "099");
}

TEST_F(AdvancedPageTest, RoundSettingsPanels) {
  OpenMeetAndSignIn(ReadTestingSql("scoring_meet.sql"));
  const std::string explanation = "<p>说明：<br />1、此功能可以在比赛时调整各项比赛的预赛录取人数与决赛取名次数！";
  EXPECT_THAT(Piece("80-0-0-0-0"),
              AllOf(HasSubstr("<td>1</td>\r\n<td>一年级男子跳远</td>\r\n<td>6人</td>\r\n<td></td>"),
                    HasSubstr("onclick=\"changeBSSJ(13,1102,12);\" value=\"减\"  title=\"减少决赛取名次数\"/>\r\n"
                              "取前<span id=\"12\">3</span>名"),
                    HasSubstr("<select id=\"fzC1\" onchange=\"changeBsFz(1,1102);\">\r\n"
                              "<option value=\"1\" selected=\"selected\">八名制</option>"),
                    HasSubstr("<td>一年级女子跳远</td>\r\n<td>21人</td>"), HasSubstr("取前<span id=\"22\">20</span>名"),
                    HasSubstr(explanation)));
  EXPECT_THAT(Piece("70-0-0-0-0"), AllOf(HasSubstr("<td>一年级男子4x100米接力(团队赛)</td>\r\n<td>3组</td>"),
                                         HasSubstr("onclick=\"changeBSSJ(11,1201,21);\""), Not(HasSubstr("五项全能"))));
  // A group scheme that is gone: the warning and an empty first option.
  RunMeetSql("UPDATE qrtb373 SET qrtb382 = 9 WHERE qrtb374 = 11;");
  {
    DataGuard hold(DataLock);
    FindGroupById(11)->SchemeId = 9;
  }
  EXPECT_THAT(Piece("80-0-0-0-0"),
              HasSubstr("<td><font color=\"#FF0000\">分制缺失，请重选分制</font><select id=\"fzC1\" "
                        "onchange=\"changeBsFz(1,1102);\">\r\n<option value=\"0\"></option>"));
  // Without track contests only the sentence and the explanation stay.
  RunMeetSql("DELETE FROM qrtb425 WHERE qrtb428 IN (901, 903, 905);");
  {
    DataGuard hold(DataLock);
    std::erase_if(Model().ContestList,
                  [](const ContestNode& c) { return c.EventId == 901 || c.EventId == 903 || c.EventId == 905; });
  }
  EXPECT_THAT(Piece("70-0-0-0-0"), StartsWith("<p>当前运动会无径赛数据！</p>\r\n" + explanation));
}

TEST_F(AdvancedPageTest, PrintAdministratorsGetTheReportsOnly) {
  OpenNumberedMeet();
  AddStaff("40, 'printer', 'secret1', 6, 0, 0, ''");
  SessionCookie printer = SignInStaff("printer", "secret1");
  for (const char* piece : {"1-0-0-0-0", "3-0-0-0-0", "5-0-0-0-2", "70-0-0-0-0"})
    EXPECT_EQ(Get(std::string("/getgnstr.html?Dstr=") + piece, printer).body, "") << piece;
  const std::string before = MeetFileRows();
  EXPECT_EQ(Get("/getgnstr.html?Dstr=7-0-0-0-2-" + FormEncode("李一") + "-99", printer).body, "");
  EXPECT_EQ(MeetFileRows(), before);
}

class AjaxFunctionTest : public ServerTest {
 protected:
  void OpenScoringMeet(const std::string& extra_sql = {}) {
    OpenMeetAndSignIn(ReadTestingSql("scoring_meet.sql") + extra_sql);
  }

  std::string Ajax(const std::string& dstr) { return Page("/ajaxfun.html?Dstr=" + dstr); }


  static void SetHeats(int event_id, int yu_jue) {
    DataGuard hold(DataLock);
    RunMeetSql("UPDATE qrtb306 SET qrtb312 = " + std::to_string(yu_jue) +
               " WHERE qrtb307 = " + std::to_string(event_id));
    FindEventById(event_id)->YuJueType = yu_jue;
  }
};

// The girls' 100米 runs a preliminary (round 6) and a final (round 7) while
// the event asks for none; the boys' runs one final (round 1).
TEST_F(AjaxFunctionTest, PreliminariesFollowTheEventsHeatsSetting) {
  OpenScoringMeet();
  EXPECT_EQ(Ajax("1%20901%200%200%200"), "一年级女子100米[预赛] 已删除;<br>\r\n");
  // The preliminary took the final's slot and places; the final went with
  // its lanes.
  EXPECT_EQ(MeetText("SELECT qrtb447, qrtb449, qrtb450, qrtb453 FROM qrtb444 WHERE qrtb445 = 6"), "3|2|1|6");
  EXPECT_EQ(MeetInt("SELECT count(*) FROM qrtb444 WHERE qrtb445 = 7"), 0);
  EXPECT_EQ(MeetInt("SELECT qrtb429 FROM qrtb425 WHERE qrtb426 = 1201"), 0);
  EXPECT_EQ(MeetInt("SELECT count(*) FROM qrtb479 WHERE qrtb481 = 6"), 10);
  ExpectListsFollowTheFile();
  EXPECT_EQ(Ajax("1%20901"), "");  // every contest matches now

  SetHeats(901, 1);
  EXPECT_EQ(Ajax("1+901"),
            "一年级男子100米[预赛] 已添加，请转至“日程安排”安排比赛;<br>\r\n"
            "一年级女子100米[预赛] 已添加，请转至“日程安排”安排比赛;<br>\r\n");
  // The single finals became preliminaries with the contests' qualifiers;
  // new finals with the contests' places wait for the schedule.
  EXPECT_EQ(Rows("SELECT qrtb445, qrtb446, qrtb447, qrtb449, qrtb450, qrtb452, qrtb453 FROM qrtb444 ORDER BY qrtb445"),
            "1|1101|1|1|1|10|0\n2|1102|3|1|2|6|3\n3|1103|3|1|3|8|6\n4|1104|3|1|4|2|6\n5|1105|3|1|5|3|6\n"
            "6|1201|1|2|1|10|8\n8|1202|3|2|2|21|20\n9|1101|2|0|0|0|6\n10|1201|2|0|0|0|6");
  {
    DataGuard hold(DataLock);
    const auto& rounds = Model().RoundList;
    auto at = [&](int id) {
      return std::find_if(rounds.begin(), rounds.end(), [&](const RoundNode& r) { return r.Id == id; });
    };
    EXPECT_EQ(at(1) + 1, at(9));  // a new final follows its preliminary
    EXPECT_EQ(at(6) + 1, at(10));
  }
  ExpectListsFollowTheFile();
}

TEST_F(AjaxFunctionTest, RoundsWithResultsKeepTheirPreliminaries) {
  struct Case {
    const char* name;
    const char* sql;
    const char* reply;
  } cases[] = {
      {"final result",
       "INSERT INTO qrtb479 (qrtb480, qrtb481, qrtb482, qrtb483, qrtb484, qrtb485, qrtb486)"
       " VALUES (900, 7, 1, 1, 101, 1234, 0);",
       "一年级女子100米已有决赛成绩，无法删除预赛！"},
      {"final status",
       "INSERT INTO qrtb479 (qrtb480, qrtb481, qrtb482, qrtb483, qrtb484, qrtb486)"
       " VALUES (900, 7, 1, 1, 101, 2);",
       "一年级女子100米已有决赛成绩，无法删除预赛！"},
      {"preliminary result", "UPDATE qrtb479 SET qrtb485 = 1234 WHERE qrtb480 = 601;",
       "一年级女子100米已有预赛成绩，无法删除预赛！"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    TearDown();
    SetUp();
    OpenScoringMeet(c.sql);
    const std::string before = MeetFileRows();
    EXPECT_EQ(Ajax("1%20901"), c.reply);
    EXPECT_EQ(MeetFileRows(), before);
    ExpectListsFollowTheFile();
  }
  EXPECT_EQ(Ajax("1%20999"), "找不到比赛项目！");
}

// The boys' 100米 also runs preliminaries (rounds 1 and 9): the second
// contest's final can't be deleted. The first contest keeps its change;
// the second is as it was, in the file and in the lists.
TEST_F(AjaxFunctionTest, AFailedWriteUndoesItsContestOnly) {
  OpenScoringMeet(
      "UPDATE qrtb425 SET qrtb429 = 1, qrtb430 = 8 WHERE qrtb426 = 1101;"
      "UPDATE qrtb444 SET qrtb447 = 1 WHERE qrtb445 = 1;"
      "INSERT INTO qrtb444 (qrtb445, qrtb446, qrtb447, qrtb448, qrtb449, qrtb450, qrtb451, qrtb452, qrtb453)"
      " VALUES (9, 1101, 2, 0, 2, 3, 10, 0, 6);");
  const std::string girls_before = Rows("SELECT * FROM qrtb444 WHERE qrtb446 = 1201") +
                                   Rows("SELECT * FROM qrtb425 WHERE qrtb426 = 1201") +
                                   Rows("SELECT * FROM qrtb479 WHERE qrtb481 IN (6, 7)");
  EXPECT_TRUE(FailOn("DELETE", "qrtb444", "keep_round_7", "OLD.qrtb445 = 7"));
  EXPECT_EQ(Ajax("1%20901"),
            "一年级男子100米[预赛] 已删除;<br>\r\n数据库操作失败，错误号00922，无法删除预赛，请联系开发者！");
  DropTrigger("keep_round_7");
  EXPECT_EQ(MeetText("SELECT qrtb447, qrtb449, qrtb450 FROM qrtb444 WHERE qrtb445 = 1"), "3|2|3");
  EXPECT_EQ(MeetInt("SELECT count(*) FROM qrtb444 WHERE qrtb445 = 9"), 0);
  EXPECT_EQ(Rows("SELECT * FROM qrtb444 WHERE qrtb446 = 1201") + Rows("SELECT * FROM qrtb425 WHERE qrtb426 = 1201") +
                Rows("SELECT * FROM qrtb479 WHERE qrtb481 IN (6, 7)"),
            girls_before);
  ExpectListsFollowTheFile();

  // An addition whose new final can't be stored changes nothing.
  SetHeats(902, 1);
  const std::string before = MeetFileRows();
  FailOn("INSERT", "qrtb444", "no_rounds");
  EXPECT_EQ(Ajax("1%20902"), "数据库操作失败，错误号00922，无法添加预赛，请联系开发者！");
  DropTrigger("no_rounds");
  EXPECT_EQ(MeetFileRows(), before);
  ExpectListsFollowTheFile();
}

TEST_F(AjaxFunctionTest, QualifiersPlacesAndSchemesStepByStep) {
  // Contest 1104 ranks one place; round 7 (the girls' final) has no
  // entrants yet.
  OpenScoringMeet("UPDATE qrtb425 SET qrtb431 = 1 WHERE qrtb426 = 1104;");
  struct Step {
    const char* dstr;
    const char* reply;
    const char* contest;  // "prelims|qualifiers|places|scheme" of the contest afterwards
    int contest_id;
    int round_id;  // whose places follow the count
    int round_places;
  } steps[] = {
      {"11%201201%2031%200%200", "31-7", "1|7|6|0", 1201, 6, 7},
      {"12%201201%2031%200%200", "31-8", "1|8|6|0", 1201, 6, 8},
      {"12%201201%2031%200%200", "31-9", "1|9|6|0", 1201, 6, 9},
      {"12%201201%2031%200%200", "31-10", "1|10|6|0", 1201, 6, 10},
      {"12%201201%2031%200%200", "31-10", "1|10|6|0", 1201, 6, 10},  // as many as the entrants
      {"13%201101%2012%200%200", "12-5", "0|0|5|0", 1101, 1, 5},
      {"14%201101%2012%200%200", "12-6", "0|0|6|0", 1101, 1, 6},
      {"14%201201%2022%200%200", "22-7", "1|10|7|0", 1201, 7, 7},  // a final without entrants yet
      {"13%201104%2042%200%200", "42-1", "0|0|1|0", 1104, 4, 6},   // at 1: nothing saved
      {"15%202%201101%200%200", "一年级男子100米比赛的分制被成功定义为“二十名制”！", "0|0|6|2", 1101, 1, 6},
      {"15%201%201202%200%200", "一年级女子跳远比赛的分制被成功定义为“八名制”！", "0|0|20|0", 1202, 8, 20},
  };
  for (const Step& step : steps) {
    SCOPED_TRACE(step.dstr);
    EXPECT_EQ(Ajax(step.dstr), step.reply);
    EXPECT_EQ(MeetText("SELECT qrtb429, qrtb430, qrtb431, qrtb436 FROM qrtb425 WHERE qrtb426 = " +
                       std::to_string(step.contest_id)),
              step.contest);
    EXPECT_EQ(MeetInt("SELECT qrtb453 FROM qrtb444 WHERE qrtb445 = " + std::to_string(step.round_id)),
              step.round_places);
    ExpectListsFollowTheFile();
  }
}

}  // namespace

}  // namespace korva
