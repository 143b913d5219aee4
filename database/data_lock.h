#pragma once
// DataLock guards the in-memory model, the print queue and both database
// connections. The one rule:
// - a request that only reads the meet holds it shared, so pages are built
//   side by side; a writer (every store function, a reload, the draw, the
//   order book, a counter or a download count) holds it alone;
// - each route row says which of the two its handler needs, and the
//   dispatcher takes it; pages, the engine and the look-ups assume it is
//   held; store functions and start-up take it themselves (DataGuard);
// - a thread may take it again in the mode it holds, and a writer may also
//   read; a reader must never try to become a writer (that would wait for
//   itself): the attempt throws DataLockMisuse, and the test build's checks
//   catch it first;
// - LoginListLock (web/) is only ever taken after it, never before.
// Threads are let in by order of arrival, readers arriving one after another
// side by side: a writer waits only for the holders and the queue ahead of
// it, never for readers that came later, and a reader never waits for more
// than the writers queued before it.
#include <atomic>
#include <condition_variable>
#include <cstdint>
#include <deque>
#include <mutex>
#include <shared_mutex>
#include <stdexcept>

namespace korva {

// A fair shared lock whose owner may re-enter it; see above.
class DataLockType {
 public:
  DataLockType() = default;
  // release_hook runs on the writer's thread as its outermost hold ends,
  // while it still holds the lock alone (the model's indexes are brought up
  // to date there).
  explicit DataLockType(void (*release_hook)()) : release_hook_(release_hook) {}

  void lock();  // exclusive
  void unlock();
  void lock_shared();
  void unlock_shared();

  // What the calling thread holds.
  bool HeldForRead() const;   // shared or exclusive
  bool HeldForWrite() const;  // exclusive

  // How many times a writer has taken the lock (its outermost hold). Every
  // change of the model happens under such a hold, so text a reader built
  // from the model stays true while this number is unchanged.
  std::uint64_t WriteCount() const { return writes_.load(std::memory_order_acquire); }

  // Threads waiting for it.
  std::size_t Queued();

 private:
  struct Waiter;
  void Acquire(bool write);
  void GrantWaiters();  // mutex_ held

  std::mutex mutex_;
  std::deque<Waiter*> queue_;  // in order of arrival
  int readers_ = 0;            // threads holding it shared
  bool writer_ = false;        // a thread holds it alone
  std::atomic<std::uint64_t> writes_{0};
  void (*release_hook_)() = nullptr;
};

// A reader asked for the exclusive lock.
struct DataLockMisuse : std::logic_error {
  using std::logic_error::logic_error;
};

extern DataLockType DataLock;

// The writer's guard.
using DataGuard = std::lock_guard<DataLockType>;
// The reader's guard.
using DataReadGuard = std::shared_lock<DataLockType>;

// In the test build: aborts with a line on standard error when the calling
// thread does not hold DataLock (for writing when write is true). Nothing
// in the release build.
void AssertDataLockHeld(bool write = false);

}  // namespace korva
