#include "pages/common/setup_result_page.h"

#include "database/data_lock.h"
#include "database/model.h"
#include "web/escape.h"
#include "web/response.h"
#include "web/templates.h"

namespace korva {

namespace {

// Next-step links.
constexpr const char* kLinkSetupMeet = "<a href=\"SetupMeet.html\">点此继续设置此运动会</a>";
constexpr const char* kLinkVenues = "<a href=\"ShowYards.html\">点此继续设置比赛场地</a>";
constexpr const char* kLinkEvents = "<a href=\"ShowMatch.html\">点此继续设置比赛项目</a>";
constexpr const char* kLinkGrades = "<a href=\"SetupSchool.html\">点此继续设置年级</a>";
constexpr const char* kCreateAgain = "您可重新建立新的运动会！";

std::string Failure(std::string_view text) {
  return "<font color=\"#FF0000\">Sorry:操作失败，原因是：<br>" + std::string(text) + "</font>";
}

std::string CannotProceed(std::string_view text) {
  return "<font color=\"#FF0000\">无法进行，因为：" + std::string(text) + "</font>";
}

std::string GroupEventsSaved(const std::string& name, std::string_view text) {
  return "成功修改“" + name +
         "!”！<p>网络报名已经打开，请提醒各班主任及时访问本网站开始报名！您可设置端口映射以便班主任从外部(比如家里)登陆报名。</p>" +
         std::string(text);
}

struct Lines {
  std::string first;
  std::string second;
};

// The two lines of a code; false for a code without a row of its own.
bool ChooseLines(int code, std::string_view text, const std::string& name, Lines* out) {
  const std::string t(text);
  switch (code) {
    case 0:
      *out = {"恭喜您成功建立“" + name + "”",
              "<a href=\"SetupMeet.html\">点此开始设置此运动会中各年级的比赛！</a><br /><br />"
              "温馨提示：设置好各年级的比赛后，班主任即可登陆报名，同时您可以开始安排比赛日程。"
              "待报名与日程安排都完成后，即可生成秩序册，开始正式比赛。"};
      return true;
    case 1: case 2: case 3:
      *out = {"<font color=\"#FF0000\">建立“" + name + "”失败！网页提交的数据存在问题！</font>", kCreateAgain};
      return true;
    case 4:
      *out = {"<font color=\"#FF0000\">建立“" + name + "”失败！运动会名称太长了，而且不应该包含单位名称！</font>",
              kCreateAgain};
      return true;
    case 5: *out = {CannotProceed(t), "<a href=\"SetupYard.html\">点此添加比赛场地</a>"}; return true;
    case 6: *out = {CannotProceed(t), "<a href=\"SetupMeet.html\">点此设置各竞赛组的比赛项目</a>"}; return true;
    case 7: *out = {CannotProceed(t), "<a href=\"JianLiYdh.html\">点此开始新建一个运动会！</a>"}; return true;
    case 11:
      *out = {"<font color=\"#FF0000\">建立“" + name + "”失败！该运动会名称已经存在，请使用新的运动会名称！</font>",
              kCreateAgain};
      return true;
    case 20: *out = {"成功修改“" + name + "”!", kLinkSetupMeet}; return true;
    case 21:
      *out = {"<font color=\"#FF0000\">“" + name + "”信息修改失败！因为已存在相同的运动会名称！</font>", kLinkSetupMeet};
      return true;
    case 22:
      *out = {"<font color=\"#FF0000\">“" + name + "”信息修改失败！因为" + t + "！</font>", kLinkSetupMeet};
      return true;
    case 30: *out = {"成功修改“" + name + "!”<br>" + t, kLinkSetupMeet}; return true;
    case 31: case 41:
      *out = {"<font color=\"#FF0000\">Sorry:操作失败，原因是网页提交的数据不正确！</font>", kLinkSetupMeet};
      return true;
    case 32:
      *out = {"<font color=\"#FF0000\">Sorry:操作失败，下列竞赛组未被删除，原因是这些竞赛组已经有运动员报名，"
              "请先删除报名的运动员，再删除该年级或者组别！<br>" + t + "</font>",
              kLinkSetupMeet};
      return true;
    case 40:
      *out = {GroupEventsSaved(name, t),
              "<a href=\"SetupMeet.html\">点此继续设置此运动会（日程安排）</a>，您也可以等待运动员报名结束后再安排比赛日程！"};
      return true;
    case 42:
      *out = {"操作成功，但部分比赛未被删除，原因是这些比赛已经有运动员报名，请先删除报名的运动员，再删除该比赛！<br>" + t,
              kLinkSetupMeet};
      return true;
    case 43:
      *out = {"<font color=\"#FF0000\">Sorry:操作失败，数据库错误！请重新建立运动会！</font>", kLinkSetupMeet};
      return true;
    case 44: *out = {GroupEventsSaved(name, t), ""}; return true;
    case 50: *out = {"成功修改比赛场地：<br>" + t, kLinkVenues}; return true;
    case 51: case 61: *out = {Failure(t), kLinkVenues}; return true;
    case 52:
      *out = {"<img src=\"tip.jpg\" /><font color=\"#FF0000\">该场地规格已更改，但检测使用该场地的比赛已经完成分组分道，"
              "如需重新分组分道，请勾选后再按“将选中的比赛重新分组分道！”：</font><br>" + t,
              kLinkVenues};
      return true;
    case 55: *out = {"操作结果如下：<br />" + t, kLinkVenues}; return true;
    case 60: *out = {"成功修改“" + name + "!”<br>" + t, kLinkVenues}; return true;
    case 70: *out = {"操作成功！<br>" + t, kLinkEvents}; return true;
    case 71: *out = {Failure(t), kLinkEvents}; return true;
    case 80: *out = {"操作成功！<br>" + t, kLinkGrades}; return true;
    case 81: *out = {Failure(t), kLinkGrades}; return true;
    case kResultSchemeFailed: *out = {Failure(t), "<a href=\"ShowScore.html\">点此继续设置分制</a>"}; return true;
    case 92: *out = {Failure(t), "<a href=\"MatchPlan.html\">点此继续设置日程安排！</a>"}; return true;
    default: return false;
  }
}

}  // namespace

bool NamesPostedMeet(int code) { return (code >= 1 && code <= 4) || code == 11; }

std::string BuildSetupResultContent(int code, std::string_view text, std::string_view meet_name) {
  Lines lines;
  if (!ChooseLines(code, text, EscapeHtml(meet_name), &lines)) {
    lines.first =
        "<tr><td><h1><font color=\"#FF0000\">Sorry:,产生未知错误！</font></h1></td></tr>"
        "\t\t\t\t\t\t   <tr><td>请联系管理员重新检查运动会数据！</td></tr>"
        "\t\t\t\t\t\t   <tr><td><a href=\"Admin.html\">点此返回管理员首页</a></td></tr>";
  }
  return "<tr><td style=\"line-height:200%;border-bottom:1px dotted #00F;\">" + lines.first +
         "</td></tr>\t\t\t\t<tr><td><br />" + lines.second +
         "</td></tr>\t\t\t\t<tr><td><br /><a href=\"Admin.html\">点此返回管理员首页</a></td></tr>";
}

int ServeSetupResultPage(const LoginNode& session, int code, std::string_view text, std::string& reply,
                         std::string_view posted_meet_name) {
  if (session.Role != kRoleAdmin) {
    ServeSessionExpiredPage(session, reply);
    return 9;
  }
  std::string meet_name;
  if (NamesPostedMeet(code)) {
    meet_name = posted_meet_name;
  } else {
    DataReadGuard hold(DataLock);
    meet_name = Model().MeetName;
  }
  std::string page = BuildFramedPage(Template::kAdminFrame, session, kAdminPageTitle, kAdminScriptTag,
                                     BuildSetupResultContent(code, text, meet_name));
  AppendHtmlPage(session, page, reply);
  return 1;
}

void ServeAdminResultPage(int code, std::string_view message, const LoginNode& session, std::string& reply) {
  ServeSetupResultPage(session, code, message, reply, message);
}

AnswerPages AdministrationAnswerPages() { return {ServeAdminResultPage}; }

}  // namespace korva
