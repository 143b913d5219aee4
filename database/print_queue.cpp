#include "database/print_queue.h"

#include <algorithm>
#include <utility>

namespace korva {

namespace {

// The innermost watch; guarded by DataLock like the queue.
PrintQueueWatch* watching = nullptr;

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

void PushPrintQueueItem(ResultPrintItem item) {
  KeepPrintQueue();
  MeetModel& model = Model();
  auto& queue = model.PrintQueue;
  item.Sequence = ++model.PrintQueueTop;
  if (queue.empty() && item.Sequence > 1) item.Refresh = 1;
  queue.insert(queue.begin(), std::move(item));
}

void RemovePrintQueueItem(const RoundNode& round) {
  auto& queue = Model().PrintQueue;
  auto entry = std::find_if(queue.begin(), queue.end(),
                            [&](const ResultPrintItem& item) { return item.RoundId == round.Id; });
  if (entry == queue.end()) return;
  KeepPrintQueue();
  queue.erase(entry);
  if (queue.empty()) return;
  queue.front().Sequence = ++Model().PrintQueueTop;
  queue.front().Refresh = 1;
}

}  // namespace korva
