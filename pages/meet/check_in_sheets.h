#pragma once
// Check-in sheets (检录表) of drawn rounds: the marshal's and the judges'
// paper, one per round or every round of one half-day session and kind.
// Each event prints the sheet of its record-sheet type (JiLuBiaoType):
// 1 lanes across, 2 one row per athlete in start order, 3 field sheet of
// six attempts, 4 height sheet of ten heights. The caller holds DataLock;
// nothing here changes the meet.
//
// The builders take the amount already placed on the current printed page
// (tables of the lane sheet, lines of the order sheet; 88 forces a new
// page) and return it, so that consecutive sheets share pages; 0 when a
// builder stopped on missing data.
#include <span>
#include <string>

#include "database/model.h"

namespace korva {

// Half-day session sheets: kind 1 track, 2 field (the rounds' own event
// type); heats 1 the preliminaries and direct finals, 0 the finals after
// preliminaries whose lanes are drawn; rounds by their order in the
// session. 0 built; 1 no round ("<tr><td>无数据！</td></tr>" in out); 2 nothing
// drawn yet (out says to make the order book first).
int BuildSessionCheckInSheets(std::string& out, int session, int kind, int heats);

// The sheet of one round by its event's sheet type, from page count 0. 0.
int PrintRoundCheckIn(std::string& out, const RoundNode& round, const EventNode& event, const GroupNode& group,
                      std::span<const LaneNode> lanes);

int BuildLaneCheckInSheet(std::string& out, const RoundNode& round, const EventNode& event, int page_count,
                          const GroupNode& group, std::span<const LaneNode> lanes);
int BuildOrderCheckInSheet(std::span<const LaneNode> lanes, std::string& out, const RoundNode& round,
                           const EventNode& event, const GroupNode& group, int page_count);
// variant 1 six attempts, 2 ten heights of three attempts. 1, or 0 on
// missing data.
int BuildFieldCheckInSheet(std::span<const LaneNode> lanes, std::string& out, const RoundNode& round,
                           const EventNode& event, const GroupNode& group, int variant, int page_count);

}  // namespace korva
