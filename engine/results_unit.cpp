#include "engine/results_unit.h"

#include "database/connections.h"
#include "database/loaders.h"

namespace korva {

ResultsUnit::ResultsUnit() : unit_(MeetConnection()) {}

ResultsUnit::~ResultsUnit() {
  if (!done_) Undo();
}

bool ResultsUnit::Commit() {
  if (done_) return false;
  if (!unit_.Commit()) {
    Undo();
    return false;
  }
  done_ = true;
  return true;
}

void ResultsUnit::Undo() {
  done_ = true;
  unit_.Rollback();
  // The failure is answered by the unit's owner; a failed reload logs itself.
  ReloadRoundsAndLanes();
  static_cast<void>(LoadRecords());
  queue_.Restore();
}

}  // namespace korva
