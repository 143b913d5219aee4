#include "pages/setup/meet_info.h"

#include <algorithm>
#include <cstdio>
#include <ctime>

#include "database/data_error.h"
#include "database/data_lock.h"
#include "database/model.h"
#include "database/store_meets.h"
#include "pages/common/setup_result_page.h"
#include "pages/setup/form_fragments.h"
#include "pages/setup/setup_steps.h"
#include "web/escape.h"
#include "web/form_field.h"
#include "web/response.h"
#include "web/select_options.h"
#include "web/templates.h"

namespace korva {

namespace {

constexpr std::size_t kNameMax = 100;
constexpr std::size_t kSettingMax = 10;
// The opening ceremony that takes the whole first half-day session.
constexpr int kHalfDayOpening = 7;

// This year and the nine after it; a stored year outside them is added,
// chosen, at the end.
std::string YearOptions(int stored) {
  std::time_t now = std::time(nullptr);
  std::tm tm{};
  localtime_r(&now, &tm);
  int first = tm.tm_year + 1900;
  std::string out = NumberOptions(first, first + 9, stored, "年");
  if (stored < first || stored >= first + 10) out += OptionTag(stored, std::to_string(stored) + "年", true);
  return out;
}

// Start slot n is 6:00 + (n - 1) half hours.
std::string SlotOptions(int first, int last, int stored) {
  std::string out;
  for (int slot = first; slot <= last; ++slot) {
    int minutes = 6 * 60 + (slot - 1) * 30;
    char time[16];
    std::snprintf(time, sizeof time, "%d:%02d", minutes / 60, minutes % 60);
    out += OptionTag(slot, time, slot == stored);
  }
  return out;
}

// Two half-day sessions a day, up to ten days.
std::string LengthOptions(int stored) {
  std::string out;
  for (int days = 1; days <= 10; ++days) out += OptionTag(days * 2, std::to_string(days) + "天", days * 2 == stored);
  return out;
}

std::string OpeningOptions(int stored) {
  std::string out;
  for (int n = 1; n <= 6; ++n) out += OptionTag(n, std::to_string(n * 30) + "分钟", n == stored);
  return out + OptionTag(kHalfDayOpening, "半天", kHalfDayOpening == stored);
}

bool OnlyBlanks(const std::string& text) {
  return std::all_of(text.begin(), text.end(), [](char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\n'; });
}

bool RoundInFirstSession() {
  const std::vector<RoundNode>& rounds = Model().RoundList;
  return std::any_of(rounds.begin(), rounds.end(), [](const RoundNode& r) { return r.Session == 1; });
}

}  // namespace

int HandleMeetInfoPost(std::string_view body, std::string* reason) {
  AssertDataLockHeld(true);
  std::string name, year, month, day;
  GetFormField(body, "wydhname=", kNameMax, name);
  GetFormField(body, "wyear=", kSettingMax, year);
  GetFormField(body, "wyue=", kSettingMax, month);
  GetFormField(body, "wri=", kSettingMax, day);
  int sessions = GetFormInt(body, "wshichang=", kSettingMax);
  int morning = GetFormInt(body, "shangwutime=", kSettingMax);
  int afternoon = GetFormInt(body, "xiawutime=", kSettingMax);
  int opening = GetFormInt(body, "KaiMuShi=", kSettingMax);
  // A name the field filter emptied would erase the meet's name in both
  // files: refused like an empty one.
  if (OnlyBlanks(name)) {
    *reason = "请输入运动会名称";
    return kMeetInfoRefused;
  }
  if (opening == kHalfDayOpening && RoundInFirstSession()) {
    *reason = "已经有比赛被安排到第一天上午，如果想将开幕式设定为半天，请先取消第一天上午的比赛安排。";
    return kMeetInfoRefused;
  }
  int admit_one_less = GetFormInt(body, "jianyiluqu=", kSettingMax);
  return SaveMeetInfo(name, year + "-" + month + "-" + day, sessions, morning, afternoon, opening, admit_one_less);
}

void ServeMeetInfoPage(const LoginNode& session, std::string& reply) {
  AssertDataLockHeld();
  if (ServeNoMeetPage(session, reply)) return;
  const MeetModel& m = Model();
  StoredMeetSettings stored;
  if (LoadMeetSettings(m.CurrentMeetId, &stored) != 0) {
    // A form of default values would overwrite the meet's days and
    // sessions at the next save, so the page is not shown.
    LogServerMessageUtf8("cannot read the settings row of the open meet");
    ServeSetupResultPage(session, static_cast<int>(kResultMeetInfo) + kMeetInfoFailed, {}, reply);
    return;
  }

  std::string script;
  LoadHtmlTemplate(Template::kMeetInfoScript, script);
  ReplacePlaceholder(script, "其他运动会列表", BuildOtherMeetNames());

  std::string content;
  LoadHtmlTemplate(Template::kMeetInfoForm, content);
  ReplacePlaceholder(content, "运动会名称", EscapeHtml(m.MeetName));
  ReplacePlaceholder(content, "年", YearOptions(stored.Year));
  ReplacePlaceholder(content, "月", NumberOptions(1, 12, stored.Month, "月"));
  ReplacePlaceholder(content, "日", NumberOptions(1, 31, stored.Day, "日"));
  ReplacePlaceholder(content, "时长", LengthOptions(stored.SessionCount));
  ReplacePlaceholder(content, "上午", SlotOptions(1, 10, stored.MorningStart));
  ReplacePlaceholder(content, "下午", SlotOptions(11, 20, stored.AfternoonStart));
  ReplacePlaceholder(content, "开幕式", OpeningOptions(stored.OpeningLength));
  ReplacePlaceholder(content, "减一录取", m.AdmitOneLess ? " checked" : "");
  AppendHtmlPage(session, BuildFramedPage(Template::kAdminFrame, session, kAdminPageTitle, script, content), reply);
}

namespace {

void MeetInfoPageRoute(RouteContext& ctx) { ServeMeetInfoPage(ctx.session, ctx.reply); }

// Answered with the result page: 20 saved, 21 name used, 22 refused with
// the reason, 23 (database error) the page of unknown errors.
void MeetInfoPostRoute(RouteContext& ctx) { ctx.result = HandleMeetInfoPost(ctx.request.Body, &ctx.message); }

constexpr RouteRow kRows[] = {
    {.path = "/SetupMeetName.html", .roles = kAdmin, .code = 33, .handler = MeetInfoPageRoute,
     .empty = EmptyReply::kAdminResult},
    {.path = "/ChangYdhName.html", .method = Method::kPost, .roles = kAdmin, .code = 143,
     .handler = MeetInfoPostRoute, .access = Access::kWrite, .empty = EmptyReply::kAdminResult,
     .answer = Answer::kResultPage, .base = 20},
};

}  // namespace

RouteTable MeetInfoRoutes() { return kRows; }

}  // namespace korva
