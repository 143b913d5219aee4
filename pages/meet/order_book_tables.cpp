#include "pages/meet/order_book_tables.h"

#include <algorithm>
#include <array>
#include <vector>

#include "database/data_error.h"
#include "database/lookups.h"
#include "database/model.h"
#include "pages/meet/chinese_numeral.h"
#include "pages/meet/order_book_xml.h"
#include "pages/meet/round_context.h"

namespace korva {

namespace {

constexpr int kRows = 4;
constexpr int kColumns = 7;     // column 1 holds the corner and the heat label
constexpr int kPlacesPerTable = kColumns - 1;

constexpr int kErrAthleteMissing = 3550;
constexpr int kErrClassMissing = 512550;
constexpr int kErrTrackMissing = 512552;
constexpr int kErrMemberMissing = 1550;

// The cells of one table, GBK, row by row.
using Cells = std::array<std::array<std::string, kColumns>, kRows>;

// One column of a table: an athlete, or a team of one class sharing heat
// and position.
struct Entry {
  const LaneNode* First = nullptr;
  const AthleteNode* Athlete = nullptr;
  const ClassNode* Class = nullptr;
};

// The table's column (0-based) of the first entry at position p: places 1-6,
// 7-12, ... fill the same six columns. A position below 1 takes the first.
int FirstColumnOf(int position) { return position < 1 ? 1 : (position - 1) % kPlacesPerTable + 1; }

void LabelHeat(Cells& cells, int heat) {
  cells[1][0] = "第";
  cells[2][0] = FormatChineseNumeral(heat);
  cells[3][0] = "组";
}

void AppendTable(const Cells& cells, const SplitTemplate& heat_table, std::string& group_part) {
  std::vector<std::string> values;
  values.reserve(kRows * kColumns);
  for (const auto& row : cells)
    for (const std::string& cell : row) values.push_back(XmlText(cell));
  heat_table.AppendFilled(values, group_part);
  AppendTextParagraph(" ", group_part);
}

// The round's lanes by heat, then position; equal keys keep LaneList order.
std::vector<const LaneNode*> RoundLanes(int round_id) {
  std::vector<const LaneNode*> lanes;
  for (const LaneNode& lane : Model().LaneList)
    if (lane.RoundId == round_id) lanes.push_back(&lane);
  std::stable_sort(lanes.begin(), lanes.end(), [](const LaneNode* a, const LaneNode* b) {
    return a->Heat != b->Heat ? a->Heat < b->Heat : a->Lane < b->Lane;
  });
  return lanes;
}

// Groups the lanes into entries: a team is the run of lanes of one heat and
// position whose athletes share the first member's class. A missing athlete
// or class is logged and ends the list; missing then names the lane it
// belongs to (lanes.size() when all were found).
std::vector<Entry> BuildEntries(const std::vector<const LaneNode*>& lanes, bool team, std::size_t& missing) {
  std::vector<Entry> entries;
  missing = lanes.size();
  for (std::size_t i = 0; i < lanes.size();) {
    AthleteContext found;
    if (FindAthleteAndClass(lanes[i]->AthleteId, found) != 0) {
      ShowDataErrorCode(found.Athlete ? kErrClassMissing : kErrAthleteMissing);
      missing = i;
      return entries;
    }
    std::size_t next = i + 1;
    while (team && next < lanes.size() && lanes[next]->Heat == lanes[i]->Heat &&
           lanes[next]->Lane == lanes[i]->Lane) {
      const AthleteNode* member = FindAthleteById(lanes[next]->AthleteId);
      if (!member) {
        ShowDataErrorCode(kErrMemberMissing);
        missing = i;
        return entries;
      }
      if (member->ClassId != found.Athlete->ClassId) break;
      ++next;
    }
    entries.push_back({lanes[i], found.Athlete, found.Class});
    i = next;
  }
  return entries;
}

// Row 1 of an entry's column: for a lane event its lane as a numeral and
// "道" (at the built-in tracks the lane in use at that place, so a track
// whose lanes start at 2 names place 1 二道), else the start position.
std::string PlaceLabel(int position, bool in_lanes, const VenueNode* track) {
  if (!in_lanes) return std::to_string(position);
  return FormatChineseNumeral(track ? LaneAtPlace(*track, position) : position) + "道";
}

}  // namespace

int WriteHeatTables(const HeatTableRound& round, const SplitTemplate& heat_table, std::string& group_part) {
  const std::vector<const LaneNode*> lanes = RoundLanes(round.RoundId);
  if (lanes.empty()) return 0;
  const bool in_lanes = round.EventType == 1 && round.LaneFlag == 1;
  const bool individual = round.TeamType == 1;
  const VenueNode* track = nullptr;
  if (in_lanes && round.VenueId >= 1 && round.VenueId <= 3) {
    track = FindVenueById(round.VenueId);  // a miss logs 114
    if (!track) {
      ShowDataErrorCode(kErrTrackMissing);
      return 0;
    }
  }
  std::size_t missing = 0;
  const std::vector<Entry> entries = BuildEntries(lanes, !individual, missing);
  if (entries.empty()) return 0;
  // The entry after entries[i]: the next one, or the lane whose record is
  // missing, so that the table it would fall into is dropped.
  auto next_after = [&](std::size_t i) -> const LaneNode* {
    if (i + 1 < entries.size()) return entries[i + 1].First;
    return missing < lanes.size() ? lanes[missing] : nullptr;
  };
  const char* corner = in_lanes ? "组\\道" : "组\\序";

  Cells cells{};
  cells[0][0] = corner;
  int labelled_heat = entries.front().First->Heat;
  LabelHeat(cells, labelled_heat);
  int column = FirstColumnOf(entries.front().First->Lane);
  for (std::size_t i = 0; i < entries.size(); ++i) {
    const Entry& entry = entries[i];
    cells[0][column] = PlaceLabel(entry.First->Lane, in_lanes, track);
    if (individual) {
      cells[1][column] = entry.Athlete->BibText;
      cells[2][column] = entry.Athlete->Name;
    }
    cells[3][column] = entry.Class->ClassName;

    const LaneNode* next = next_after(i);
    if (column < kColumns - 1 && next && next->Heat == entry.First->Heat) {
      ++column;
      continue;
    }
    AppendTable(cells, heat_table, group_part);
    if (!next) break;
    // A new table: labelled when a new heat begins, unlabelled when a heat
    // of more than six places goes on.
    cells = Cells{};
    cells[0][0] = corner;
    if (next->Heat > labelled_heat) {
      labelled_heat = next->Heat;
      LabelHeat(cells, labelled_heat);
    }
    column = FirstColumnOf(next->Lane);
  }
  return 0;
}

}  // namespace korva
