#pragma once
// The round settings panel of the advanced page: per contest of one kind of
// event, the qualifiers of its preliminary, the places of its final and its
// scoring scheme, each changed through the administrative AJAX functions.
// Reads the model only; the caller holds DataLock.
#include <string>

namespace korva {

// The whole panel for track (kind 1) or field (kind 2) events, or the
// sentence that stands in its place.
void BuildChangeRoundDataPage(std::string& panel, int kind);

}  // namespace korva
