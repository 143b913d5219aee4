#include "database/data_lock.h"

#include <cstdio>
#include <cstdlib>

#include "database/lookups.h"
#include "database/model.h"
#include "database/store_rounds.h"

namespace korva {

namespace {

// How deep the calling thread holds the lock in each mode. A thread that
// reads while it writes only counts the read.
thread_local int write_depth = 0;
thread_local int read_depth = 0;
thread_local bool owns_shared = false;  // the reads above took the lock shared

}  // namespace

// A thread queued for the lock; it lives on that thread's stack.
struct DataLockType::Waiter {
  bool write = false;
  bool granted = false;
  std::condition_variable wake;
};

namespace {

// What a writer leaves done as its hold ends.
void WriterDone() {
  FlushRoundCounters(true);
  RefreshModelIndex();
}

}  // namespace

DataLockType DataLock(WriterDone);

// Lets in the head of the queue, and every reader behind a reader, while
// what holds the lock allows it.
void DataLockType::GrantWaiters() {
  while (!queue_.empty() && !writer_) {
    Waiter* next = queue_.front();
    if (next->write) {
      if (readers_ > 0) return;
      writer_ = true;
    } else {
      ++readers_;
    }
    queue_.pop_front();
    next->granted = true;
    next->wake.notify_one();
  }
}

void DataLockType::Acquire(bool write) {
  std::unique_lock<std::mutex> hold(mutex_);
  if (queue_.empty() && !writer_ && (!write || readers_ == 0)) {
    if (write) {
      writer_ = true;
    } else {
      ++readers_;
    }
    return;
  }
  Waiter self;
  self.write = write;
  queue_.push_back(&self);
  self.wake.wait(hold, [&] { return self.granted; });
}

void DataLockType::lock() {
  if (write_depth > 0) {
    ++write_depth;
    return;
  }
  if (read_depth > 0) throw DataLockMisuse("a reader of DataLock asked to write");
  Acquire(true);
  write_depth = 1;
  writes_.fetch_add(1, std::memory_order_release);
}

void DataLockType::unlock() {
  if (write_depth == 1 && release_hook_) release_hook_();
  if (--write_depth > 0) return;
  std::lock_guard<std::mutex> hold(mutex_);
  writer_ = false;
  GrantWaiters();
}

void DataLockType::lock_shared() {
  if (write_depth > 0 || read_depth > 0) {
    ++read_depth;
    return;
  }
  Acquire(false);
  owns_shared = true;
  read_depth = 1;
}

void DataLockType::unlock_shared() {
  if (--read_depth > 0 || !owns_shared) return;
  owns_shared = false;
  std::lock_guard<std::mutex> hold(mutex_);
  if (--readers_ == 0) GrantWaiters();
}

std::size_t DataLockType::Queued() {
  std::lock_guard<std::mutex> hold(mutex_);
  return queue_.size();
}

bool DataLockType::HeldForRead() const { return write_depth > 0 || read_depth > 0; }

bool DataLockType::HeldForWrite() const { return write_depth > 0; }

void AssertDataLockHeld(bool write) {
#ifdef KORVA_CHECK_LOCKS
  if (write ? DataLock.HeldForWrite() : DataLock.HeldForRead() || ThreadModel() != nullptr) return;
  std::fprintf(stderr, "DataLock is not held %s\n", write ? "for writing" : "");
  std::abort();
#else
  (void)write;
#endif
}

}  // namespace korva
