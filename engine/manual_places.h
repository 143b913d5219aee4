#pragma once
// Manual places on ties: when a final of an event that allows no ties has
// equal results within its places, the clerk places the tied athletes by
// hand (or allows shared places) and the page sends every place of the
// final at once. The caller holds DataLock as a writer.
#include <string>
#include <string_view>

namespace korva {

// "/ydhupdatestcj2016.html?str=" (every place different) or "?ctr="
// (shared places allowed) followed by numbers each ended by '-': round id,
// the record's three values, then pairs of athlete id and place (1 to 99;
// places above 20 score nothing). The named lanes get place, points (the
// contest's scheme, else the group's, times the event's multiplier, with
// the group's record bonus) and record flag; then the records, the round's
// stamp and the print queue, as counting does. 1 applied (text "决赛已经完
// 成，请查看或打印【成绩表】。"); 0 refused or failed, nothing changed, with
// the reason in text when a place was given twice without shared places.
int HandleManualPlaces(std::string_view path, std::string& text);

}  // namespace korva
