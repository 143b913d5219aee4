#include "pages/meet/certificates.h"

#include <algorithm>
#include <vector>

#include "database/lookups.h"
#include "pages/meet/chinese_numeral.h"
#include "web/escape.h"

namespace korva {

namespace {

constexpr const char* kLine5 = "特发此证，并表祝贺！";

std::string Pads(int count) {
  std::string pads;
  for (int i = 0; i < count; ++i) pads += "&nbsp;";
  return pads;
}

std::string EventLine(const EventNode& event, const GroupNode& group) {
  const char* sex = event.TuanTiType == 3 ? "" : group.Sex == 1 ? "男子" : "女子";
  return "荣获 " + EscapeHtml(group.GradeName) + " " + sex + " " + EscapeHtml(event.Name) + " 比赛";
}

// Lines 1, 4 and the rest for one entry; false when its athlete or class
// is missing.
bool EntryLines(const EventNode& event, const GroupNode& group, const LaneNode& lane, bool single,
                CertificateLines& lines) {
  const AthleteNode* athlete = FindAthleteById(lane.AthleteId);
  const ClassNode* class_node = athlete ? FindClassNode(athlete->ClassId, group.GradeId) : nullptr;
  if (!class_node) return false;
  lines.Pupil = event.TuanTiType == 1
                    ? "<strong>" + EscapeHtml(class_node->ClassName) + " " + EscapeHtml(athlete->Name) + "</strong>同学："
                    : "<strong>" + EscapeHtml(class_node->ClassName) + "</strong>：";
  const std::string place = FormatChineseNumeral(lane.Place);
  lines.Place = single ? "第&nbsp;&nbsp;" + place + "&nbsp;&nbsp;名" : "第 " + place + " 名";
  return true;
}

// Lines 2, 3, 6 and 7, the same on every certificate of a round.
CertificateLines CommonLines(const EventNode& event, const GroupNode& group) {
  const MeetModel& meet = Model();
  CertificateLines lines;
  lines.Meet = FormatCertificateMeetLine(meet.OrganiserName, meet.MeetName);
  lines.Event = EventLine(event, group);
  lines.Organiser = EscapeHtml(meet.OrganiserName);
  lines.Date = FormatCertificateDate(std::time(nullptr));
  return lines;
}

}  // namespace

std::string FormatCertificateMeetLine(std::string_view organiser, std::string_view meet) {
  const int organiser_bytes = static_cast<int>(organiser.size());
  const int meet_bytes = static_cast<int>(meet.size());
  if (organiser_bytes + meet_bytes <= 40) {
    const std::string pads = Pads(std::max(0, (39 - organiser_bytes - meet_bytes) / 2));
    return "在" + pads + EscapeHtml(organiser) + " " + EscapeHtml(meet) + pads + "中";
  }
  const std::string pads = Pads(meet_bytes >= 40 ? 0 : (40 - meet_bytes) / 2);
  return "在" + pads + EscapeHtml(meet) + pads + "中";
}

std::string FormatCertificateDate(std::time_t when) {
  std::tm tm{};
  const bool known = localtime_r(&when, &tm) != nullptr;
  return std::to_string(known ? tm.tm_year + 1900 : 0) + "年" + std::to_string(known ? tm.tm_mon + 1 : 0) + "月" +
         std::to_string(known ? tm.tm_mday : 0) + "日";
}

void BuildCertificateBlock(const CertificateLines& lines, std::string& out, int& first_done) {
  out += first_done == 0 ? "<div class=\"jz16ksupaikuang\">" : "<div class=\"jzfy16ksupaikuang\">";
  out += "\r\n\t<div class=\"zj16kdiv\">\r\n<div class=\"jzline1\"><nobr>" + lines.Pupil +
         "</nobr></div>\r\n<div class=\"jzline2\"><nobr>" + lines.Meet +
         "</nobr></div>\r\n<div class=\"jzline3\"><nobr>" + lines.Event +
         "</nobr></div>\r\n<div class=\"jzline4\"><nobr>" + lines.Place +
         "</nobr></div>\r\n<div class=\"jzline5\"><nobr>" + kLine5 +
         "</nobr></div>\r\n<div class=\"jzline6\"><nobr>" + lines.Organiser +
         "</nobr></div>\r\n<div class=\"jzline7\"><nobr>" + lines.Date + "</nobr></div>\r\n</div>\r\n</div>";
  first_done = 1;
}

void BuildRoundCertificates(std::span<const LaneNode> lanes, std::string& out, const EventNode& event,
                            const GroupNode& group) {
  std::vector<const LaneNode*> placed;
  const LaneNode* taken = nullptr;
  for (const LaneNode& lane : lanes) {
    if (lane.Place <= 0) continue;
    if (taken && taken->Lane == lane.Lane && taken->Heat == lane.Heat) continue;  // a team's further member
    placed.push_back(&lane);
    taken = &lane;
  }
  if (placed.empty()) return;
  std::stable_sort(placed.begin(), placed.end(),
                   [](const LaneNode* a, const LaneNode* b) { return a->Result < b->Result; });
  CertificateLines lines = CommonLines(event, group);
  int first_done = 0;
  for (const LaneNode* lane : placed) {
    if (!EntryLines(event, group, *lane, false, lines)) return;
    BuildCertificateBlock(lines, out, first_done);
  }
}

void BuildCertificateText(int& first_done, const EventNode& event, std::string& out, const LaneNode& lane,
                          const GroupNode& group) {
  CertificateLines lines = CommonLines(event, group);
  if (!EntryLines(event, group, lane, true, lines)) return;
  BuildCertificateBlock(lines, out, first_done);
}

void BuildCertificatePreview(std::string& out, const CertificateLines& lines) {
  static constexpr const char* kLineNames[] = {"第一行：", "第二行：", "第三行：", "第四行：",
                                               "第五行：", "第六行：", "第七行："};
  static constexpr const char* kMoves[] = {"上移", "下移", "左移", "右移"};
  auto buttons = [&](int line) {
    std::string row = kLineNames[line - 1];
    for (int direction = 1; direction <= 4; ++direction)
      row += "<input type=\"button\" value=\"" + std::string(kMoves[direction - 1]) + "\" onClick=\"MoveZjDiv(" +
             std::to_string(line) + "," + std::to_string(direction) + ");\">";
    return row;
  };
  out += "<div class=\"zj16kdivYuLan\">\r\n<div class=\"PiaoFuDiv1\">各行位置控制：（每按一次移动1毫米）<br />\r\n";
  for (int line = 1; line <= 3; ++line)
    out += buttons(line) + "&nbsp;&nbsp;&nbsp;&nbsp;" + buttons(line + 4) + "<br />\r\n";
  out += buttons(4) + "<br />\r\n</div>\r\n";
  const std::string* texts[] = {&lines.Pupil, &lines.Meet, &lines.Event, &lines.Place,
                                nullptr,      &lines.Organiser, &lines.Date};
  for (int line = 1; line <= 7; ++line) {
    const std::string n = std::to_string(line);
    out += "<div class=\"jzline" + n + "\" id=\"jzdiv" + n + "\"><nobr>" +
           (texts[line - 1] ? *texts[line - 1] : std::string(kLine5)) + "</nobr></div>";
  }
  out += "</div>\r\n";
}

}  // namespace korva
