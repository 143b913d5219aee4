// The administrator's home page over loopback: the table of the meet's
// steps, link by link and state by state, as the meet moves through its
// set-up and the meet itself.
#include <array>
#include <regex>
#include <string>
#include <vector>

#include "tests/http/server_fixture.h"
#include "web/web_server.h"

namespace korva {

namespace {

// Another round of contest 1.
std::string RoundSql(int id, int session, int order, int disabled) {
  return "INSERT INTO qrtb444 (qrtb445, qrtb446, qrtb447, qrtb448, qrtb449, qrtb450, qrtb451, qrtb452, qrtb453,"
         " qrtb454, qrtb455, qrtb456, qrtb457, qrtb458) VALUES (" +
         std::to_string(id) + ", 1, 3, " + std::to_string(disabled) + ", " + std::to_string(session) + ", " +
         std::to_string(order) + ", 10, 0, 6, 0, 0, 0, 0, 0);\n";
}

// A lane of round 1; result "NULL" for none yet.
std::string LaneSql(int id, int heat, int lane, const char* result, int status) {
  return "INSERT INTO qrtb479 (qrtb480, qrtb481, qrtb482, qrtb483, qrtb484, qrtb485, qrtb486, qrtb487, qrtb488,"
         " qrtb489) VALUES (" +
         std::to_string(id) + ", 1, " + std::to_string(heat) + ", " + std::to_string(lane) + ", 0, " + result +
         ", " + std::to_string(status) + ", 0, 0, 0);\n";
}

class AdminHomeTest : public ServerTest {
 protected:
  void SetUp() override {
    ServerTest::SetUp();
    admin_ = LoginAdmin();
  }
};

const char* const kLinks[8] = {
    "<a href='JianLiYdh.html'>新建<br />运动会</a>",  "<a href=\"SetupMeet.html\">设置<br />运动会</a>",
    "<a href=\"MatchPlan.html\">日程<br />安排</a>",   "<a href=\"ShowBaoMing.html\">运动员<br />报名</a>",
    "<a href=\"BookControl.html\">生成<br />秩序册</a>", "<a href=\"InputScore.html\">录入<br />成绩</a>",
    "<a href=\"Statistics.html\">统计<br />整理</a>",  "<a href=\"CloseYdh.html\">结束<br />运动会</a>",
};
const char* const kPlain[8] = {"建立<br />运动会", "设置<br />运动会", "日程<br />安排", "运动员<br />报名",
                               "生成<br />秩序册", "录入<br />成绩",   "统计<br />整理", "结束<br />运动会"};

// The step cells of the page: eight labels, then eight states.
std::vector<std::string> StepCells(const std::string& page) {
  static const std::regex cell("<td class=\"style1\">(.*?)</td>");
  std::vector<std::string> cells;
  for (auto it = std::sregex_iterator(page.begin(), page.end(), cell); it != std::sregex_iterator(); ++it)
    if ((*it)[1] != "→") cells.push_back((*it)[1]);
  return cells;
}

struct StageCase {
  const char* stage;
  bool meet;
  std::string sql;
  int registration_closed;
  const char* labels;  // per step: 'l' its link, 'p' plain, 'c' "关闭<br />运动会"
  std::array<const char*, 8> states;  // "-" grey, "!x" x in red
};

std::string Expected(const StageCase& c, int step, bool label) {
  if (label) {
    char kind = c.labels[step];
    return kind == 'l' ? kLinks[step] : kind == 'c' ? "关闭<br />运动会" : kPlain[step];
  }
  std::string state = c.states[step];
  if (state == "-") return "<font color=\"#666666\">未进行</font>";
  if (state[0] == '!') return "<font color=\"#FF0000\">" + state.substr(1) + "</font>";
  return state;
}

TEST_F(AdminHomeTest, HomePageTableFollowsTheMeetStepByStep) {
  const std::string scheduled = OneRoundSql(1, 1);
  const StageCase cases[] = {
      {"no meet", false, "", 1, "lppppppp", {"待建立", "-", "-", "-", "-", "-", "-", "-"}},
      {"meet without groups", true, "", 1, "plpppppc", {"已建立", "待设置", "-", "-", "-", "-", "-", "-"}},
      {"groups without events", true, kTwoGradesSql, 1, "plpppppc",
       {"已建立", "待设置", "-", "-", "-", "-", "-", "-"}},
      {"rounds unscheduled", true, OneRoundSql(0, 0), 0, "plpppppc",
       {"已建立", "待设置", "-", "-", "-", "-", "-", "-"}},
      // A dropped preliminary needs no slot for the set-up, but the
      // schedule is only whole with every round placed.
      {"registration open, dropped round unplaced", true, scheduled + RoundSql(2, 0, 0, 1), 0, "plllpppp",
       {"已建立", "已设置", "!待安排", "!待完成", "-", "-", "-", "-"}},
      {"registration closed, order book to make", true, scheduled, 1, "pllllppp",
       {"已建立", "已设置", "已安排", "已完成", "!待生成", "-", "-", "-"}},
      {"lanes drawn but one", true, scheduled + LaneSql(1, 1, 1, "NULL", 0) + LaneSql(2, 1, 0, "NULL", 0), 1,
       "pllllppp", {"已建立", "已设置", "已安排", "已完成", "!待生成", "-", "-", "-"}},
      {"order book made, a result to come", true, scheduled + LaneSql(1, 1, 1, "1234", 0) + LaneSql(2, 1, 2, "NULL", 0),
       1, "plllllpp", {"已建立", "已设置", "已安排", "已完成", "已生成", "进行中", "-", "-"}},
      // A lane with a status (absent, foul) needs no result.
      {"every result in", true, scheduled + LaneSql(1, 1, 1, "1234", 0) + LaneSql(2, 1, 2, "NULL", 1), 1,
       "plllllll", {"已建立", "已设置", "已安排", "已完成", "已生成", "已完成", "可进行", "已结束"}},
  };
  for (const StageCase& c : cases) {
    SCOPED_TRACE(c.stage);
    if (c.meet) {
      FixtureMeetSettings settings;
      settings.RegistrationClosed = c.registration_closed;
      meet_->OpenNewMeet(c.sql, settings);
    }
    std::string page = Page("/Admin.html");
    std::vector<std::string> cells = StepCells(page);
    ASSERT_EQ(cells.size(), 16u) << page;
    for (int step = 0; step < 8; ++step) {
      EXPECT_EQ(cells[step], Expected(c, step, true)) << "label " << step + 1;
      EXPECT_EQ(cells[8 + step], Expected(c, step, false)) << "state " << step + 1;
    }
    EXPECT_FALSE(Has(page, "<%="));
  }
}

TEST_F(AdminHomeTest, HomePageGivesTheClassTeachersAddressWithItsPort) {
  std::string site = "http://" + ServerAddress + ":" + std::to_string(port_);
  EXPECT_TRUE(Has(Page("/Admin.html"), "班主任登陆网址为：<a href=\"" + site + "\">" + site + "</a>"));
  // On port 80 the address goes without it.
  ListenPort = 80;
  std::string page = Page("/Admin.html");
  ListenPort = port_;
  site = "http://" + ServerAddress;
  EXPECT_TRUE(Has(page, "班主任登陆网址为：<a href=\"" + site + "\">" + site + "</a>")) << page;
  // Only the administrator has this home.
  SessionCookie teacher = CookieNumber(Get("/"));
  EXPECT_FALSE(Has(Get("/Admin.html", teacher).body, "运动会状态"));
}

}  // namespace

}  // namespace korva
