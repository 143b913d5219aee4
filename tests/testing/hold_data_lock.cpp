// Linked into each folder's unit-test program: the tests read and change the
// model directly, as the only thread of their program, so it holds DataLock
// for the whole run, as the server's handlers do for a request.
#include <gtest/gtest.h>

#include "database/data_lock.h"

namespace korva {

namespace {

class HoldDataLock : public ::testing::Environment {
 public:
  void SetUp() override { DataLock.lock(); }
  void TearDown() override { DataLock.unlock(); }
};

// gtest takes ownership of the environment.
[[maybe_unused]] ::testing::Environment* const kHold = ::testing::AddGlobalTestEnvironment(new HoldDataLock);

}  // namespace

}  // namespace korva
