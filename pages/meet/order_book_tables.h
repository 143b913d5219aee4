#pragma once
// The heat tables of the order book's group part: under each scheduled
// round, one Word table per heat (more when a heat has over six places),
// naming for each lane or start position the athlete, or the team, and the
// class. Runs on the order-book worker, which holds DataLock.
#include <string>

namespace korva {

class SplitTemplate;

// What a round's tables need to know of its event.
struct HeatTableRound {
  int RoundId = 0;
  int EventType = 1;  // BiSaiType: 1 track
  int LaneFlag = 1;   // FZFDType: 1 lanes
  int VenueId = 0;    // the built-in tracks 1 to 3 name their lanes in use
  int TeamType = 1;   // TuanTiType: 1 individual
};

// Appends the round's tables (template 159, given as split) to group_part,
// each followed by a blank text paragraph. A round without lanes adds
// nothing. A missing athlete (3550, or 1550 for a further team member),
// class (512550) or built-in track (114, then 512552) ends the round's
// tables: the open table is dropped, the ones appended stay. 0.
int WriteHeatTables(const HeatTableRound& round, const SplitTemplate& heat_table, std::string& group_part);

}  // namespace korva
