#pragma once
// The result sheet of a counted round ("竞  赛  成  绩  表"): a preliminary's
// athletes who go on to the final, or a final's placed athletes by place,
// with result, points and record mark. The caller holds DataLock.
#include <span>
#include <string>

#include "database/model.h"

namespace korva {

// Appends the sheet of the round's lanes to out (22 rows to a page, the
// head repeated on each), or makes out "无数据！" when no entry qualifies.
// A team is one entry (its first member's class). A missing athlete or
// class ends the sheet after the rows already written.
void BuildResultSheet(std::span<const LaneNode> lanes, std::string& out, const RoundNode& round,
                      const EventNode& event, const GroupNode& group);

}  // namespace korva
