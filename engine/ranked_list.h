#pragma once
// The ranked list of a round: copies of its lanes, best first, from which
// the round is counted and a final is seeded. The caller holds DataLock.
#include <optional>
#include <vector>

#include "database/model.h"

namespace korva {

// The round's lanes in LaneList order, ranked by result in the event's
// direction (PaiXuType 1 smaller first, 2 larger first); equal results keep
// their LaneList order (heat, then lane). Lanes with a status above 0 are
// left out, and a class team counts once (its first member). None when a
// lane that counts has no result yet, or when no lane counts at all.
std::optional<std::vector<LaneNode>> BuildRankedList(const RoundNode& round, const EventNode& event);

}  // namespace korva
