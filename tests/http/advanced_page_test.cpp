// The fragments of "/getgnstr.html" over loopback: the boxes, the athlete
// search and its edit form, the save of a name and number with each of its
// refusals, the add and join/withdraw panels, the round settings panels,
// and who may ask for which piece.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "database/loaders.h"
#include "database/lookups.h"
#include "tests/http/server_fixture.h"
#include "tests/testing/order_book_meet.h"
#include "tests/testing/sql_file.h"

namespace korva {

namespace {

using ::testing::AllOf;
using ::testing::HasSubstr;
using ::testing::Not;
using ::testing::StartsWith;

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

  EXPECT_THAT(Piece("5-0-0-0-2"),
              AllOf(HasSubstr("<legend>修改运动员信息</legend>"), HasSubstr("id=\"stname\" value=\"张一\""),
                    HasSubstr("id=\"sthaoma\" value=\"012\""), HasSubstr("性别：男 班级：一年级01班"),
                    HasSubstr("id=\"oldname\" value=\"张一\""), HasSubstr("onclick=\"SaveStInfo(2)\"")));
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
  EXPECT_EQ(ListedAthletes(), StoredAthletes());

  // A name of another class is free; leading zeros are no part of a number.
  EXPECT_EQ(Piece("7-0-0-0-2-" + FormEncode("李一") + "-0099"),
            kTip +
                "修改成功！新的信息如下：<br />\r\n运动员姓名：李一\r\n<br />运动员号码：099\r\n<br />"
                "<input name=\"AN5\" type=\"button\" onclick=\"GetGnStr(3)\" value=\"返回\" /><br />");
  EXPECT_EQ(MeetText("SELECT qrtb410, qrtb412 FROM qrtb409 WHERE qrtb411 = 2"), "李一|99");
  EXPECT_EQ(ListedAthletes(), StoredAthletes());
  DataGuard hold(DataLock);
  EXPECT_EQ(FindAthleteById(2)->BibText, "099");
}

TEST_F(AdvancedPageTest, AddAndJoinWithdrawPanels) {
  OpenNumberedMeet();
  // Class 101's boys are full (four of three); class 102's girls have room.
  EXPECT_THAT(Piece("2-0-0-0-0"), AllOf(HasSubstr("onchange=\"AddStCh()\""), Not(HasSubstr("value=\"1-101-1-0\""))));
  EXPECT_THAT(Piece("2-1-102-2-0"), AllOf(HasSubstr("value=\"1-102-2-0\" selected>一年级02班女子组"),
                                          HasSubstr("name=\"stname\"")));

  // 王芳 (athlete 9) runs the girls' 100米; before the order book her
  // events are the class teacher's to change.
  EXPECT_THAT(Piece("6-0-0-0-9"), HasSubstr("onClick=\"TuiSanAndCanSai(901,9,1,'100米');\""));
  const std::string undrawn = MeetFileRows();
  EXPECT_THAT(Piece("8-901-0-0-9"), HasSubstr("运动会还未生成秩序册"));
  EXPECT_THAT(Piece("9-902-0-0-9"), HasSubstr("运动会还未生成秩序册"));
  EXPECT_EQ(MeetFileRows(), undrawn);

  // Drawn: she leaves the event with her lane, and joins it again; the
  // round counts its entrants each time.
  RunMeetSql(
      "INSERT INTO qrtb479 (qrtb480, qrtb481, qrtb482, qrtb483, qrtb484, qrtb486, qrtb487, qrtb488, qrtb489)"
      " VALUES (1, 4, 1, 1, 9, 0, 0, 0, 0), (2, 4, 1, 2, 10, 0, 0, 0, 0);"
      "UPDATE qrtb444 SET qrtb452 = 2 WHERE qrtb445 = 4;");
  {
    DataGuard hold(DataLock);
    ASSERT_EQ(0, LoadLanes());
    ASSERT_EQ(0, LoadRounds());
  }
  EXPECT_THAT(Piece("8-901-0-0-9"), Not(HasSubstr("错误")));
  EXPECT_EQ(MeetInt("SELECT count(*) FROM qrtb397 WHERE qrtb400 = 9") +
                MeetInt("SELECT count(*) FROM qrtb479 WHERE qrtb484 = 9"),
            0);
  EXPECT_EQ(MeetInt("SELECT qrtb452 FROM qrtb444 WHERE qrtb445 = 4"), 1);
  EXPECT_THAT(Piece("9-901-0-0-9"), Not(HasSubstr("错误")));
  EXPECT_EQ(Rows("SELECT qrtb399 FROM qrtb397 WHERE qrtb400 = 9") + "|" +
                Rows("SELECT qrtb481 FROM qrtb479 WHERE qrtb484 = 9"),
            "1201|4");
  EXPECT_EQ(MeetInt("SELECT qrtb452 FROM qrtb444 WHERE qrtb445 = 4"), 2);
  EXPECT_EQ(ListedAthletes(), StoredAthletes());
  EXPECT_EQ(ListedRounds(), StoredRounds());

  RunMeetSql("UPDATE qrtb373 SET qrtb377 = 0;");
  {
    DataGuard hold(DataLock);
    for (GroupNode& group : Model().GroupList) group.AthletesPerClass = 0;
  }
  EXPECT_THAT(Piece("2-0-0-0-0"), HasSubstr("所有班级都已经报满，没有班级可以再添加运动员了。"));
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
  const std::string track = Piece("70-0-0-0-0");
  EXPECT_THAT(track, AllOf(HasSubstr("<td>4</td>\r\n<td>一年级男子4x100米接力(团队赛)</td>\r\n<td>3组</td>"),
                           HasSubstr("<td>2</td>\r\n<td>一年级女子100米</td>\r\n<td>10人</td>\r\n<td>\r\n<input "
                                     "name=\"A1\" type=\"button\" onclick=\"changeBSSJ(11,1201,21);\" value=\"减\" "
                                     "title=\"减少预赛录取人数\" />\r\n取<span id=\"21\">8</span>人决\r\n")));
  EXPECT_THAT(track, Not(HasSubstr("五项全能")));

  // A preliminary the draw found needless: its final runs the ten.
  RunMeetSql("UPDATE qrtb444 SET qrtb448 = 1, qrtb452 = 0 WHERE qrtb445 = 6;"
             "UPDATE qrtb444 SET qrtb447 = 3, qrtb452 = 10 WHERE qrtb445 = 7;");
  {
    DataGuard hold(DataLock);
    ASSERT_EQ(0, LoadRounds());
  }
  EXPECT_THAT(Piece("70-0-0-0-0"), HasSubstr("<td>一年级女子100米</td>\r\n<td>10人</td>"));

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

}  // namespace

}  // namespace korva
