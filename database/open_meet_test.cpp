#include "database/open_meet.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <ctime>

#include "database/connections.h"
#include "database/data_folder.h"
#include "database/data_lock.h"
#include "database/model.h"
#include "tests/testing/meet_fixture.h"

namespace {

int CurrentFlag(int meet_id) {
  Statement st(BaseConnection(), "SELECT qrtb139 FROM qrtb137 WHERE qrtb138 = ?");
  st.Bind(meet_id);
  return st.Next() ? st.ReadIntField(0) : -1;
}

int hook_calls = 0;
void CountHook() { ++hook_calls; }

TEST(OpenCurrentMeet, NoMeetYetIsRefusedQuietly) {
  MeetFixture f;
  EXPECT_NE(OpenCurrentMeet(0), 0);
  EXPECT_EQ(Model().CurrentMeetId, 0);
  EXPECT_FALSE(MeetConnection().IsOpen());
}

TEST(OpenCurrentMeet, OpensTheRegistryRowMarkedCurrent) {
  MeetFixture f;
  FixtureMeetSettings s;
  s.Name = "春季田径运动会";
  s.StartDate = "2024-4-9";
  s.BibWidth = 4;
  s.AdmitOneLess = 1;
  s.RegistrationClosed = 1;
  s.Sessions = 6;
  s.MorningStart = 4;
  s.AfternoonStart = 14;
  s.OpeningCeremony = 7;
  int id = f.AddMeet(s);
  hook_calls = 0;
  SetPrintQueueRebuildHook(CountHook);
  ASSERT_EQ(OpenCurrentMeet(0), 0);
  SetPrintQueueRebuildHook(nullptr);
  EXPECT_EQ(hook_calls, 1);

  const MeetModel& m = Model();
  EXPECT_EQ(m.CurrentMeetId, id);
  EXPECT_EQ(m.MeetName, "春季田径运动会");
  EXPECT_EQ(m.MeetFilePath, f.MeetFile(id));
  EXPECT_EQ(m.BibWidth, 4);
  EXPECT_EQ(m.AdmitOneLess, 1);
  EXPECT_EQ(m.RegistrationClosed, 1);
  EXPECT_EQ(m.MeetStage, 1);
  EXPECT_EQ(m.MeetSessionCount, 6);
  EXPECT_EQ(m.MorningStart, 4);
  EXPECT_EQ(m.AfternoonStart, 14);
  EXPECT_EQ(m.OpeningCeremonySlot, 7);
  std::tm tm{};
  localtime_r(&m.MeetStartTime, &tm);
  EXPECT_EQ(tm.tm_year, 124);
  EXPECT_EQ(tm.tm_mon, 3);
  EXPECT_EQ(tm.tm_mday, 9);
  EXPECT_EQ(tm.tm_hour, 0);
  // The catalogue copied into the meet is loaded.
  EXPECT_EQ(m.ClassList.size(), 24u);
  EXPECT_FALSE(m.EventList.empty());
  EXPECT_EQ(m.VenueList.size(), 7u);
  EXPECT_EQ(m.ScoringSchemeList.size(), 2u);
  // The base file is attached to the meet connection.
  DataGuard hold(DataLock);
  Statement st(MeetConnection(), "SELECT COUNT(*) FROM base.qrtb137");
  ASSERT_TRUE(st.Next());
  EXPECT_EQ(st.ReadIntField(0), 1);
}

TEST(OpenCurrentMeet, OpeningByIdMarksThatMeetCurrent) {
  MeetFixture f;
  FixtureMeetSettings a, b;
  a.Name = "甲";
  b.Name = "乙";
  int first = f.AddMeet(a);
  int second = f.AddMeet(b);
  ASSERT_EQ(f.Open(0), 0);
  EXPECT_EQ(Model().MeetName, "乙");
  ASSERT_EQ(f.Open(first), 0);
  EXPECT_EQ(Model().CurrentMeetId, first);
  EXPECT_EQ(Model().MeetName, "甲");
  DataGuard hold(DataLock);
  EXPECT_EQ(CurrentFlag(first), 1);
  EXPECT_EQ(CurrentFlag(second), 0);
  // The next start opens the same meet.
  ASSERT_EQ(f.Open(0), 0);
  EXPECT_EQ(Model().CurrentMeetId, first);
}

TEST(OpenCurrentMeet, AFailedOpenKeepsTheOpenMeetAndTheRegistry) {
  MeetFixture f;
  int good = f.OpenNewMeet("INSERT INTO qrtb409 (qrtb411, qrtb410, qrtb413, qrtb414, qrtb415)"
                           " VALUES (1, '李四', 1, 1, 1);");
  FixtureMeetSettings s;
  s.Name = "坏的";
  int missing = f.AddMeet(s, false);
  int broken = f.AddMeet(s, false);
  ASSERT_EQ(std::remove(f.MeetFile(missing).c_str()), 0);
  ASSERT_TRUE(f.MeetSql(broken, "DROP TABLE qrtb479;"));

  for (int id : {missing, broken, 999}) {
    EXPECT_NE(OpenCurrentMeet(id), 0) << id;
    EXPECT_EQ(Model().CurrentMeetId, good);
    EXPECT_EQ(Model().MeetName, "测试运动会");
    ASSERT_EQ(Model().AthleteList.size(), 1u);
    DataGuard hold(DataLock);
    EXPECT_EQ(CurrentFlag(good), 1);
    EXPECT_EQ(CurrentFlag(missing), 0);
    EXPECT_EQ(CurrentFlag(broken), 0);
    // Writes still reach the open meet's file.
    Statement st(MeetConnection(), "UPDATE qrtb409 SET qrtb412 = 7 WHERE qrtb411 = 1");
    ASSERT_TRUE(st.Run());
    EXPECT_EQ(MeetConnection().Changes(), 1);
  }
  // No stray file was created in place of the missing one.
  EXPECT_EQ(IsFileMissing(f.MeetFile(missing)), 1);
}

}  // namespace
