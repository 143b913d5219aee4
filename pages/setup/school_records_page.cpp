#include "pages/setup/school_records_page.h"

#include <string>
#include <vector>

#include "database/loaders.h"
#include "database/model.h"
#include "engine/school_records.h"
#include "engine/score_text.h"
#include "pages/setup/setup_tabs.h"
#include "web/escape.h"
#include "web/response.h"
#include "web/templates.h"

namespace korva {

namespace {

constexpr const char* kHints =
    "<tr><td align=\"left\">提示：<br />\r\n"
    "1、在成绩框中输入最高纪录成绩后按回车键保存，按“ESC”键取消输入，成绩格式与成绩录入相同（如1分23秒05输入“1.23.05”）。<br />\r\n"
    "2、清空成绩框后按回车键可删除该纪录；本运动会中创造的纪录，请删除创造该纪录的运动员成绩。<br />\r\n"
    "3、比赛中破纪录时，系统会自动记录新的纪录。</td></tr>\r\n";

std::string Hidden(const char* name, int i, const std::string& value) {
  const std::string id = name + std::to_string(i);
  return "<input type=\"hidden\" name=\"" + id + "\" id=\"" + id + "\" value=\"" + value + "\">";
}

// Cell i: the record of the event for one grade and sex, typed in place.
std::string RecordCell(int i, const EventNode& event, const GradeOption& grade, int sex) {
  const RecordNode* record = FindRecordNode(grade.GradeName, sex, 0, event.Name, 0);
  const std::string shown = record ? EscapeHtml(FormatScoreText(record->Value, event.Unit)) : "";
  std::string cell = "<td";
  if (record && !record->MeetName.empty() && !record->ClassName.empty()) {
    cell += " title=\"在";
    cell += EscapeHtml(record->MeetName);
    cell += "中由";
    cell += EscapeHtml(record->ClassName);
    cell += EscapeHtml(record->HolderName);
    cell += "创造！\"";
  }
  const std::string n = std::to_string(i);
  cell += ">";
  cell += Hidden("GrdName", i, std::to_string(grade.GradeId));
  cell += Hidden("GrdSex", i, std::to_string(sex));
  cell += Hidden("MatchName", i, std::to_string(event.Id));
  cell += Hidden("OldScore", i, shown);
  cell += EscapeHtml(grade.GradeName);
  cell += sex == 1 ? "男子" : "女子";
  cell += "：<input type=\"text\" name=\"TopScore" + n + "\" id=\"TopScore" + n + "\" value=\"" + shown +
          "\" size=\"12\" maxlength=\"12\" onblur=\"Tblueme(" + n + ");\" onkeydown=\"Tpanduankey(" + n +
          ");\" onfocus=\"Tselme(" + n + ");\">";
  cell += Hidden("cjunit", i, EscapeHtml(event.Unit));
  cell += EscapeHtml(event.Unit);
  cell += "<span id=\"TipText" + n + "\"></span></td>";
  return cell;
}

std::string BuildRecordsContent() {
  const std::vector<GradeOption> grades = LoadGradeOptions();
  std::string rows;
  int i = 0;
  for (const EventNode& event : Model().EventList) {
    rows += "<tr><td colspan=\"2\" align=\"center\"><strong>【" + EscapeHtml(event.Name) +
            "】比赛项目最高纪录成绩</strong></td></tr>\r\n";
    for (const GradeOption& grade : grades) {
      rows += "<tr>" + RecordCell(i + 1, event, grade, 1);
      rows += RecordCell(i + 2, event, grade, 2) + "</tr>\r\n";
      i += 2;
    }
  }
  return BuildSetupTabBar(SetupTab::kRecords) + "<tr><td><a name=\"top\" id=\"top\"></a>" +
         "<table width=\"99%\" border=\"1\" class=\"style1\">\r\n" + rows +
         "<tr><td colspan=\"2\" align=\"center\"><a href=\"#top\">返回顶部</a>" +
         "<input type=\"hidden\" name=\"MaxI\" id=\"MaxI\" value=\"" + std::to_string(i) +
         "\"></td></tr>\r\n</table></td></tr>\r\n" + kHints;
}

// Route 85: the records page.
void TopScorePageRoute(RouteContext& ctx) { ServeTopScorePage(ctx.session, ctx.reply); }

// Route 86: one cell saved; "%d%s", the outcome and the normalised score.
void UpdateTopScoreRoute(RouteContext& ctx) {
  const std::string& path = ctx.request.Path;
  const std::size_t key = path.find("Dstr=");
  std::string text;
  const int code = key == std::string::npos ? kTopScoreBadInput : UpdateTopScore(std::string_view(path).substr(key + 5), text);
  AppendHtmlPage(ctx.session, std::to_string(code) + text, ctx.reply);
}

constexpr RouteRow kRows[] = {
    {.path = "/ShowTopScore.html", .roles = kAdmin, .code = 85, .handler = TopScorePageRoute,
     .empty = EmptyReply::kAdminResult},
    {.path = "/uptopcj.html", .roles = kAdmin, .code = 86, .handler = UpdateTopScoreRoute, .access = Access::kWrite,
     .empty = EmptyReply::kEmptyBody},
};

}  // namespace

void ServeTopScorePage(const LoginNode& session, std::string& reply) {
  const std::string page =
      BuildFramedPage(Template::kAdminFrame, session, kAdminPageTitle, kAdminScriptTag, BuildRecordsContent());
  AppendHtmlPage(session, page, reply);
}

RouteTable SchoolRecordsRoutes() { return kRows; }

}  // namespace korva
