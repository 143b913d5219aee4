#include "pages/meet/result_uploads.h"

#include <charconv>
#include <climits>
#include <cstdio>
#include <vector>

#include "database/lookups.h"
#include "engine/score_text.h"
#include "web/escape.h"
#include "web/response.h"
#include "web/select_options.h"

namespace korva {

namespace {

constexpr std::string_view kUploadPrefix = "/upcj.html?Dstr=";
// More tied rows than this are taken for a typing mistake.
constexpr std::size_t kMaxTieRows = 13;

// A decimal integer with an optional sign at pos, as a "%d" scan reads it;
// false when there is none or it does not fit.
bool ReadInt(std::string_view text, std::size_t& pos, int& value) {
  std::size_t start = pos;
  if (start < text.size() && text[start] == '+') ++start;
  long long number = 0;
  auto [end, error] = std::from_chars(text.data() + start, text.data() + text.size(), number);
  if (error != std::errc() || number < INT_MIN || number > INT_MAX) return false;
  value = static_cast<int>(number);
  pos = static_cast<std::size_t>(end - text.data());
  return true;
}

// The '-'-joined numbers after the key, as far as they read ("%d-%d-..."):
// each may carry a sign, so "--65535" is the separator and -65535.
std::vector<int> ReadNumbers(std::string_view text) {
  std::vector<int> numbers;
  std::size_t pos = 0;
  while (pos < text.size()) {
    if (!numbers.empty()) {
      if (text[pos] != '-') break;
      ++pos;
    }
    long long value = 0;
    auto [end, error] = std::from_chars(text.data() + pos, text.data() + text.size(), value);
    if (error != std::errc() || value < INT_MIN || value > INT_MAX) break;
    numbers.push_back(static_cast<int>(value));
    pos = static_cast<std::size_t>(end - text.data());
  }
  return numbers;
}

std::string AthleteButton(const char* label, const char* handler, int athlete_id) {
  return std::string("<input type=\"button\" name=\"YJSan1\" id=\"YJSan1\" value=\"") + label + "\" onclick=\"" +
         handler + "(" + std::to_string(athlete_id) + ");\" />\r\n";
}

std::string Choices(const char* carry_on, const char* give_up) {
  return std::string("<br />\r\n<input type=\"radio\" name=\"fgjsjl\" id=\"fgjsjl1\" value=\"1\" />"
                     "<label for=\"fgjsjl1\">") +
         carry_on +
         "</label><br />\r\n<input type=\"radio\" name=\"fgjsjl\" id=\"fgjsjl2\" value=\"2\" />"
         "<label for=\"fgjsjl2\">" +
         give_up + "</label><br />\r\n";
}

// A preliminary whose final is drawn but has no results yet.
std::string FinalExistsWarning(int athlete_id) {
  return "<img src=\"warn.jpg\" />警告：保存成绩时发现该预赛的决赛安排已经存在，继续保存可能会更改决赛安排，请选择：" +
         Choices("保存成绩，删除原有的决赛安排，重新生成新的决赛安排。", "放弃保存成绩，保留原有的决赛安排！") +
         AthleteButton("提交", "AgainTiJiao", athlete_id);
}

// A preliminary whose final has results.
std::string FinalHasResultsRefusal(int athlete_id) {
  return "<img src=\"warn.jpg\" />警告：本次预赛的决赛安排已经生成，并且已经录入成绩，无法重新生成决赛安排！"
         "如果你想更改预赛的成绩，则请先删除决赛的所有成绩。<br />\r\n操作被取消，成绩未保存！<br />\r\n" +
         AthleteButton("返回", "fanhuisb1", athlete_id);
}

// A counted round, uploaded to in mode 1.
std::string CountedWarning(int athlete_id) {
  return "<img src=\"warn.jpg\" />警告：保存成绩时发现本次比赛已经生成名次与得分，更改成绩将导致重新统计名次与得分，请选择：" +
         Choices("保存成绩，重新统计本次比赛的名次与得分", "放弃保存成绩，保留原有的名次与得分！") +
         AthleteButton("提交", "AgainTiJiao", athlete_id);
}

std::string TieRow(const LaneNode& entry, const EventNode& event, const GroupNode& group, std::size_t position,
                   int n, const std::string& options) {
  const AthleteNode* athlete = FindAthleteById(entry.AthleteId);
  const ClassNode* class_node = FindClassNode(entry.ClassId, group.GradeId);
  const bool individual = event.TuanTiType == 1;
  const std::string number = std::to_string(n);
  return std::string("<tr align=\"center\" bgcolor=\"#") + (position % 2 == 1 ? "DFDFFF" : "FFFFE6") +
         "\">\r\n<td>" + std::to_string(position) + "</td>\r\n<td>" +
         (class_node ? EscapeHtml(class_node->ClassName) : "") + "</td>\r\n<td>" +
         (individual && athlete ? EscapeHtml(athlete->BibText) : "") + "</td>\r\n<td>" +
         (individual && athlete ? EscapeHtml(athlete->Name) : "") + "</td>\r\n<td><input type=\"hidden\" name=\"APIstID" +
         number + "\" id=\"APIstID" + number + "\" value=\"" + std::to_string(entry.AthleteId) +
         "\"><select name=\"APImc" + number + "\" id=\"APImc" + number + "\">" + options + "</select></td>\r\n<td>" +
         EscapeHtml(FormatScoreText(entry.Result, event.Unit) + event.Unit) + "</td>\r\n</tr>\r\n";
}

// The form on which the clerk places tied athletes by hand; its numbers go
// to the manual places request.
std::string TieChoiceForm(const TieChoice& ties, const EventNode& event, const GroupNode& group) {
  std::size_t tied_rows = 0;
  for (const TiedRun& run : ties.Runs) tied_rows += run.Entries.size();
  if (tied_rows > kMaxTieRows) {
    return "<img src=\"error2.jpg\" />当前比赛项目不允许并列，但是系统检测到该比赛成绩并列的成绩太多，"
           "请仔细检查录入是否有误！<br />\r\n"
           "提示：如若需要修改多名学生成绩，则可先清空一名学生的成绩，待成绩全部改好之后，再录入该生成绩，进行统计，"
           "以免每录入一个学生成绩，都会弹出对话框需要选择！<br />\r\n"
           "<input type=\"button\" name=\"CloseDiv9\" id=\"CloseDiv9\" value=\"返回\" "
           "onclick=\"document.getElementById('popupl').style.display='none';\" />\r\n";
  }
  std::string untied;
  for (const auto& [athlete_id, place] : ties.Untied)
    untied += std::to_string(athlete_id) + "-" + std::to_string(place) + "-";
  std::string rows;
  int n = 0;
  for (const TiedRun& run : ties.Runs) {
    std::string options;
    for (std::size_t j = 1; j <= run.Entries.size(); ++j) {
      const std::string place = std::to_string(run.Before + static_cast<int>(j));
      options += OptionTag(place, "第" + place + "名", false);
    }
    for (std::size_t j = 0; j < run.Entries.size(); ++j) rows += TieRow(run.Entries[j], event, group, j + 1, ++n, options);
  }
  return "<div>本比赛项目不允许并列，但发现有成绩并列的运动员，请手工选择运动员名次，完成后按提交：</div>\r\n"
         "<input type=\"hidden\" name=\"NoBinLie\" id=\"NoBinLie\" value=\"" + untied +
         "\">\r\n<input type=\"hidden\" name=\"BinLieMax\" id=\"BinLieMax\" value=\"" + std::to_string(n) +
         "\">\r\n<table width=\"99%\" border=\"1\">\r\n<tr align=\"center\">\r\n<td>序号</td>\r\n<td>班级</td>\r\n"
         "<td>号码</td>\r\n<td>姓名</td>\r\n<td>指定名次</td>\r\n<td>成绩</td>\r\n</tr>\r\n" +
         rows +
         "</table>\r\n<input type=\"button\" name=\"APPan1\" id=\"APPan1\" value=\"提交\" onclick=\"APPtiJiao();\" />"
         "&nbsp;&nbsp;<input type=\"checkbox\" name=\"allowCDT\" id=\"allowCDT\" value=\"1\" />"
         "<label for=\"allowCDT\">强制允许并列</label>\r\n";
}

// The text after the reply code.
std::string OutcomeText(const ScoreUpload& upload, const ScoreOutcome& outcome) {
  switch (outcome.Question) {
    case UploadQuestion::kNone:
      return outcome.Text;
    case UploadQuestion::kFinalExists:
      return FinalExistsWarning(upload.AthleteId);
    case UploadQuestion::kFinalHasResults:
      return FinalHasResultsRefusal(upload.AthleteId);
    case UploadQuestion::kCounted:
      return CountedWarning(upload.AthleteId);
    case UploadQuestion::kTiedPlaces: {
      const RoundNode* round = FindRoundById(upload.RoundId);
      const EventNode* event = round ? FindEventOfRound(*round) : nullptr;
      const ContestNode* contest = event ? FindContestById(round->ContestId) : nullptr;
      const GroupNode* group = contest ? FindGroupById(contest->GroupId) : nullptr;
      return group ? TieChoiceForm(outcome.Ties, *event, *group) : std::string();
    }
  }
  return {};
}

// Route 61: "/upcj.html?Dstr=..." stores one result and counts its round
// when complete. "%02d%s": the reply code and its text.
void ScoreUploadRoute(RouteContext& ctx) { AppendHtmlPage(ctx.session, AnswerScoreUpload(ctx.request.Path), ctx.reply); }

// Route 62: "/ydhupdatestcj2016.html?str=..." (or "?ctr=..." for shared
// places) places a tied final by hand: "1" and the sentence, or "0".
void ManualPlacesRoute(RouteContext& ctx) {
  AppendHtmlPage(ctx.session, AnswerManualPlaces(ctx.request.Path), ctx.reply);
}

constexpr RouteRow kRows[] = {
    {.path = "/upcj.html", .roles = kClerks, .code = 61, .handler = ScoreUploadRoute, .access = Access::kWrite,
     .empty = EmptyReply::kEmptyBody, .prefix = true, .unsynced = "00"},
    {.path = "/ydhupdatestcj2016.html", .roles = kClerks, .code = 62, .handler = ManualPlacesRoute,
     .access = Access::kWrite, .empty = EmptyReply::kEmptyBody, .unsynced = "0"},
};

}  // namespace

bool ParseScoreUpload(std::string_view path, ScoreUpload& upload) {
  if (!path.starts_with(kUploadPrefix)) return false;
  std::string_view query = path.substr(kUploadPrefix.size());
  int numbers[7] = {};
  std::size_t pos = 0;
  for (int i = 0; i < 7; ++i) {
    if (i > 0) {
      if (pos >= query.size() || query[pos] != '=') return false;
      ++pos;
    }
    if (!ReadInt(query, pos, numbers[i])) return false;
  }
  upload.RoundId = numbers[0];
  upload.AthleteId = numbers[1];
  upload.Status = numbers[2];
  upload.RecordValue = numbers[3];
  upload.RecordValue2 = numbers[4];
  upload.RecordValue3 = numbers[5];
  upload.Mode = numbers[6];
  upload.ScoreText.clear();
  if (pos < query.size() && query[pos] == '=') upload.ScoreText = query.substr(pos + 1);
  return upload.RoundId != 0 && upload.Mode >= kUploadNormal && upload.Mode <= kUploadRecount;
}

bool ParseManualPlaces(std::string_view path, ManualPlacesRequest& request) {
  std::size_t key = path.find("2016.html?str=");
  if (key == std::string_view::npos) {
    key = path.find("2016.html?ctr=");
    if (key == std::string_view::npos) return false;
    request.shared = true;
  }
  const std::vector<int> numbers = ReadNumbers(path.substr(key + 14));
  if (numbers.size() <= 7 || numbers.size() % 2 != 0) return false;
  request.round_id = numbers[0];
  for (int i = 0; i < 3; ++i) request.record[i] = numbers[1 + i];
  for (std::size_t i = 4; i + 1 < numbers.size(); i += 2) request.pairs.push_back({numbers[i], numbers[i + 1]});
  return true;
}

std::string AnswerScoreUpload(std::string_view path) {
  ScoreUpload upload;
  ScoreOutcome outcome;
  const ScoreReply code = ParseScoreUpload(path, upload) ? SaveScore(upload, outcome) : kReplyFailed;
  char digits[8];
  std::snprintf(digits, sizeof digits, "%02d", static_cast<int>(code));
  return digits + OutcomeText(upload, outcome);
}

std::string AnswerManualPlaces(std::string_view path) {
  ManualPlacesRequest request;
  std::string text;
  const int result = ParseManualPlaces(path, request) ? ApplyManualPlaces(request, text) : 0;
  return std::to_string(result) + text;
}

RouteTable ResultUploadRoutes() { return kRows; }

}  // namespace korva
