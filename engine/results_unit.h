#pragma once
// One unit of work over results: a score with the counting it starts, a
// seeding, manual places, a regrouped round. Every statement of the unit
// commits together or not at all, and after a failure the lists it may
// have touched (rounds, lanes, records and the print queue) are as the file
// left them. The caller holds DataLock.
#include "database/print_queue.h"
#include "database/sqlite_db.h"

namespace korva {

class ResultsUnit {
 public:
  // Opens a transaction on the meet connection (a savepoint when one is
  // open already) and watches the print queue.
  ResultsUnit();
  // Without a commit: rolls back, reloads RoundList, LaneList and
  // RecordList from the files and puts the print queue back.
  ~ResultsUnit();
  ResultsUnit(const ResultsUnit&) = delete;
  ResultsUnit& operator=(const ResultsUnit&) = delete;

  bool ok() const { return unit_.ok(); }
  // Makes the changes permanent (or part of the outer unit); false, with
  // everything undone as above, when that fails.
  bool Commit();

 private:
  void Undo();

  Transaction unit_;
  PrintQueueWatch queue_;
  bool done_ = false;
};

}  // namespace korva
