#pragma once
// Manual places on ties: when a final of an event that allows no ties has
// equal results within its places, the clerk places the tied athletes by
// hand (or allows shared places) and the page sends every place of the
// final at once. The caller holds DataLock as a writer.
#include <string>
#include <vector>

#include "database/model.h"

namespace korva {

// A place set by hand (1 to 99; places above 20 score nothing).
struct PlacePair {
  int athlete_id = 0;
  int place = 0;
};

// The places of a final as the page sends them: shared places allowed or
// not, the round, the record's three values as the page had them, and
// pairs of athlete id and place.
struct ManualPlacesRequest {
  bool shared = false;
  int round_id = 0;
  ScoreValue record[3] = {kNoResult, kNoResult, kNoResult};
  std::vector<PlacePair> pairs;
};

// The named lanes get place, points (the contest's scheme, else the
// group's, times the event's multiplier, with the group's record bonus) and
// record flag; then the records, the round's stamp and the print queue, as
// counting does. 1 applied (text "决赛已经完成，请查看或打印【成绩表】。");
// 0 refused (a place outside 1 to 99, or without shared places a place
// twice; an unknown round) or failed, nothing changed, with the reason in
// text when a place was given twice without shared places.
int ApplyManualPlaces(const ManualPlacesRequest& request, std::string& text);

}  // namespace korva
