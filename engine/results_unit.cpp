#include "engine/results_unit.h"

#include <utility>

#include "database/connections.h"
#include "database/loaders.h"

namespace korva {

ResultsUnit::ResultsUnit() : unit_(MeetConnection()), queue_(Model().PrintQueue) {}

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
  LoadRounds();
  LoadLanes();
  LoadRecords();
  Model().PrintQueue = std::move(queue_);
}

}  // namespace korva
