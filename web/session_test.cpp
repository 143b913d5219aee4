// Sessions: numbers, the idle and address rules, the sweep of long-idle
// sessions, and the local-network rule of staff roles.
#include "web/session.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <set>

#include "database/model.h"
#include "web/network.h"

namespace korva {

namespace {

TEST(FindOrCreateSession, NewSessionsGetDistinctUnguessableNumbers) {
  FreeLoginList();
  std::set<std::uint64_t> numbers;
  for (int i = 0; i < 200; ++i) numbers.insert(FindOrCreateSession(0, "127.0.0.1", 1000)->SessionId);
  EXPECT_EQ(200u, numbers.size());
  EXPECT_GT(*numbers.rbegin(), std::uint64_t{1} << 62);  // all 64 bits are drawn
  FreeLoginList();
}

TEST(FindOrCreateSession, AtTheBoundSessionsNotSignedInGoFirstButNoneInUse) {
  FreeLoginList();
  std::uint64_t teacher = FindOrCreateSession(0, "10.0.0.5", 1000)->SessionId;
  FindSession(teacher, "10.0.0.5", 1000)->Role = kRoleClassTeacher;
  std::uint64_t idle = FindOrCreateSession(0, "10.0.0.6", 1001)->SessionId;
  LoginPtr signing_in = FindOrCreateSession(0, "10.0.0.8", 1000);  // a request holds it
  for (std::size_t i = 0; i < kMaxSessions + 100; ++i) FindOrCreateSession(0, "10.0.0.7", 1002);
  EXPECT_LE(SessionCount(), kMaxSessions);
  ASSERT_NE(nullptr, FindSession(teacher, "10.0.0.5", 1003));
  EXPECT_EQ(kRoleClassTeacher, FindSession(teacher, "10.0.0.5", 1003)->Role);
  EXPECT_EQ(nullptr, FindSession(idle, "10.0.0.6", 1003));  // the longest idle went first
  EXPECT_EQ(signing_in, FindSession(signing_in->SessionId, "10.0.0.8", 1003));
  FreeLoginList();
}

TEST(FindOrCreateSession, IdleOrMovedSessionLosesItsLoginButKeepsItsNumber) {
  FreeLoginList();
  LoginPtr session = FindOrCreateSession(0, "10.0.0.5", 1000);
  session->Role = kRoleAdmin;
  session->UserName = "admin";
  EXPECT_EQ(session, FindOrCreateSession(session->SessionId, "10.0.0.5", 1000 + kSessionIdleSeconds - 1));
  EXPECT_EQ(kRoleAdmin, session->Role);
  FindOrCreateSession(session->SessionId, "10.0.0.5", 999 + 2 * kSessionIdleSeconds);  // 21 minutes idle
  EXPECT_EQ(0, session->Role);
  EXPECT_EQ("", session->UserName);

  session->Role = kRoleClassTeacher;
  EXPECT_EQ(session, FindOrCreateSession(session->SessionId, "10.0.0.6", 999 + 2 * kSessionIdleSeconds));
  EXPECT_EQ(0, session->Role);
  EXPECT_EQ("10.0.0.6", session->ClientAddress);
  FreeLoginList();
}

TEST(FindOrCreateSession, CookielessFloodDoesNotGrowTheListForever) {
  FreeLoginList();
  LoginPtr first = FindOrCreateSession(0, "127.0.0.1", 1000);
  for (int i = 0; i < 3000; ++i) FindOrCreateSession(0, "127.0.0.1", 1000);
  // Much later the old ones are swept as new sessions come in.
  for (int i = 0; i < 1100; ++i) FindOrCreateSession(0, "127.0.0.1", 1000 + kSessionIdleSeconds + 10);
  EXPECT_LT(SessionCount(), 1200u);
  EXPECT_NE(first, FindOrCreateSession(first->SessionId, "127.0.0.1", 1000 + kSessionIdleSeconds + 10));
  FreeLoginList();
}

TEST(IsLocalNetworkAddress, LoopbackPrivateRangesAndTheServersSubnet) {
  std::string server = FindServerAddress();
  for (const char* local : {"127.1.2.3", "10.9.9.9", "172.31.0.1", "192.168.1.20", "169.254.3.4"})
    EXPECT_TRUE(IsLocalNetworkAddress(local)) << local;
  EXPECT_TRUE(IsLocalNetworkAddress(server));
  for (const char* other : {"not an address", "::ffff:127.0.0.1", "172.32.0.1", "192.169.0.1"})
    EXPECT_FALSE(IsLocalNetworkAddress(other)) << other;
  if (server.rfind("203.0.113.", 0) != 0) {
    EXPECT_FALSE(IsLocalNetworkAddress("203.0.113.9"));
  }
}

}  // namespace

}  // namespace korva
