// The venue pages over HTTP: saves, the built-in tracks' lanes, refusals
// and deletions, with both files checked after each.
#include <gtest/gtest.h>

#include <string>

#include "database/lookups.h"
#include "database/model.h"
#include "tests/http/server_fixture.h"

namespace korva {

namespace {

std::string VenueFiles() { return Dump({"qrtb292", "base.qrtb123"}); }

std::string VenueBody(int id, const std::string& name, int size, const std::string& unit = "人",
                      const std::string& info = "说明") {
  return "CDID=" + std::to_string(id) + "&ChangDiName=" + FormEncode(name) + "&CDGuiGe=" + std::to_string(size) +
         "&GuiGeDanWei=" + FormEncode(unit) + "&ChangDiInfo=" + FormEncode(info);
}

// A track's form as sent with the lanes in use switched on.
std::string TrackBody(int id, std::initializer_list<int> lanes) {
  std::string body = "CDID=" + std::to_string(id) + "&ChangDiName=x&CDGuiGe=40";
  for (int k = 1; k <= 12; ++k) {
    bool on = std::find(lanes.begin(), lanes.end(), k) != lanes.end();
    body += "&SYHD" + std::to_string(k) + "=" + (on ? "1" : "0");
  }
  return body;
}

class VenuePagesTest : public ServerTest {
 protected:
  void SetUp() override {
    ServerTest::SetUp();
    OpenMeetAndSignIn();
  }
};

TEST_F(VenuePagesTest, VenuesAreSavedInBothFilesAndListed) {
  std::string reply = Send("/AddYard.html", VenueBody(0, "铅球<场>", 8, "人", "a<b>"));
  EXPECT_TRUE(Has(reply, "成功修改比赛场地：<br>")) << reply;
  EXPECT_EQ(Both("qrtb126, qrtb125, qrtb127, qrtb128", "qrtb292", "qrtb123", "qrtb124 = 8"),
            "铅球<场>|8|人|a<b> / 铅球<场>|8|人|a<b>");
  std::string list = Page("/ShowYards.html");
  EXPECT_TRUE(Has(list, "<td>铅球&lt;场&gt;</td><td>8</td><td>人</td><td>a&lt;b&gt;</td>")) << list;
  EXPECT_TRUE(Has(list, "onclick=\"DelCD(1,'直线跑道')\" disabled />"));

  reply = Send("/AddYard.html", VenueBody(8, "铅球场", 50, "组", ""));
  EXPECT_TRUE(Has(reply, "成功修改比赛场地：<br>比赛场地名称：铅球场<br />规格：50组/组<br />")) << reply;
  EXPECT_EQ(Both("qrtb126, qrtb125, qrtb127, qrtb128", "qrtb292", "qrtb123", "qrtb124 = 8"),
            "铅球场|50|组| / 铅球场|50|组|");
  EXPECT_TRUE(Has(Page("/SetupYard.html?id=8"), "<option value=\"50\" selected>50</option>"));
}

TEST_F(VenuePagesTest, RefusedSavesChangeNeitherFile) {
  const std::string before = VenueFiles();
  struct Case {
    std::string body;
    std::string reason;
  };
  const Case cases[] = {
      {VenueBody(4, "跳远沙坑", 0), "提交的数据不正确！"},
      {VenueBody(0, "新场地", 0), "提交的数据不正确！"},
      {VenueBody(0, "新场地", -3), "提交的数据不正确！"},
      {VenueBody(0, "新场地", 51), "提交的数据不正确！"},
      {VenueBody(99, "新场地", 10), "提交的数据不正确！"},
      {VenueBody(0, "跳高场地", 10), "[跳高场地]比赛场地已存在！"},
      {VenueBody(4, "跳高场地", 10), "[跳高场地]比赛场地已存在，请重新命名！"},
      {TrackBody(1, {5}), "至少需要启动2条跑道！"},
  };
  for (const Case& c : cases) EXPECT_TRUE(Has(Send("/AddYard.html", c.body), Failed(c.reason))) << c.reason;
  EXPECT_EQ(VenueFiles(), before);

  FailOn("UPDATE", "base.qrtb123", "no_update");
  EXPECT_TRUE(Has(Send("/AddYard.html", VenueBody(4, "沙坑", 9)), Failed("[沙坑]比赛场地数据写入数据库时出现错误！")));
  EXPECT_EQ(VenueFiles(), before);
  DataGuard hold(DataLock);
  EXPECT_EQ(FindVenueById(4)->Name, "跳远沙坑");
}

TEST_F(VenuePagesTest, TracksSwitchLanesInTheMeetFileAndKeepTheirNames) {
  EXPECT_TRUE(Has(Page("/SetupYard.html?id=3"), "<div id=\"SYD7\" class=\"paodaobsy\">"));
  std::string reply = Send("/AddYard.html", TrackBody(3, {2, 3, 4, 5, 6, 7, 8, 12}));
  EXPECT_TRUE(Has(reply, "比赛场地名称：跨栏道<br />规格：8道/组<br />")) << reply;
  EXPECT_EQ(Both("qrtb126, qrtb125, qrtb133", "qrtb292", "qrtb123", "qrtb124 = 3"),
            "跨栏道|8|2 3 4 5 6 7 8 12  / 跨栏道|6|1 2 3 4 5 6 ");
  EXPECT_TRUE(Has(Page("/SetupYard.html?id=3"), "id=\"SYHD12\" value=\"1\""));
  EXPECT_TRUE(Has(Send("/AddYard.html", TrackBody(3, {1, 12})), "规格：2道/组"));
}

TEST_F(VenuePagesTest, VenuesInUseAndTheTracksStay) {
  const std::string before = VenueFiles();
  EXPECT_TRUE(Has(Send("/DelYard.html", "yardid=5"),
                  Failed("[跳高场地]比赛场地无法删除，因为[跳高]比赛正在使用它！")));
  for (const char* body : {"yardid=1", "yardid=3", "yardid=0", "yardid=99"})
    EXPECT_TRUE(Has(Send("/DelYard.html", body), Failed("网页提交的数据不正确！"))) << body;
  ChangeMeet("UPDATE qrtb306 SET qrtb317 = 1 WHERE qrtb317 = 7;");  // the rope-skipping site falls free
  FailOn("DELETE", "base.qrtb123", "no_delete");
  EXPECT_TRUE(Has(Send("/DelYard.html", "yardid=7"), Failed("[跳绳场地]比赛场地删除时出现数据库操作错误！")));
  EXPECT_EQ(VenueFiles(), before);
  EXPECT_TRUE(Has(Page("/ShowYards.html"), "<td>跳绳场地</td>"));
  DropTrigger("no_delete");

  std::string reply = Send("/DelYard.html", "yardid=7");
  EXPECT_TRUE(Has(reply, "<br>[跳绳场地]比赛场地已删除！")) << reply;
  EXPECT_EQ(Both("COUNT(*)", "qrtb292", "qrtb123", "qrtb124 = 7"), "0 / 0");
  EXPECT_FALSE(Has(Page("/ShowYards.html"), "跳绳场地"));
}

TEST_F(VenuePagesTest, ASizeChangeResizesThePreliminariesAndOffersToDrawAgain) {
  // At the sand pit (4): 跳远 (9) with a preliminary drawn and a final, and
  // 立定跳远 (10) drawn with a result in.
  ChangeMeet(std::string(kGroupSql) +
             "INSERT INTO qrtb467 VALUES (11, 9), (11, 10);"
             "INSERT INTO qrtb425 (qrtb426, qrtb427, qrtb428, qrtb429, qrtb430, qrtb431, qrtb434, qrtb436)"
             " VALUES (1109, 11, 9, 1, 8, 6, 1, 0), (1110, 11, 10, 0, 0, 6, 1, 0);"
             "INSERT INTO qrtb444 (qrtb445, qrtb446, qrtb447, qrtb448, qrtb449, qrtb450, qrtb453, qrtb454)"
             " VALUES (5, 1109, 1, 0, 1, 1, 8, 0), (6, 1109, 2, 0, 2, 1, 6, 0), (7, 1110, 3, 0, 1, 2, 6, 0);"
             "INSERT INTO qrtb479 (qrtb480, qrtb481, qrtb482, qrtb483, qrtb484, qrtb485, qrtb486) VALUES"
             " (1, 5, 1, 1, 1, NULL, 0), (2, 5, 1, 2, 2, NULL, 0), (3, 5, 2, 1, 3, NULL, 0),"
             " (4, 7, 1, 1, 4, 310, 0);");
  std::string same = Send("/AddYard.html", VenueBody(4, "跳远沙坑", 13));
  EXPECT_TRUE(Has(same, "成功修改比赛场地：<br>比赛场地名称：跳远沙坑")) << same;
  EXPECT_FALSE(Has(same, "Qx1"));

  std::string reply = Send("/AddYard.html", VenueBody(4, "跳远沙坑", 10));
  EXPECT_TRUE(Has(reply, "<img src=\"tip.jpg\" /><font color=\"#FF0000\">该场地规格已更改")) << reply;
  EXPECT_TRUE(Has(reply, "比赛场地名称：跳远沙坑<br />规格：10人/组<br /><input name=\"Qx1\""));
  EXPECT_TRUE(Has(reply, "name=\"bs1\" id=\"bs1\" value=\"5\" />"));
  EXPECT_TRUE(Has(reply, "name=\"bs2\" id=\"bs2\" value=\"7\" disabled />"));
  EXPECT_TRUE(Has(reply, "<input type=\"hidden\" name=\"MaxBsI\" id=\"MaxBsI\" value=\"2\" />"));
  EXPECT_TRUE(Has(reply, "action=\"ChongPaiBiSai.html\"><input type=\"hidden\" name=\"str1\""));
  EXPECT_EQ(Both("qrtb125", "qrtb292", "qrtb123", "qrtb124 = 4"), "10 / 10");
  EXPECT_EQ(Rows("SELECT group_concat(qrtb453) FROM qrtb444 WHERE qrtb445 IN (5, 6)"), "10,6");

  // The venue and its preliminaries change together or not at all.
  const std::string before = VenueFiles() + Rows("SELECT group_concat(qrtb453) FROM qrtb444");
  FailOn("UPDATE", "qrtb444", "no_rounds");
  EXPECT_TRUE(Has(Send("/AddYard.html", VenueBody(4, "跳远沙坑", 9)),
                  Failed("[跳远沙坑]比赛场地数据写入数据库时出现错误！")));
  EXPECT_EQ(VenueFiles() + Rows("SELECT group_concat(qrtb453) FROM qrtb444"), before);
  DataGuard hold(DataLock);
  EXPECT_EQ(FindVenueById(4)->Size, 10);
  EXPECT_EQ(FindRoundById(5)->Places, 10);
}

}  // namespace

}  // namespace korva
