// The lock's own instance in threads of their own: the test program's main
// thread holds DataLock for the whole run.
#include "database/data_lock.h"

#include <gtest/gtest.h>

#include <atomic>
#include <mutex>
#include <string>
#include <thread>

namespace korva {

namespace {

void WaitForQueue(DataLockType& lock, std::size_t length) {
  while (lock.Queued() != length) std::this_thread::yield();
}

// A writer waiting behind a reader goes before a reader that came after it,
// and readers that arrive one after another share the lock.
TEST(DataLockTest, ThreadsGoInByArrival) {
  DataLockType lock;
  std::mutex noted;
  std::string order;
  auto note = [&](char what) {
    std::lock_guard<std::mutex> hold(noted);
    order += what;
  };
  std::atomic<bool> shared{false};
  std::thread first([&] {
    lock.lock_shared();
    std::thread second([&] {
      lock.lock_shared();  // beside the first reader: no writer is queued yet
      note('s');
      lock.unlock_shared();
    });
    second.join();
    shared = true;
    WaitForQueue(lock, 2);
    note('f');
    lock.unlock_shared();
  });
  while (!shared) std::this_thread::yield();
  std::thread writer([&] {
    lock.lock();
    note('w');
    lock.unlock();
  });
  WaitForQueue(lock, 1);
  std::thread late([&] {
    lock.lock_shared();
    note('r');
    lock.unlock_shared();
  });
  first.join();
  writer.join();
  late.join();
  EXPECT_EQ(order, "sfwr");
}

TEST(DataLockTest, ReentryAndMisuse) {
  std::thread([] {
    DataLockType lock;
    lock.lock();
    lock.lock_shared();
    lock.lock();
    EXPECT_TRUE(lock.HeldForWrite());
    lock.unlock();
    lock.unlock_shared();
    lock.unlock();
    EXPECT_FALSE(lock.HeldForRead());
    lock.lock_shared();
    lock.lock_shared();
    EXPECT_THROW(lock.lock(), DataLockMisuse);
    lock.unlock_shared();
    lock.unlock_shared();
    lock.lock();  // free again for a writer
    lock.unlock();
  }).join();
}

}  // namespace

}  // namespace korva
