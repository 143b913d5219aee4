#include "database/data_lock.h"

#include <cstdio>
#include <cstdlib>

namespace korva {

namespace {

// How deep the calling thread holds the lock in each mode. A thread that
// reads while it writes only counts the read.
thread_local int write_depth = 0;
thread_local int read_depth = 0;
thread_local bool owns_shared = false;  // the reads above took the mutex shared

}  // namespace

DataLockType DataLock;

void DataLockType::lock() {
  if (write_depth > 0) {
    ++write_depth;
    return;
  }
  if (read_depth > 0) throw DataLockMisuse("a reader of DataLock asked to write");
  mutex_.lock();
  write_depth = 1;
  writes_.fetch_add(1, std::memory_order_release);
}

void DataLockType::unlock() {
  if (--write_depth == 0) mutex_.unlock();
}

void DataLockType::lock_shared() {
  if (write_depth > 0 || read_depth > 0) {
    ++read_depth;
    return;
  }
  mutex_.lock_shared();
  owns_shared = true;
  read_depth = 1;
}

void DataLockType::unlock_shared() {
  if (--read_depth == 0 && owns_shared) {
    owns_shared = false;
    mutex_.unlock_shared();
  }
}

bool DataLockType::HeldForRead() const { return write_depth > 0 || read_depth > 0; }

bool DataLockType::HeldForWrite() const { return write_depth > 0; }

void AssertDataLockHeld(bool write) {
#ifdef KORVA_CHECK_LOCKS
  if (write ? DataLock.HeldForWrite() : DataLock.HeldForRead()) return;
  std::fprintf(stderr, "DataLock is not held %s\n", write ? "for writing" : "");
  std::abort();
#else
  (void)write;
#endif
}

}  // namespace korva
