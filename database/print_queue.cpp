#include "database/print_queue.h"

#include <algorithm>
#include <utility>

#include "database/connections.h"
#include "database/data_error.h"
#include "database/store_common.h"

namespace korva {

namespace {

// The innermost watch; guarded by DataLock like the queue.
PrintQueueWatch* watching = nullptr;

// The next sequence number, kept in the meet file. 0 after a failed write.
int NextSequence() {
  MeetModel& model = Model();
  const int next = model.PrintQueueTop + 1;
  if (!Execute(MeetConnection(), "UPDATE qrtb331 SET qrtb337 = ?", next)) {
    ShowDataErrorCode(33714);
    return 0;
  }
  model.PrintQueueTop = next;
  return next;
}

}  // namespace

// Copies the queue into every watch that has no copy yet, before a change.
void KeepPrintQueue() {
  for (PrintQueueWatch* watch = watching; watch != nullptr; watch = watch->outer_)
    if (!watch->saved_) watch->saved_ = Model().PrintQueue;
}

PrintQueueWatch::PrintQueueWatch() : outer_(watching) { watching = this; }

PrintQueueWatch::~PrintQueueWatch() { watching = outer_; }

void PrintQueueWatch::Restore() {
  if (saved_) Model().PrintQueue = std::move(*saved_);
  saved_.reset();
}

int PushPrintQueueItem(ResultPrintItem item) {
  item.Sequence = NextSequence();
  if (item.Sequence == 0) return 1;
  KeepPrintQueue();
  auto& queue = Model().PrintQueue;
  if (queue.empty() && item.Sequence > 1) item.Refresh = 1;
  queue.insert(queue.begin(), std::move(item));
  return 0;
}

int RemovePrintQueueItem(const RoundNode& round) {
  auto& queue = Model().PrintQueue;
  auto entry = std::find_if(queue.begin(), queue.end(),
                            [&](const ResultPrintItem& item) { return item.RoundId == round.Id; });
  if (entry == queue.end()) return 0;
  int next = 0;
  if (queue.size() > 1 && (next = NextSequence()) == 0) return 1;
  KeepPrintQueue();
  queue.erase(entry);
  if (queue.empty()) return 0;
  queue.front().Sequence = next;
  queue.front().Refresh = 1;
  return 0;
}

}  // namespace korva
