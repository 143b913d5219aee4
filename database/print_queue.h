#pragma once
// The print queue (Model().PrintQueue, newest first): the result tables of
// counted rounds, waiting for the print centre and the results board. The
// caller holds DataLock (for writing, to change it).
#include <optional>
#include <vector>

#include "database/model.h"

namespace korva {

// Links item at the head with the next sequence number, which the meet file
// keeps (numbers never run backwards, not even after the queue was emptied
// or the program restarted). Into a queue that an earlier removal emptied it
// comes with its refresh flag set, so a board that still shows the removed
// table reloads. 0 / 1 after a failed write (data error 33714; the caller's
// unit rolls back).
[[nodiscard]] int PushPrintQueueItem(ResultPrintItem item);

// Takes the round's entry out of the queue (none: nothing changes). The
// entry then at the head gets the next number and its refresh flag set, so
// a results board that polls sees a higher number and reloads. 0 / 1 as
// above.
[[nodiscard]] int RemovePrintQueueItem(const RoundNode& round);

// Watches the queue for a unit of work: the first change made while it
// lives copies the queue as it stood, so a unit that fails can put it back.
// Watches nest; a queue that is not changed is never copied.
class PrintQueueWatch {
 public:
  PrintQueueWatch();
  ~PrintQueueWatch();
  PrintQueueWatch(const PrintQueueWatch&) = delete;
  PrintQueueWatch& operator=(const PrintQueueWatch&) = delete;

  // Puts the queue back as it stood when the watch began.
  void Restore();

 private:
  friend void KeepPrintQueue();
  std::optional<std::vector<ResultPrintItem>> saved_;
  PrintQueueWatch* outer_;
};

}  // namespace korva
