#include "pages/setup/competition_groups.h"

#include "database/data_error.h"
#include "database/data_lock.h"
#include "database/gbk_text.h"
#include "database/model.h"
#include "database/store_groups.h"
#include "pages/setup/create_meet.h"
#include "pages/setup/form_fragments.h"
#include "pages/setup/setup_steps.h"
#include "web/response.h"
#include "web/templates.h"

namespace korva {

namespace {

constexpr std::size_t kMaxSectionBytes = 500;
// The grade name a group row keeps.
constexpr std::size_t kGradeNameBytes = 19;
constexpr int kErrNoGradePosted = 124123;

const ClassNode* FirstClassOfGrade(int grade_id) {
  for (const ClassNode& cls : Model().ClassList)
    if (cls.GradeId == grade_id) return &cls;
  return nullptr;
}

}  // namespace

int ParseGroupsPost(std::string_view body, std::vector<GradeGroupSettings>* rows, RecordBonuses* bonuses) {
  AssertDataLockHeld();
  if (body.empty()) return kGroupsRefused;
  if (body.find("wnjsel=") == std::string_view::npos) {
    ShowDataErrorCode(kErrNoGradePosted);
    return kGroupsRefused;
  }
  std::vector<std::string_view> sections;
  if (!SplitFormSections(body, "wnjsel=", "wnjsel", kMaxSectionBytes, &sections)) return kGroupsRefused;
  for (std::string_view section : sections) {
    GradeGroupSettings row;
    if (ParseGradeSection(section, &row) != kCreateDone) return kGroupsRefused;
    // Only a grade of the open meet that has classes takes part.
    const ClassNode* cls = FirstClassOfGrade(row.GradeId);
    if (!cls) return kGroupsRefused;
    // A grade posted twice would get two groups of one sex.
    for (const GradeGroupSettings& earlier : *rows)
      if (earlier.GradeId == row.GradeId) return kGroupsRefused;
    row.GradeName = CutGbk(cls->GradeName, kGradeNameBytes);
    rows->push_back(std::move(row));
  }
  *bonuses = ParseRecordBonuses(sections.back());
  return kGroupsSaved;
}

int HandleGroupsPost(std::string_view body, std::string* report) {
  AssertDataLockHeld(true);
  std::vector<GradeGroupSettings> rows;
  RecordBonuses bonuses{};
  if (ParseGroupsPost(body, &rows, &bonuses) != kGroupsSaved) return kGroupsRefused;
  int result = SaveCompetitionGroups(rows, bonuses, report);
  if (!ReloadGroupLists()) return kGroupsRefused;
  return result;
}

void ServeGroupsPage(const LoginNode& session, std::string& reply) {
  AssertDataLockHeld();
  if (ServeNoMeetPage(session, reply)) return;
  bool has_combined = CheckNewMeetEvents().has_combined;
  std::string content;
  LoadHtmlTemplate(Template::kGroupsForm, content);
  ReplacePlaceholder(content, "全能单元格", has_combined ? "<td width=\"80\" align=\"center\">全能限报</td>" : "");
  ReplacePlaceholder(content, "年级列表", BuildGroupSettingsForm(has_combined));
  ReplacePlaceholder(content, "破平记录加分", BuildRecordBonusRows());
  std::string script;
  LoadHtmlTemplate(Template::kGroupsScript, script);
  AppendHtmlPage(session, BuildFramedPage(Template::kAdminFrame, session, kAdminPageTitle, script, content), reply);
}

namespace {

void GroupsPageRoute(RouteContext& ctx) { ServeGroupsPage(ctx.session, ctx.reply); }

// Answered with the result page: 30 saved (with the groups added and
// deleted), 31 refused, 32 saved but the listed groups kept.
void GroupsPostRoute(RouteContext& ctx) {
  std::string report;
  ctx.result = HandleGroupsPost(ctx.request.Body, &report);
  ctx.message = ReportHtml(report);
}

constexpr RouteRow kRows[] = {
    {.path = "/SetupMeetGrade.html", .roles = kAdmin, .code = 34, .handler = GroupsPageRoute,
     .empty = EmptyReply::kAdminResult},
    {.path = "/ChangeGrade.html", .method = Method::kPost, .roles = kAdmin, .code = 144, .handler = GroupsPostRoute,
     .access = Access::kWrite, .empty = EmptyReply::kAdminResult, .answer = Answer::kResultPage, .base = 30},
};

}  // namespace

RouteTable CompetitionGroupsRoutes() { return kRows; }

}  // namespace korva
