#include "pages/setup/create_meet.h"

#include <cstdio>
#include <ctime>
#include <random>

#include "database/data_error.h"
#include "database/data_lock.h"
#include "database/model.h"
#include "database/open_meet.h"
#include "pages/common/setup_result_page.h"
#include "pages/setup/form_fragments.h"
#include "pages/setup/meet_template.h"
#include "web/form_field.h"
#include "web/response.h"
#include "web/templates.h"

namespace korva {

namespace {


constexpr std::size_t kSettingMax = 10;
constexpr std::size_t kGradeFieldMax = 100;
constexpr std::size_t kMaxSectionBytes = 400;
constexpr std::size_t kMinBytes = 10;

// What the page shows instead of the form when a default is missing
// (BuildNewMeetForm's results 1 to 3).
const char* const kMissingDefaults[] = {
    "",
    "<br /><br /><h1>未发现得分分制数据，请先<a href='ShowScore.html'>添加得分分制</a>。</h1>",
    "<br /><br /><h1>未发现年级数据，请先<a href='SetupSchool.html'>添加年级</a>。</h1>",
    "<br /><br /><h1>未发现比赛项目，请先<a href='ShowMatch.html'>添加比赛项目</a>。</h1>",
};

// "ydh" + month, day, hour, minute, second and a random number 0..1099.
std::string NewMeetFileName() {
  std::time_t now = std::time(nullptr);
  std::tm tm{};
  localtime_r(&now, &tm);
  static std::mt19937 random_numbers{std::random_device{}()};
  int random = std::uniform_int_distribution<int>(0, 1099)(random_numbers);
  char name[96];
  std::snprintf(name, sizeof name, "ydh%d%d%d%d%d%d.dat", tm.tm_mon + 1, tm.tm_mday, tm.tm_hour,
                tm.tm_min, tm.tm_sec, random);
  return name;
}

// Class teachers, score-entry clerks and print administrators sign in
// again into the new meet; administrators stay signed in.
void LogOutNonAdministrators() {
  LoginGuard hold(LoginListLock);
  for (const LoginPtr& session : LoginList())
    if (session->Role < kRoleAdmin) session->Role = kRoleNone;
}

}  // namespace

int ParseGradeSection(std::string_view section, GradeGroupSettings* row) {
  row->InUse = 1;
  row->GradeId = GetFormInt(section, "wnjsel=", kGradeFieldMax);
  row->Boys = GetFormInt(section, "wboysel=", kGradeFieldMax);
  row->Girls = GetFormInt(section, "wgirlsel=", kGradeFieldMax);
  row->AthletesPerClass = GetFormInt(section, "wmzxb=", kGradeFieldMax);
  row->EntrantsPerEvent = GetFormInt(section, "wmxxb=", kGradeFieldMax);
  row->EventsPerAthlete = GetFormInt(section, "wmrxb=", kGradeFieldMax);
  row->CombinedLimit = GetFormInt(section, "wqnxb=", kGradeFieldMax);
  row->PlacesRanked = GetFormInt(section, "wqmc=", kGradeFieldMax);
  row->SchemeId = GetFormInt(section, "wfz=", kGradeFieldMax);
  if (row->GradeId == 0) return kCreateNoTemplate;
  if (row->Boys == 0 && row->Girls == 0) return kCreateNoSex;
  if (row->SchemeId == 0 || row->EventsPerAthlete == 0 || row->EntrantsPerEvent == 0 ||
      row->AthletesPerClass == 0 || row->PlacesRanked == 0 || row->CombinedLimit == 0)
    return kCreateZeroSetting;
  return kCreateDone;
}

RecordBonuses ParseRecordBonuses(std::string_view section) {
  static const char* const kBonusKeys[] = {"wpjf1=", "wpjf2=", "wpjf3=", "wpjf4=", "wpjf5=", "wpjf6="};
  RecordBonuses bonuses{};
  for (std::size_t i = 0; i < bonuses.size(); ++i) bonuses[i] = GetFormInt(section, kBonusKeys[i], kGradeFieldMax);
  return bonuses;
}

int ParseCreateMeetPost(std::string_view body, CreateMeetPost* post) {
  *post = CreateMeetPost{};
  if (body.size() < kMinBytes) return kCreateBadPost;
  GetFormField(body, "wydhname=", 100, post->Name);
  if (post->Name.empty()) return kCreateBadPost;

  std::string year, month, day;
  GetFormField(body, "wyear=", kSettingMax, year);
  GetFormField(body, "wyue=", kSettingMax, month);
  GetFormField(body, "wri=", kSettingMax, day);
  post->DateText = year + "-" + month + "-" + day;
  post->SessionCount = GetFormInt(body, "wshichang=", kSettingMax);
  post->MorningStart = GetFormInt(body, "ShangWuKStime=", kSettingMax);
  post->AfternoonStart = GetFormInt(body, "XiaWuKStime=", kSettingMax);
  post->OpeningLength = GetFormInt(body, "KaiMuShiTime=", kSettingMax);
  post->AdmitOneLess = GetFormInt(body, "jianyiluqu=", kSettingMax);
  post->BibWidth = GetFormInt(body, "hmws=", kSettingMax);
  if (post->BibWidth < 3 || post->BibWidth > 8) post->BibWidth = 3;

  std::string copy_old, old_meet;
  if (GetFormField(body, "wiscopyydh=", kSettingMax, copy_old) == 1 && copy_old == "copyold" &&
      GetFormField(body, "woldydh=", kSettingMax, old_meet) == 1)
    return kCreateCopyOldMeet;

  std::size_t start = body.find("wnjsel=");
  if (start == std::string_view::npos) return kCreateNoGrade;
  std::string_view section;
  while (start != std::string_view::npos) {
    std::size_t next = body.find("wnjsel", start + 6);
    std::size_t end = next == std::string_view::npos ? body.size() : next;
    if (body.size() - start < kMinBytes) return kCreateShortSection;
    if (end - start > kMaxSectionBytes) return kCreateLongSection;
    section = body.substr(start, end - start);
    GradeGroupSettings row;
    int result = ParseGradeSection(section, &row);
    // A grade posted twice would get two groups of one sex.
    for (const GradeGroupSettings& earlier : post->Rows)
      if (result == kCreateDone && earlier.GradeId == row.GradeId) result = kCreateBadPost;
    post->Rows.push_back(std::move(row));
    if (result != kCreateDone) return result;
    start = next;
  }
  // The bonuses follow the grade table, so they sit in the last section.
  post->Bonuses = ParseRecordBonuses(section);
  return kCreateDone;
}

int HandleCreateMeetPost(std::string_view body, std::string* posted_name) {
  CreateMeetPost post;
  int result = ParseCreateMeetPost(body, &post);
  *posted_name = post.Name;
  if (result != kCreateDone) return result;

  AssertDataLockHeld(true);
  if (!EnsureBlankMeetTemplate()) {
    LogServerMessage("系统文件缺失，请重新安装本程序！");
    return kCreateNoTemplate;
  }
  // The open meet keeps its path until the new one is open: a refusal
  // leaves every later save going to the meet that is open.
  const std::string path = Model().DataFolder + "/" + NewMeetFileName();
  if (!CopyBlankMeetTemplate(path)) {
    LogServerMessage("用户权限错误，请检查用户权限！");
    return kCreateCopyFailed;
  }
  RegistrySnapshot before;
  if (ReadRegistry(&before) != 0) {
    std::remove(path.c_str());
    return kCreateNotFilled;
  }
  result = CreateMeet(path, post.Name, post.DateText, post.SessionCount, post.MorningStart,
                      post.AfternoonStart, post.OpeningLength, post.Bonuses, post.AdmitOneLess,
                      post.BibWidth, post.Rows);
  if (result != 0) return result;
  if (OpenCurrentMeet(0) != 0) {
    // The new meet is registered but can't be opened: the registry goes
    // back to what it was, so the next start opens what is open now (or
    // nothing, as before), and the failure is reported. A withdrawal that
    // fails logs itself; the answer is the same failure.
    static_cast<void>(WithdrawCreatedMeet(path, before));
    return kCreateFileUnusable;
  }
  LogOutNonAdministrators();
  return kCreateDone;
}

void ServeCreateMeetPage(const LoginNode& session, std::string& reply) {
  std::string content;
  std::string script;
  {
    AssertDataLockHeld();
    NewMeetEvents events = CheckNewMeetEvents();
    std::string rows;
    int missing = BuildNewMeetForm(&rows, events);
    if (missing >= 1 && missing <= 3) {
      content = kMissingDefaults[missing];
    } else {
      LoadHtmlTemplate(Template::kCreateMeetForm, content);
      ReplacePlaceholder(content, "运动会列表", BuildMeetOptions());
      ReplacePlaceholder(content, "全能单元格",
                         events.has_combined ? "<td width=\"80\" align=\"center\">全能限报</td>" : "");
      ReplacePlaceholder(content, "年级列表", rows);
    }
  }
  LoadHtmlTemplate(Template::kCreateMeetScript, script);
  AppendHtmlPage(session, BuildFramedPage(Template::kAdminFrame, session, kAdminPageTitle, script, content), reply);
}

namespace {

// GET "/JianLiYdh.html": the create-meet form.
void CreateMeetPageRoute(RouteContext& ctx) { ServeCreateMeetPage(ctx.session, ctx.reply); }

// POST "/JianLiYdh.html", answered with the result page for ctx.result; the
// message is the posted name where the sentence names it, and otherwise
// empty (creation gives no reason text).
void CreateMeetPostRoute(RouteContext& ctx) {
  std::string posted_name;
  ctx.result = HandleCreateMeetPost(ctx.request.Body, &posted_name);
  if (NamesPostedMeet(ctx.result)) ctx.message = posted_name;
}

constexpr RouteRow kRows[] = {
    {.path = "/JianLiYdh.html", .method = Method::kGet, .roles = kAdmin, .code = 32,
     .handler = CreateMeetPageRoute, .empty = EmptyReply::kAdminResult},
    {.path = "/JianLiYdh.html", .method = Method::kPost, .roles = kAdmin, .code = 142,
     .handler = CreateMeetPostRoute, .access = Access::kWrite, .empty = EmptyReply::kAdminResult,
     .answer = Answer::kResultPage, .base = 0},
};

}  // namespace

RouteTable CreateMeetRoutes() { return kRows; }

}  // namespace korva
