#pragma once
// The print queue (Model().PrintQueue, newest first): the result tables of
// counted rounds, waiting for the print centre and the results board. The
// caller holds DataLock.
#include "database/model.h"

namespace korva {

// Links item at the head with the head's sequence number + 1 (1 in an empty
// queue).
void PushPrintQueueItem(ResultPrintItem item);

// Takes the round's entry out of the queue (none: nothing changes). The
// entry then at the head gets its number raised by one and its refresh flag
// set, so a results board that polls sees a higher number and reloads.
void RemovePrintQueueItem(const RoundNode& round);

}  // namespace korva
