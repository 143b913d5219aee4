#include "pages/meet/order_book_writer.h"

#include <cstdio>
#include <ctime>
#include <string_view>
#include <vector>

#include "database/data_error.h"
#include "database/gbk_text.h"
#include "database/lookups.h"
#include "database/model.h"
#include "engine/session_start.h"
#include "pages/meet/order_book_tables.h"
#include "pages/meet/order_book_xml.h"
#include "pages/meet/round_context.h"
#include "web/templates.h"

namespace korva {

namespace {

constexpr int kErrRoundContestMissing = 6550;  // logged after the look-up's 12550
constexpr int kErrRoundEventMissing = 4550;
constexpr int kErrCombinedEventMissing = 5550;
constexpr int kErrGroupMissing = 123511;

constexpr std::size_t kLabelBytes = 99;
constexpr int kAthletesPerRosterLine = 6;

// The templates the timetable and the group part fill again and again.
struct SchedulePieces {
  SplitTemplate title{Template::kOrderBookTitle, {"标题", "36"}};
  SplitTemplate heat_table{Template::kOrderBookHeatTable,
                           {"格11", "格12", "格13", "格14", "格15", "格16", "格17",
                            "格21", "格22", "格23", "格24", "格25", "格26", "格27",
                            "格31", "格32", "格33", "格34", "格35", "格36", "格37",
                            "格41", "格42", "格43", "格44", "格45", "格46", "格47"}};
};

// A title paragraph: template 157 at 18 pt ("36" half-points) or, for the
// headings inside the timetable, at 15 pt ("30").
void AppendTitle(const SplitTemplate& title, std::string_view gbk_text, std::string_view size,
                 std::string& out) {
  const std::string values[] = {XmlText(gbk_text), std::string(size)};
  title.AppendFilled(values, out);
}

void AppendPageTitle(std::string_view gbk_text, std::string& out) {
  const SplitTemplate page_title{Template::kOrderBookPageTitle, {"标题"}};
  const std::string values[] = {XmlText(gbk_text)};
  page_title.AppendFilled(values, out);
}

// One line of a half-day session's timetable.
struct ScheduleLineEntry {
  int Order = 0;
  HeatTableRound Round;
  std::string Label;  // GBK, at most kLabelBytes
  int Duration = 0;   // minutes
};

// Track lines run by order; field lines by venue, highest id first, each
// venue's by order. Equal keys keep their arrival order.
void InsertSorted(ScheduleLineEntry entry, std::vector<ScheduleLineEntry>& list, bool field) {
  auto goes_before = [&](const ScheduleLineEntry& other) {
    if (!field) return other.Order > entry.Order;
    return other.Round.VenueId < entry.Round.VenueId ||
           (other.Round.VenueId == entry.Round.VenueId && other.Order > entry.Order);
  };
  auto at = list.begin();
  while (at != list.end() && !goes_before(*at)) ++at;
  list.insert(at, std::move(entry));
}

int HighestHeat(int round_id) {
  int heats = 0;
  for (const LaneNode& lane : Model().LaneList)
    if (lane.RoundId == round_id && lane.Heat > heats) heats = lane.Heat;
  return heats;
}

std::string ScheduleNote(const RoundNode& round, int heats, const EventNode& event) {
  if (round.Disabled == 1) return "人数不足,直接决赛!";
  const char* unit = event.TuanTiType == 1 ? "人" : "队";
  const std::string entrants = std::to_string(round.Entrants);
  const std::string places = std::to_string(round.Places);
  switch (round.Kind) {
    case kPrelim: return "  " + std::to_string(heats) + "组 " + entrants + unit + "  取" + places + "人决";
    case kFinalAfterPrelim: return "  取" + places + "名";
    default: return "  " + entrants + unit + "  取" + places + "名";
  }
}

// "grade sex team event (combined)kind note", blanks between the parts as
// the printed timetable has always had them.
std::string ScheduleLabel(const RoundNode& round, const GroupNode& group, const EventNode& event,
                          const EventNode* combined, int heats) {
  std::string label = group.GradeName + " ";
  if (event.TuanTiType != 3) label += group.Sex == 1 ? "男子组" : "女子组";
  label += " ";
  if (event.TuanTiType == 2) label += "团队";
  if (event.TuanTiType == 3) label += "混团";
  label += " " + event.Name + " ";
  if (combined) label += "(" + combined->Name + ")";
  label += round.Kind == kPrelim ? " 预赛 " : " 决赛 ";
  label += ScheduleNote(round, heats, event);
  return std::string(CutGbk(label, kLabelBytes));
}

// The entry of a scheduled round; false (and logged) when a record is
// missing, which drops the whole half-day session.
bool MakeScheduleEntry(const RoundNode& round, ScheduleLineEntry& entry) {
  RoundContext context;
  if (ResolveRoundContext(round.Id, context) != 0) {
    if (!context.Contest) ShowDataErrorCode(kErrRoundContestMissing);
    else if (!context.Event) ShowDataErrorCode(kErrRoundEventMissing);
    else ShowDataErrorCode(kErrGroupMissing);
    return false;
  }
  const EventNode& event = *context.Event;
  const EventNode* combined = nullptr;
  if (round.PartEventId != 0) {
    combined = FindEventById(context.Contest->EventId);
    if (!combined) {
      ShowDataErrorCode(kErrCombinedEventMissing);
      return false;
    }
  }
  const int heats = round.Kind == kPrelim ? HighestHeat(round.Id) : 0;
  entry.Order = round.Order;
  entry.Round = {round.Id, event.BiSaiType, event.FZFDType, event.ChangDi, event.TuanTiType};
  entry.Label = ScheduleLabel(round, *context.Group, event, combined, heats);
  entry.Duration = round.Duration != 0 ? round.Duration
                                       : event.MatchTime * (event.BiSaiType == 1 ? heats : round.Entrants);
  return true;
}

// "[hh:mm]" of a time of day.
std::string ClockText(std::time_t when) {
  std::tm tm{};
  if (!localtime_r(&when, &tm)) tm = std::tm{};
  char text[16];
  std::snprintf(text, sizeof text, "[%02d:%02d]", tm.tm_hour, tm.tm_min);
  return text;
}

// Writes one list ("径赛" or "田赛") into both parts. Field venues each run
// their own sequence from the session's start.
void WriteLines(const char* heading, const std::vector<ScheduleLineEntry>& lines, bool field,
                std::time_t start, const SchedulePieces& pieces, std::string& schedule_part,
                std::string& group_part) {
  if (lines.empty()) return;
  std::string title;
  AppendTitle(pieces.title, heading, "30", title);
  schedule_part += title;
  group_part += title;
  long long offset = 0;
  for (std::size_t i = 0; i < lines.size(); ++i) {
    const ScheduleLineEntry& line = lines[i];
    if (field && i > 0 && line.Round.VenueId != lines[i - 1].Round.VenueId) offset = 0;
    const std::string text = std::to_string(i + 1) + "、" + ClockText(start + offset) + line.Label;
    offset += static_cast<long long>(line.Duration) * 60;
    std::string paragraph;
    AppendTextParagraph(text, paragraph);
    schedule_part += paragraph;
    group_part += paragraph;
    WriteHeatTables(line.Round, pieces.heat_table, group_part);
  }
}

// One half-day session into both parts (each left empty when the session
// has no round or a record is missing).
void WriteSessionSchedule(int session, const SchedulePieces& pieces, std::string& schedule_part,
                          std::string& group_part) {
  std::vector<ScheduleLineEntry> track;
  std::vector<ScheduleLineEntry> field;
  for (const RoundNode& round : Model().RoundList) {
    if (round.Session != session) continue;
    ScheduleLineEntry entry;
    if (!MakeScheduleEntry(round, entry)) return;
    const bool is_field = entry.Round.EventType != 1;
    InsertSorted(std::move(entry), is_field ? field : track, is_field);
  }
  const std::time_t start = SessionStartTime(session);
  WriteLines("径赛", track, false, start, pieces, schedule_part, group_part);
  WriteLines("田赛", field, true, start, pieces, schedule_part, group_part);
}

// "5月3日上午": the calendar day of the session, stepped from the meet's
// first day at noon so that a change of daylight-saving time cannot move it.
std::string SessionHeading(int session) {
  std::tm day{};
  const std::time_t first = Model().MeetStartTime;
  bool known = localtime_r(&first, &day) != nullptr;
  if (known) {
    day.tm_mday += (session - 1) / 2;
    day.tm_hour = 12;
    day.tm_min = day.tm_sec = 0;
    day.tm_isdst = -1;
    known = std::mktime(&day) != static_cast<std::time_t>(-1);
  }
  const int month = known ? day.tm_mon + 1 : 0;
  const int mday = known ? day.tm_mday : 0;
  return std::to_string(month) + "月" + std::to_string(mday) + "日" + (session % 2 == 1 ? "上午" : "下午");
}

// The athletes of one class and sex, six to a paragraph.
void AppendRosterRun(const ClassNode& cls, int sex, std::string& document) {
  AppendTextParagraph(sex == 1 ? "男子组" : "女子组", document);
  const std::vector<AthleteNode>& athletes = Model().AthleteList;
  const AthleteNode* first = FindFirstAthleteOfClassAndSex(cls.ClassId, sex);
  if (!first) return;
  std::string line;
  int on_line = 0;
  for (std::size_t i = first - athletes.data(); i < athletes.size(); ++i) {
    const AthleteNode& athlete = athletes[i];
    if (athlete.ClassId != cls.ClassId || athlete.Sex != sex) break;
    if (on_line > 0) line += "  ";
    line += athlete.BibText + athlete.Name;
    if (++on_line == kAthletesPerRosterLine) {
      AppendTextParagraph(line, document);
      line.clear();
      on_line = 0;
    }
  }
  if (on_line > 0) AppendTextParagraph(line, document);
}

}  // namespace

void WriteOrderBookHead(std::string& document) {
  document = kXmlDeclarationStart;
  if (const std::string* head = FindHtmlTemplate(Template::kOrderBookHead)) document += GbkToUtf8(*head);
}

int WriteAthleteRoster(std::string& document) {
  const SplitTemplate title{Template::kOrderBookTitle, {"标题", "36"}};
  AppendTitle(title, "运 动 员 名 单", "36", document);
  for (const ClassNode& cls : Model().ClassList) {
    const bool boys = FindGroupByGradeAndSex(cls.GradeId, 1) != nullptr;
    const bool girls = FindGroupByGradeAndSex(cls.GradeId, 2) != nullptr;
    if (!boys && !girls) continue;
    AppendTextParagraph("★" + cls.ClassName + "  领队：" + cls.LeaderName, document);
    if (boys) AppendRosterRun(cls, 1, document);
    if (girls) AppendRosterRun(cls, 2, document);
  }
  return 0;
}

int WriteScheduleAndGroups(std::string& document) {
  const SchedulePieces pieces;
  AppendPageTitle("竞 赛 日 程 表", document);
  std::string groups;
  AppendPageTitle("竞 赛 分 组 表", groups);
  for (int session = 1; session <= Model().MeetSessionCount; ++session) {
    std::string schedule_part;
    std::string group_part;
    WriteSessionSchedule(session, pieces, schedule_part, group_part);
    if (schedule_part.empty()) continue;
    std::string heading;
    AppendTitle(pieces.title, SessionHeading(session), "30", heading);
    document += heading;
    document += schedule_part;
    groups += heading;
    groups += group_part;
  }
  document += groups;
  return 0;
}

void WriteOrderBookTail(std::string& document) {
  const SplitTemplate tail{Template::kOrderBookTail, {"主办单位", "运动会名称"}};
  const std::string values[] = {XmlText(Model().OrganiserName), XmlText(Model().MeetName)};
  tail.AppendFilled(values, document);
}

}  // namespace korva
