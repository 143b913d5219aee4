#include "pages/setup/admin_home.h"

#include <algorithm>
#include <string>

#include "database/data_lock.h"
#include "database/hold_cache.h"
#include "database/model.h"
#include "database/setup_stage.h"
#include "web/response.h"
#include "web/templates.h"
#include "web/web_server.h"

namespace korva {

namespace {

enum Step { kCreate, kSetUp, kSchedule, kRegistration, kOrderBook, kScores, kStatistics, kEnd };

struct StepLabel {
  const char* plain;
  const char* link;
};

constexpr StepLabel kStepLabels[8] = {
    {"建立<br />运动会", "<a href='JianLiYdh.html'>新建<br />运动会</a>"},
    {"设置<br />运动会", "<a href=\"SetupMeet.html\">设置<br />运动会</a>"},
    {"日程<br />安排", "<a href=\"MatchPlan.html\">日程<br />安排</a>"},
    {"运动员<br />报名", "<a href=\"ShowBaoMing.html\">运动员<br />报名</a>"},
    {"生成<br />秩序册", "<a href=\"BookControl.html\">生成<br />秩序册</a>"},
    {"录入<br />成绩", "<a href=\"InputScore.html\">录入<br />成绩</a>"},
    {"统计<br />整理", "<a href=\"Statistics.html\">统计<br />整理</a>"},
    {"结束<br />运动会", "<a href=\"CloseYdh.html\">结束<br />运动会</a>"},
};

constexpr const char* kNotStarted = "<font color=\"#666666\">未进行</font>";

std::string Red(const char* text) { return std::string("<font color=\"#FF0000\">") + text + "</font>"; }

// Every lane drawn: a heat and a lane (or start order) for each.
bool AllLanesDrawn(const std::vector<LaneNode>& lanes) {
  return !lanes.empty() &&
         std::all_of(lanes.begin(), lanes.end(), [](const LaneNode& l) { return l.Lane != 0 && l.Heat != 0; });
}

// A lane still waiting for its result (one with a status, such as absent,
// needs none).
bool ResultsOutstanding(const std::vector<LaneNode>& lanes) {
  return std::any_of(lanes.begin(), lanes.end(),
                     [](const LaneNode& l) { return l.Result == kNoResult && l.Status == 0; });
}

std::string ServerLink() {
  std::string address = "http://" + ServerAddress;
  if (ListenPort != 80) address.append(":").append(std::to_string(ListenPort.load()));
  std::string link = "<a href=\"";
  link.append(address).append("\">").append(address).append("</a>");
  return link;
}

}  // namespace

MeetStatus ReadMeetStatus() {
  AssertDataLockHeld();
  const MeetModel& m = Model();
  MeetStatus status;
  for (int step = 0; step < 8; ++step) {
    status.Labels[step] = kStepLabels[step].plain;
    status.States[step] = kNotStarted;
  }
  auto link = [&](Step step) { status.Labels[step] = kStepLabels[step].link; };
  if (m.CurrentMeetId == 0) {
    link(kCreate);
    status.States[kCreate] = "待建立";
    return status;
  }
  status.States[kCreate] = "已建立";
  link(kSetUp);
  if (GetSetupStage() != kStageComplete) {
    status.States[kSetUp] = "待设置";
    status.Labels[kEnd] = "关闭<br />运动会";
    return status;
  }
  status.States[kSetUp] = "已设置";
  link(kSchedule);
  link(kRegistration);
  bool registration_full = CheckModelConsistency() != 0;
  bool scheduled = AllRoundsScheduled() != 0;
  status.States[kRegistration] = registration_full ? "已完成" : Red("待完成");
  status.States[kSchedule] = scheduled ? "已安排" : Red("待安排");
  if (!registration_full || !scheduled) return status;

  link(kOrderBook);
  if (!AllLanesDrawn(m.LaneList)) {
    status.States[kOrderBook] = Red("待生成");
    return status;
  }
  status.States[kOrderBook] = "已生成";
  link(kScores);
  if (ResultsOutstanding(m.LaneList)) {
    status.States[kScores] = "进行中";
    return status;
  }
  status.States[kScores] = "已完成";
  status.States[kStatistics] = "可进行";
  link(kStatistics);
  link(kEnd);
  status.States[kEnd] = m.MeetStage != 0 ? "已结束" : "待结束";
  return status;
}

namespace {

std::string BuildStatusBarNow() {
  MeetStatus status = ReadMeetStatus();
  std::string content;
  LoadHtmlTemplate(Template::kMeetStatus, content);
  ReplacePlaceholder(content, "班主任网址", ServerLink());
  for (int step = 0; step < 8; ++step) {
    std::string n = std::to_string(step + 1);
    ReplacePlaceholder(content, "流程" + n, status.Labels[step]);
    ReplacePlaceholder(content, "状态" + n, status.States[step]);
  }
  return content;
}

}  // namespace

// The bar follows only the model and the site's address, so the
// administrators' homes share it until the next change.
std::string BuildMeetStatusBar() {
  static HoldCache<std::string, std::string> bars;
  return bars.Get(ServerLink(), [](std::string& bar) {
    bar = BuildStatusBarNow();
    return true;
  });
}

void ServeAdminHomePage(const LoginNode& session, std::string& reply) {
  // The home page loads no script.
  AppendHtmlPage(session, BuildFramedPage(Template::kAdminFrame, session, kAdminPageTitle, "", BuildMeetStatusBar()),
                 reply);
}

namespace {

void AdminHomeRoute(RouteContext& ctx) { ServeAdminHomePage(ctx.session, ctx.reply); }

constexpr RouteRow kRows[] = {
    {.path = "/Admin.html", .roles = kAdmin, .code = 31, .handler = AdminHomeRoute,
     .empty = EmptyReply::kAdminResult},
};

}  // namespace

RouteTable AdminHomeRoutes() { return kRows; }

}  // namespace korva
