// The lock's own instance in threads of their own: the test program's main
// thread holds DataLock for the whole run.
#include "database/data_lock.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

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

// Threads queue on the lock in the order of kinds ('w' a writer, 'r' a
// reader), each holding it until let go, and the holders leave in the order
// leaving (thread numbers; the first of it still holding goes next). At each
// step the lock must be held by the first thread still there, or by the
// readers that arrived one after another at the head, never by a writer
// beside anyone. Returns "" or the first step where it was not.
std::string FaultLeavingIn(const std::string& kinds, const std::string& leaving) {
  DataLockType lock;
  std::vector<std::atomic<char>> state(kinds.size());  // 0 waiting, 'i' in, 'g' go, 'o' out
  auto await = [&](std::size_t t, char s) {
    while (state[t] != s) std::this_thread::yield();
  };
  std::vector<std::thread> threads;
  for (std::size_t t = 0; t < kinds.size(); ++t) {
    threads.emplace_back([&, t] {
      kinds[t] == 'w' ? lock.lock() : lock.lock_shared();
      state[t] = 'i';
      await(t, 'g');
      kinds[t] == 'w' ? lock.unlock() : lock.unlock_shared();
      state[t] = 'o';
    });
    // Queued or let in: a thread let in at once does not stop the queue.
    while (lock.Queued() + std::count(state.begin(), state.end(), 'i') != t + 1) std::this_thread::yield();
  }
  std::string fault;
  // Every thread is let go even after a fault, so that all can be joined.
  for (std::string left = std::string("01234").substr(0, kinds.size()); !left.empty();) {
    const std::size_t granted = left.size() - lock.Queued();  // steady: each thread waits or holds
    std::string holding;
    while (holding.size() != granted) {
      holding.clear();
      for (char t : left)
        if (state[t - '0'] == 'i') holding += t;
    }
    std::size_t run = 1;
    while (kinds[left[0] - '0'] == 'r' && run < left.size() && kinds[left[run] - '0'] == 'r') ++run;
    if (fault.empty() && holding != left.substr(0, run))
      fault = "leaving in the order " + leaving + ": held by " + holding + ", not " + left.substr(0, run);
    const char next = *std::find_first_of(leaving.begin(), leaving.end(), holding.begin(), holding.end());
    state[next - '0'] = 'g';
    await(next - '0', 'o');
    std::erase(left, next);
  }
  for (std::thread& t : threads) t.join();
  return fault;
}

// Every queue of the table, its holders leaving in every order.
TEST(DataLockTest, QueuesGoInByArrivalWhateverOrderHoldersLeaveIn) {
  for (const std::string kinds : {"wrw", "wrrw", "wrrwr", "rwrrw", "wwrr", "rwwr", "rrw", "rrwr"}) {
    std::string leaving = std::string("01234").substr(0, kinds.size());  // thread numbers
    std::string fault;
    do {
      fault = FaultLeavingIn(kinds, leaving);
    } while (fault.empty() && std::next_permutation(leaving.begin(), leaving.end()));
    EXPECT_EQ(fault, "") << kinds;
  }
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
