#pragma once
// The class points board beside the live results: the classes of one
// grade (or of the whole school) by total points, and for one grade the
// ten best athletes (风云榜). It reads the model and changes nothing; the
// caller holds DataLock.
#include <cstddef>
#include <string>
#include <utility>
#include <vector>

#include "database/model.h"

namespace korva {

// An athlete's points on the board.
struct AthleteTotal {
  int AthleteId = 0;
  int ClassId = 0;
  std::string ClassName;
  PointsValue Total = 0;
};

// Athletes' totals in order of first appearance, found by athlete id.
struct AthleteTotals {
  std::vector<AthleteTotal> List;
  std::vector<std::pair<int, std::size_t>> At;  // (athlete id, index in List), by athlete id
};

// Adds the lane's points to its athlete's total, or appends a new total
// with them.
void AddAthletePoints(AthleteTotals& totals, const LaneNode& lane, const std::string& class_name);

// The board for a grade (0: every class, ranked school-wide, and no 风云榜).
// Following one class is not offered: any followed class reads as none.
// Empty when a round has no event (data error 22224).
std::string BuildClassScoreBoard(int grade_id, int followed_class_id);

}  // namespace korva
