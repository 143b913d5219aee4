#include "engine/ranked_list.h"

#include <algorithm>

#include "database/lookups.h"

namespace korva {

std::optional<std::vector<LaneNode>> BuildRankedList(const RoundNode& round, const EventNode& event) {
  std::vector<LaneNode> ranked;
  const auto& lanes = Model().LaneList;
  const LaneNode* first = FindFirstLaneOfRound(round.Id);
  if (!first) return std::nullopt;
  const LaneNode* last_taken = nullptr;
  for (auto it = lanes.begin() + (first - lanes.data()); it != lanes.end() && it->RoundId == round.Id;
       ++it) {
    if (it->Status > 0) continue;
    // The further members of a class team share the first one's heat and lane.
    if (last_taken && it->Heat == last_taken->Heat && it->Lane == last_taken->Lane) continue;
    if (it->Result == kNoResult) return std::nullopt;
    last_taken = &*it;
    auto beaten = std::find_if(ranked.begin(), ranked.end(), [&](const LaneNode& entry) {
      return (event.PaiXuType == 1 && it->Result < entry.Result) ||
             (event.PaiXuType == 2 && it->Result > entry.Result);
    });
    ranked.insert(beaten, *it);
  }
  if (ranked.empty()) return std::nullopt;
  return ranked;
}

}  // namespace korva
