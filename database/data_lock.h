#pragma once
// DataLock guards the in-memory model, the print queue and both database
// connections. It is re-entrant. LoginListLock (web/) is only ever taken
// after it, never before.
#include <mutex>

namespace korva {

extern std::recursive_mutex DataLock;

using DataGuard = std::lock_guard<std::recursive_mutex>;

}  // namespace korva
