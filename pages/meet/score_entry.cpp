#include "pages/meet/score_entry.h"

#include <algorithm>

#include "database/data_error.h"
#include "database/data_lock.h"
#include "database/lookups.h"
#include "engine/round_lookups.h"
#include "engine/school_records.h"
#include "engine/score_text.h"
#include "web/escape.h"
#include "web/form_field.h"
#include "web/response.h"
#include "web/templates.h"

namespace korva {

namespace {

constexpr std::size_t kQueryFieldBytes = 200;

std::string Num(int n) { return std::to_string(n); }

const char* SelectedMark(bool selected) { return selected ? " selected=\"selected\"" : ""; }

// "grade sex team event[kind]": the part of a combined event carries the
// combined event's name in the brackets.
std::string RoundLabel(const GroupNode& group, const EventNode& event, const EventNode* combined, int kind) {
  std::string label = group.GradeName;
  if (event.TuanTiType != 3) label += group.Sex == 1 ? "男子" : "女子";
  if (event.TuanTiType == 2) label += "团体";
  if (event.TuanTiType == 3) label += "混团";
  label += event.Name;
  label += "[";
  label += combined ? combined->Name : kind == kPrelim ? "预赛" : "决赛";
  label += "]";
  return label;
}

// ---- the head of the page: selects, record line, hidden record values ----

constexpr const char* kViewHeading =
    "<tr>\r\n<td><div class=\"TabDivHui\">查看比赛成绩</div><br><br>\r\n";
constexpr const char* kEntryHeading =
    "<tr>\r\n<td><div class=\"TabDivHui\">录入比赛成绩</div><br><strong>(输入成绩后按“回车键”才能上传并保存，"
    "按“ESC”键可以放弃输入。)</strong><br>\r\n";
// The form is never sent: every result goes up on its own (inscore.js), so
// Enter in a lone result cell must not submit it either.
constexpr const char* kFormOpening =
    "<div id=\"one\" style=\"position:relative\">\r\n<form id=\"InputSocreForm\" name=\"InputSocreForm\" "
    "method=\"post\" action=\"InputSocre.html\" onsubmit=\"return false;\">\r\n日期:";

std::string TypeSelect(int event_type) {
  return std::string("&nbsp;&nbsp;比赛类型：<select name=\"bstype\" id=\"bstype\" onchange=\"reshtml(0);\" "
                     "style=\"margin-top:6px; font-size:18px;\">\r\n  <option value=\"1\"") +
         (event_type == 1 ? " selected" : "") + ">径赛</option>\r\n  <option value=\"2\"" +
         (event_type == 2 ? " selected" : "") + ">田赛</option>\r\n  </select>";
}

// The standing record the chosen round is measured against, floated right.
std::string RecordLine(const RecordNode* record) {
  if (!record || record->Value == kNoResult)
    return "<span style=\"float:right;\" title=\"最高记录成绩：无\"><img src=\"wuxin.jpg\" />无</span>";
  const std::string mark =
      EscapeHtml(FormatScoreText(record->Value, record->UnitText)) + EscapeHtml(record->UnitText);
  std::string sentence;
  if (!record->MeetName.empty() && !record->ClassName.empty())
    sentence = "在" + EscapeHtml(record->MeetName) + "中由" + EscapeHtml(record->ClassName) +
               EscapeHtml(record->HolderName) + "创造";
  return "<span style=\"float:right;\" title=\"最高记录成绩：" + mark + " " + sentence +
         "\"><img src=\"wuxin.jpg\" />" + mark + "</span>";
}

std::string RoundSelect(const SessionRounds& rounds, int round_id) {
  std::string select =
      "<br>比赛名称：<select name=\"ScoreID\" id=\"ScoreID\" onchange=\"reshtml(1);\" "
      "style=\"margin:6px; font-size:18px;\">\r\n";
  for (const RoundChoice& choice : rounds.Choices)
    select += "<option value=\"" + Num(choice.RoundId) + "\"" + SelectedMark(choice.RoundId == round_id) + ">" +
              EscapeHtml(choice.Event.Name) + "</option>\r\n";
  return select + "</select>";
}

std::string HeatSelect(int heat_count, int heat) {
  std::string select =
      "&nbsp;&nbsp;组别:<select name=\"ZhuBei\" id=\"ZhuBei\" onchange=\"reshtml(2);\" "
      "style=\"margin:6px; font-size:18px;\">\r\n";
  for (int h = 1; h <= heat_count; ++h) {
    select += "<option value=\"" + Num(h) + "\"" + SelectedMark(h == heat) + ">第" + Num(h) + "组[";
    select += heat_count > 1 ? "共" + Num(heat_count) + "组" : std::string("仅1组");
    select += "]</option>\r\n";
  }
  return select + "</select>\r\n";
}

std::string HiddenInput(const char* name, const std::string& value) {
  return std::string("<input type=\"hidden\" name=\"") + name + "\" id=\"" + name + "\" value=\"" + value +
         "\">\r\n";
}

// The record's three values and the group's two bonuses, which the script
// sends with every upload and shows beside a record result.
std::string RecordFields(const RecordNode* record, const GroupNode* group) {
  return HiddenInput("JL1", Num(record ? record->Value : kNoResult)) +
         HiddenInput("JL2", Num(record ? record->Value2 : kNoResult)) +
         HiddenInput("JL3", Num(record ? record->Value3 : kNoResult)) +
         HiddenInput("PingJiLuJF1", Num(group ? group->Bonus[1] : 0)) +
         HiddenInput("PoJiLuJF1", Num(group ? group->Bonus[2] : 0));
}

constexpr const char* kHints =
    "<tr><td align=\"left\">提示：<br />\r\n"
    "1、成绩输入格式用英文句号点“.”作为分隔符，如1分23秒05，则输入“1.23.05”！<br />\r\n"
    "2、输入成绩后请按回车键，系统会自动上传保存，特别是最后一位运动员，不要忘记按回车键哦!<br />\r\n"
    "3、按“ESC”键可以取消输入，清空成绩录入框后按回车键可删除学生成绩。<br />\r\n"
    "4、当前页面显示的最高记录成绩为判断当前比赛是否破记录的依据成绩，如果当前比赛有破记录，系统会自动记录，"
    "并在下一次比赛时用新的记录作为依据。</td></tr>";

// ---- the entry table ----

// What one walk over the round's lanes tells the table.
struct LaneScan {
  bool all_entered = true;   // every lane has a result or a status
  bool heat_entered = true;  // the same within the chosen heat
  bool any_placed = false;   // some lane has a place and points
  bool all_fouled = true;    // every lane has a status
  int heat_count = 0;        // the highest heat
  std::vector<LaneNode> rows;  // the chosen heat, one per lane (a team once)
};

LaneScan ScanRound(int round_id, int heat) {
  LaneScan scan;
  for (const LaneNode& lane : LanesOfRound(round_id)) {
    const bool entered = lane.Result != kNoResult || lane.Status != 0;
    scan.all_entered = scan.all_entered && entered;
    scan.any_placed = scan.any_placed || (lane.Place > 0 && lane.Points > 0);
    scan.all_fouled = scan.all_fouled && lane.Status != 0;
    scan.heat_count = std::max(scan.heat_count, lane.Heat);
    if (lane.Heat != heat) continue;
    scan.heat_entered = scan.heat_entered && entered;
    const bool shown = std::any_of(scan.rows.begin(), scan.rows.end(),
                                   [&](const LaneNode& row) { return row.Lane == lane.Lane; });
    if (!shown) scan.rows.push_back(lane);
  }
  std::stable_sort(scan.rows.begin(), scan.rows.end(),
                   [](const LaneNode& a, const LaneNode& b) { return a.Lane < b.Lane; });
  return scan;
}

constexpr const char* kDataErrorRow =
    "<tr>\r\n  <td colspan=\"10\"><img src=\"error2.jpg\" />警告：严重的数据错误，系统数据已经被破坏，"
    "请管理员重新建立运动会！</td>\r\n</tr></table>\r\n";

// The lane as the starter calls it: on a built-in track the lane in use at
// that position (a track may leave lanes out), elsewhere the stored lane
// or start order. False when the track is missing.
bool ShownLaneNumber(const LaneNode& lane, const EventNode& event, int& shown) {
  shown = lane.Lane;
  if (event.FZFDType != 1 || event.ChangDi >= 4) return true;
  const VenueNode* venue = FindVenueById(event.ChangDi);
  if (!venue) return false;
  shown = LaneAtPlace(*venue, lane.Lane);
  return true;
}

std::string ResultInput(int i, const std::string& result, const std::string& unit, int mode) {
  const std::string n = Num(i);
  return "<input name=\"cjinput" + n + "\" type=\"text\" id=\"cjinput" + n + "\" onBlur=\"blueme(" + n +
         ");\" onKeydown=\"panduankey(" + n + ");\" onfocus=\"selme(" + n + ");\" value=\"" + result +
         "\" size=\"12\" maxlength=\"12\"" + (mode == kScoreViewOnly ? " readonly=\"readonly\"" : "") + ">" +
         unit;
}

std::string FoulSelect(int i, int status, int mode) {
  const std::string n = Num(i);
  return "<select name=\"stfg" + n + "\" id=\"stfg" + n + "\" onfocus=\"selme(" + n + ");\" onChange=\"fgupdatecj(" +
         n + ")\"" + (mode == kScoreViewOnly ? " disabled=\"disabled\"" : "") + ">\r\n<option value=\"0\"" +
         SelectedMark(status != 1) + ">无</option>\r\n<option value=\"1\"" + SelectedMark(status == 1) +
         ">犯规</option>\r\n</select>\r\n";
}

std::string PlaceText(const RoundChoice& round, const LaneNode& lane) {
  if (round.Kind == kPrelim) return IsAthleteInFinal(round.RoundId, lane.AthleteId) ? "录取" : "";
  return lane.Place > 0 ? "第" + Num(lane.Place) + "名" : "";
}

const char* RecordText(int flag) { return flag == 2 ? "破记录" : flag == 1 ? "平记录" : ""; }

// One entry row; false (and the data-error row in its place) when its
// athlete, class or track is missing.
bool AppendEntryRow(int i, const LaneNode& lane, const RoundChoice& round, int mode, std::string& table) {
  const EventNode& event = round.Event;
  const AthleteNode* athlete = FindAthleteById(lane.AthleteId);
  const ClassNode* class_node = athlete ? FindClassNode(athlete->ClassId, athlete->GradeId) : nullptr;
  int lane_number = 0;
  bool found = true;
  if (!athlete) {
    ShowDataErrorCode(55121);
    found = false;
  } else if (!class_node) {
    ShowDataErrorCode(5513);
    found = false;
  } else if (!ShownLaneNumber(lane, event, lane_number)) {
    ShowDataErrorCode(55122);
    found = false;
  }
  if (!found) {
    table += kDataErrorRow;
    return false;
  }
  const bool individual = event.TuanTiType == 1;
  const std::string n = Num(i);
  const std::string class_name = EscapeHtml(class_node->ClassName);
  const std::string result = EscapeHtml(FormatScoreText(lane.Result, event.Unit));
  const std::string name = individual ? EscapeHtml(athlete->Name) : "";
  table += "<tr><td align=\"center\">\r\n<input type=\"hidden\" name=\"HmClsName" + n + "\" id=\"HmClsName" + n +
           "\" value=\"" + class_name + "\">\r\n<input type=\"hidden\" name=\"HmStId" + n + "\" id=\"HmStId" + n +
           "\" value=\"" + Num(lane.AthleteId) + "\">\r\n<input type=\"hidden\" name=\"OLDSCORE" + n +
           "\" id=\"OLDSCORE" + n + "\" value=\"" + result + "\">\r\n<input type=\"hidden\" name=\"stname" + n +
           "\" id=\"stname" + n + "\" value=\"" + name + "\">" + Num(lane_number) + "</td>\r\n";
  table += "<td align=\"center\">" + (individual ? EscapeHtml(athlete->BibText) : "") +
           "</td><td align=\"center\">" + name + "</td><td align=\"center\">" + class_name +
           "</td><td align=\"center\">" + ResultInput(i, result, EscapeHtml(event.Unit), mode) + "</td>\r\n";
  table += "<td align=\"center\">" + FoulSelect(i, lane.Status, mode) + "</td><td align=\"center\">" +
           PlaceText(round, lane) + "</td><td align=\"center\"><div id=\"jltext" + n + "\">" +
           RecordText(lane.RecordFlag) + "</div></td>\r\n<td align=\"center\"><div id=\"dftext" + n + "\">" +
           (lane.Points > 0 ? FormatPoints(lane.Points) : "") + "</div></td>\r\n<td align=\"center\"><div id=\"RetDiv" +
           n + "\"></div></td></tr>\r\n";
  return true;
}

// Where the round stands, and which print buttons that allows.
struct RoundState {
  std::string line;
  bool au[4] = {false, false, false, false};
};

constexpr const char* kCountButton =
    "<br />\t\t\t\t\t\t <input name=\"sgau5\" type=\"button\" id=\"sgau5\" onClick=\"sgtongji();\" value=\"统计成绩\">";

RoundState StateOfRound(const RoundChoice& round, const LaneScan& scan) {
  RoundState state;
  const bool prelim = round.Kind == kPrelim;
  if (scan.rows.empty()) {
    state.line = round.Kind == kFinalAfterPrelim
                     ? "<img src=\"tip.jpg\" />提示：当前决赛还未生成，该比赛的预赛完成后会自动生成本决赛安排!"
                     : "<img src=\"tip.jpg\" />提示：当前比赛未生成，请往前秩序册管理页面生成秩序册!";
    return state;
  }
  if (!scan.all_entered) {
    state.line = scan.heat_entered
                     ? "<img src=\"tip.jpg\" />提示：请及时输入当前比赛其他组别的成绩！"
                     : "<img src=\"tip.jpg\" />提示：请输入比赛成绩，输入时按回车键上传并保存成绩，并自动跳至下一个运动员！";
    state.au[0] = round.Kind != kDirectFinal;
    state.au[1] = !prelim;
    return state;
  }
  if (prelim) {
    const int final_state = GetFinalState(round.ContestId);
    if (final_state == -1) {
      state.line = "<img src=\"error2.jpg\" />警告：发生系统错误，请联系管理员，错误号004423;";
    } else if (final_state == 0) {
      state.line = scan.all_fouled ? "<img src=\"error2.jpg\" />警告：所有运动员被设定为犯规，无法生成预赛安排！"
                                   : std::string("<img src=\"tip.jpg\" />提示：当前比赛已经完成，但没有完成决赛安排，"
                                                 "点击“统计成绩”按钮完成比赛统计并生成决赛安排。") +
                                         kCountButton;
      state.au[0] = true;
    } else {
      state.line = "<img src=\"ok1.jpg\" />提示：比赛完成，决赛安排已生成，请查看或打印决赛检录表。";
      state.au[0] = state.au[1] = state.au[2] = true;
    }
    return state;
  }
  state.au[0] = round.Kind != kDirectFinal;
  state.au[1] = true;
  if (scan.any_placed) {
    state.line = "<img src=\"ok1.jpg\" />提示：比赛已完成，请查看或打印成绩表";
    state.au[2] = state.au[3] = true;
  } else if (scan.all_fouled) {
    state.line = "<img src=\"error2.jpg\" />警告：所有运动员被设定为犯规，无法统计名次与得分！";
  } else {
    state.line = std::string("<img src=\"tip.jpg\" />提示：比赛已完成，但未统计成绩，请单击“统计成绩”按钮以生成名次与得分。") +
                 kCountButton;
  }
  return state;
}

std::string PrintButtons(const RoundChoice& round, const bool (&enabled)[4]) {
  const bool prelim = round.Kind == kPrelim;
  const int sheets[4] = {prelim ? 1 : 2, prelim ? 2 : 1, 3, 4};
  const char* labels[4] = {"打印【预赛检录表】", "打印【决赛检录表】", "打印【成绩表】", "打印【奖状】"};
  std::string buttons;
  for (int b = 0; b < 4; ++b) {
    const std::string name = "au" + Num(b + 1);
    buttons += "<input name=\"" + name + "\" type=\"button\" id=\"" + name + "\" onClick=\"cjan(" + Num(sheets[b]) +
               "," + Num(round.RoundId) + ");\" value=\"" + labels[b] + "\"" + (enabled[b] ? "" : " disabled") +
               ">&nbsp;";
  }
  return buttons;
}

// The table of the chosen heat with the round's state line and print
// buttons; heat_count gets the round's highest heat.
std::string BuildScoreEntryTable(int& heat_count, const RoundChoice& round, int heat, int mode) {
  const LaneScan scan = ScanRound(round.RoundId, heat);
  heat_count = scan.heat_count;
  std::string table = "<table width=\"99%\" border=\"1\">\r\n<tr align=\"center\"><td>";
  table += round.Event.FZFDType == 1 ? "道次" : "序号";
  table += "</td><td>号码</td><td>姓名</td><td>班级</td><td>成绩</td><td>犯规</td><td>";
  table += round.Kind == kPrelim ? "进入决赛" : "名次";
  table += "</td><td>破记录</td><td>得分</td><td>数据状态</td></tr>\r\n";
  for (std::size_t i = 0; i < scan.rows.size(); ++i)
    if (!AppendEntryRow(static_cast<int>(i) + 1, scan.rows[i], round, mode, table)) return table;
  table +=
      "</table>\r\n<script type=\"text/javascript\">\r\nvar firstInDiv=document.getElementById(\"cjinput1\");\r\n"
      "if(firstInDiv)\r\n\t{\r\n\tif(firstInDiv.value.length==0){firstInDiv.focus();}\r\n\t}\r\n</script>\r\n";
  const RoundState state = StateOfRound(round, scan);
  // Print administrators see the buttons but not the state line.
  const std::string line = mode == kScoreViewOnly ? "" : state.line;
  table += HiddenInput("MaxI", Num(static_cast<int>(scan.rows.size()))) + HiddenInput("MatchID", Num(round.Event.Id)) +
           HiddenInput("jszid", Num(round.GroupId)) + "<div id=\"BotRetDiv\"> " + line + "</div>\r\n";
  table += PrintButtons(round, state.au) + "<br />\r\n <div id=\"popupl\">并列在这儿选择。</div><br>";
  return table;
}

}  // namespace

std::string BuildSessionSelect(int selected) {
  std::string select =
      "<select name=\"BsDate\" id=\"BsDate\"  onchange=\"reshtml(0);\" style=\"margin-top:6px; font-size:18px;\">\r\n";
  for (int s = 1; s <= Model().MeetSessionCount; ++s)
    select += " <option value=\"" + Num(s) + "\"" + SelectedMark(s == selected) + ">第" + Num((s + 1) / 2) + "天" +
              (s % 2 == 1 ? "上午" : "下午") + "</option>\r\n";
  return select + "  </select>";
}

bool CollectSessionRounds(int event_type, int session, int& round_id, SessionRounds& rounds) {
  rounds = {};
  auto fail = [&](int code) {
    ShowDataErrorCode(code);
    rounds = {};
    return false;
  };
  for (const RoundNode& round : Model().RoundList) {
    const ContestNode* contest = FindContestById(round.ContestId);
    if (!contest) return fail(34550);
    const EventNode* combined = nullptr;
    if (round.PartEventId != 0) {
      combined = FindEventById(contest->EventId);
      if (!combined) return fail(33550);
    }
    const EventNode* event = FindEventById(round.PartEventId != 0 ? round.PartEventId : contest->EventId);
    if (!event) return fail(32550);
    if (round.Session != session || event->BiSaiType != event_type || round.Disabled != 0) continue;
    const GroupNode* group = FindGroupById(contest->GroupId);
    if (!group) return fail(31550);
    RoundChoice choice{.Event = *event,
                       .RoundId = round.Id,
                       .Kind = round.Kind,
                       .Order = round.Order,
                       .CompletionStamp = round.CompletionStamp,
                       .GroupId = group->Id,
                       .ContestId = contest->Id,
                       .Entrants = round.Entrants,
                       .Places = round.Places};
    choice.Event.Name = RoundLabel(*group, *event, combined, round.Kind);
    rounds.Choices.push_back(std::move(choice));
  }
  std::stable_sort(rounds.Choices.begin(), rounds.Choices.end(),
                   [](const RoundChoice& a, const RoundChoice& b) { return a.Order < b.Order; });

  const auto& choices = rounds.Choices;
  auto chosen = std::find_if(choices.begin(), choices.end(), [&](const RoundChoice& c) { return c.RoundId == round_id; });
  if (round_id == 0 && !choices.empty()) {
    chosen = std::find_if(choices.begin(), choices.end(), [](const RoundChoice& c) { return c.CompletionStamp == 0; });
    if (chosen == choices.end()) chosen = choices.begin();
    round_id = chosen->RoundId;
  }
  if (chosen == choices.end()) return true;
  rounds.Chosen = static_cast<int>(chosen - choices.begin());
  rounds.Group = FindGroupById(chosen->GroupId);
  // The event's own name: the choice's holds its label.
  const EventNode* event = FindEventById(chosen->Event.Id);
  if (rounds.Group && event)
    rounds.Record = FindRecordNode(rounds.Group->GradeName, rounds.Group->Sex, 1, event->Name, chosen->Kind);
  return true;
}

std::string BuildScoreEntryBody(int session, int event_type, int round_id, int heat, int mode) {
  SessionRounds rounds;
  CollectSessionRounds(event_type, session, round_id, rounds);
  const RoundChoice* chosen = rounds.Chosen >= 0 ? &rounds.Choices[rounds.Chosen] : nullptr;

  std::string body = mode == kScoreViewOnly ? kViewHeading : kEntryHeading;
  body += kFormOpening;
  body += BuildSessionSelect(session);
  body += TypeSelect(event_type);
  body += RecordLine(rounds.Record);
  body += RoundSelect(rounds, round_id);
  int heat_count = 0;
  const std::string table = chosen ? BuildScoreEntryTable(heat_count, *chosen, heat, mode)
                                   : "当前无比赛，请选择其他比赛类型或时段。<br>\r\n";
  body += HeatSelect(heat_count, heat);
  if (chosen)
    body += "&nbsp;&nbsp;共" + Num(chosen->Entrants) + "人&nbsp;取" + Num(chosen->Places) +
            (chosen->Kind == kPrelim ? "人决" : "名") + "<br>";
  else
    body += "<br>";
  body += RecordFields(rounds.Record, rounds.Group);
  body += table;
  body += "</form>\r\n</div>\r\n</td></tr>\r\n";
  body += kHints;
  return body;
}

void ServeInputScorePage(const LoginNode& session, std::string_view path, std::string& reply, int mode) {
  AssertDataLockHeld();
  auto field = [&](std::string_view key) { return GetFormInt(path, key, kQueryFieldBytes); };
  int day = field("BsDate=");
  int event_type = field("bstype=");
  int round_id = field("MatchTabe=");
  int heat = field("zhu=");
  if (day == 0) day = 1;
  if (event_type == 0) event_type = 1;
  if (heat == 0) heat = 1;
  if (round_id != 0) {
    if (const RoundNode* round = FindRoundById(round_id)) {
      day = round->Session;
      if (const EventNode* event = FindEventOfRound(*round)) event_type = event->BiSaiType;
    } else {
      round_id = 0;
      heat = 1;
    }
  }

  const MeetModel& meet = Model();
  std::string body;
  if (!meet.LaneList.empty()) {
    body = BuildScoreEntryBody(day, event_type, round_id, heat, mode);
  } else if (meet.CurrentMeetId != 0) {
    body = mode == kScoreEntryAdmin
               ? "\r\n<p><strong><font color=\"#FF0000\">当前未生成秩序册，请生成[秩序册]后再进行比赛成绩录入！</font>"
                 "</strong></p>\r\n\t\t\t <p><a href=\"BookControl.html\">点击此处进入秩序册管理</a></p>"
               : "\r\n<p><strong><font color=\"#FF0000\">当前未生成秩序册，请管理员先生成[秩序册]！</font></strong></p>\r\n";
  } else {
    body = mode == kScoreEntryAdmin
               ? "\r\n<br /><br /><p><strong><h1>当前未建立运动会，请先<a href=\"JianLiYdh.html\">新建一个运动会</a>！"
                 "</h1></strong></p>\r\n"
               : "\r\n<br /><br /><p><strong><h1>当前未建立运动会，请管理员先建立一个运动会！</h1></strong></p>\r\n";
  }
  const Template frame = mode == kScoreEntryAdmin   ? Template::kAdminFrame
                         : mode == kScoreEntryClerk ? Template::kClerkFrame
                                                    : Template::kPrintAdminFrame;
  AppendHtmlPage(session, BuildFramedPage(frame, session, kAdminPageTitle, kInscoreScriptTag, body), reply);
}

namespace {

void ClerkScoreEntryRoute(RouteContext& ctx) {
  ServeInputScorePage(ctx.session, ctx.request.Path, ctx.reply, kScoreEntryClerk);
}
void ViewScoresRoute(RouteContext& ctx) {
  ServeInputScorePage(ctx.session, ctx.request.Path, ctx.reply, kScoreViewOnly);
}
void AdminScoreEntryRoute(RouteContext& ctx) {
  ServeInputScorePage(ctx.session, ctx.request.Path, ctx.reply, kScoreEntryAdmin);
}

// A clerk's home is the score-entry page.
constexpr RouteRow kRows[] = {
    {.path = "/Admin.html", .roles = Role(kRoleScoreClerk), .code = 16, .handler = ClerkScoreEntryRoute},
    {.path = "/InputScore.html", .roles = Role(kRoleScoreClerk), .code = 16, .handler = ClerkScoreEntryRoute},
    {.path = "/InputScore.html", .roles = Role(kRolePrintAdmin), .code = 18, .handler = ViewScoresRoute},
    {.path = "/InputScore.html", .roles = kAdmin, .code = 56, .handler = AdminScoreEntryRoute},
};

}  // namespace

RouteTable ScoreEntryRoutes() { return kRows; }

}  // namespace korva
