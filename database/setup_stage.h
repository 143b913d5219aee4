#pragma once

namespace korva {
// How far the set-up of the open meet has come, read from the model: the
// caller holds DataLock.
// Nothing here changes the model.

// Set-up stages: the first unfinished step of the meet's set-up.
enum SetupStage {
  kStageComplete = 0,         // every step done: the meet information page
  kStageNoGroups = 1,         // no competition group yet
  kStageNoGroupEvents = 2,    // a group without events
  kStageUnscheduled = 3,      // an enabled round without session or order
  kStageNoSchemeOrContest = 4,
  kStageNoEvents = 5,
  kStageNoGroupEventList = 6,
  kStageNoClasses = 7,
  kStageNoMeet = 8,           // no meet open: the create-meet page
};

// The current SetupStage. A failing query counts as "no row" (and is logged).
int GetSetupStage();

// True when registration is closed or every class has filled the quota of
// athletes and entries its groups ask for, false when some class is short.
// A data inconsistency is logged with its code and answers true.
bool CheckModelConsistency();

// True when every round, disabled preliminaries included, has a half-day
// session and an order number; false otherwise or with no rounds at all.
bool AllRoundsScheduled();

}  // namespace korva
