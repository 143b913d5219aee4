#include "database/print_queue.h"

#include <algorithm>
#include <utility>

namespace korva {

void PushPrintQueueItem(ResultPrintItem item) {
  auto& queue = Model().PrintQueue;
  item.Sequence = queue.empty() ? 1 : queue.front().Sequence + 1;
  queue.insert(queue.begin(), std::move(item));
}

void RemovePrintQueueItem(const RoundNode& round) {
  auto& queue = Model().PrintQueue;
  auto entry = std::find_if(queue.begin(), queue.end(),
                            [&](const ResultPrintItem& item) { return item.RoundId == round.Id; });
  if (entry == queue.end()) return;
  queue.erase(entry);
  if (queue.empty()) return;
  ++queue.front().Sequence;
  queue.front().Refresh = 1;
}

}  // namespace korva
