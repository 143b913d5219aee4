#pragma once
// Values built from the model and kept until a writer next holds DataLock.
// Every change of the model happens under such a hold, so a value a reader
// built stays true until then, and the polls and views that follow share
// it. A value built inside a writer's own hold is not kept: that writer may
// still change the model after it.
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <limits>
#include <mutex>
#include <utility>
#include <vector>

#include "database/data_lock.h"

namespace korva {

template <typename Key, typename Value>
class HoldCache {
 public:
  // At most bound values are kept; past it the cache starts again.
  explicit HoldCache(std::size_t bound = std::numeric_limits<std::size_t>::max()) : bound_(bound) {}

  // The value kept for key, or the one build(value) makes; build returns
  // false for a value that must not be kept. The caller holds DataLock.
  template <typename Build>
  Value Get(const Key& key, Build build) {
    AssertDataLockHeld();
    const std::uint64_t writes = DataLock.WriteCount();
    {
      std::lock_guard<std::mutex> hold(mutex_);
      if (writes_ == writes)
        for (const auto& [kept_key, kept] : entries_)
          if (kept_key == key) return kept;
    }
    Value value{};
    if (!build(value) || DataLock.HeldForWrite()) return value;
    std::lock_guard<std::mutex> hold(mutex_);
    if (writes_ != writes || entries_.size() >= bound_) {
      entries_.clear();
      writes_ = writes;
    }
    if (std::none_of(entries_.begin(), entries_.end(), [&](const auto& kept) { return kept.first == key; }))
      entries_.emplace_back(key, value);
    return value;
  }

 private:
  std::mutex mutex_;
  std::uint64_t writes_ = std::numeric_limits<std::uint64_t>::max();  // DataLock.WriteCount() of entries_
  std::vector<std::pair<Key, Value>> entries_;
  std::size_t bound_;
};

}  // namespace korva
