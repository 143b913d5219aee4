#include "database/open_meet.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <ctime>
#include <string>
#include <tuple>
#include <vector>

#include "database/connections.h"
#include "database/data_folder.h"
#include "database/model.h"
#include "database/store_meets.h"
#include "database/store_test_support.h"
#include "tests/testing/meet_fixture.h"

namespace korva {

namespace {

std::string CurrentFlags() { return Rows("SELECT qrtb139 FROM base.qrtb137 ORDER BY qrtb138"); }

int hook_calls = 0;

TEST(OpenCurrentMeet, OpensTheRegistryRowMarkedCurrentWithItsSettingsAndLists) {
  MeetFixture f;
  EXPECT_NE(OpenCurrentMeet(0), 0);  // no meet yet
  EXPECT_FALSE(MeetConnection().IsOpen());
  FixtureMeetSettings s{.Name = "春季田径运动会", .StartDate = "2024-4-9", .Sessions = 6, .MorningStart = 4,
                        .AfternoonStart = 14, .OpeningCeremony = 7, .RegistrationClosed = 1,
                        .AdmitOneLess = 1, .BibWidth = 4};
  int id = f.AddMeet(s);
  hook_calls = 0;
  SetPrintQueueRebuildHook([] { ++hook_calls; });
  ASSERT_EQ(OpenCurrentMeet(0), 0);
  SetPrintQueueRebuildHook(nullptr);
  EXPECT_EQ(hook_calls, 1);

  const MeetModel& m = Model();
  EXPECT_EQ(std::tie(m.CurrentMeetId, m.MeetName, m.MeetFilePath), std::make_tuple(id, s.Name, f.MeetFile(id)));
  EXPECT_EQ(std::tie(m.BibWidth, m.AdmitOneLess, m.RegistrationClosed, m.MeetStage, m.MeetSessionCount,
                     m.MorningStart, m.AfternoonStart, m.OpeningCeremonySlot),
            std::make_tuple(4, 1, 1, 1, 6, 4, 14, 7));
  std::tm tm{};
  localtime_r(&m.MeetStartTime, &tm);
  EXPECT_EQ(std::tie(tm.tm_year, tm.tm_mon, tm.tm_mday, tm.tm_hour), std::make_tuple(124, 3, 9, 0));
  // The catalogue copied into the meet is loaded; the base file is attached.
  EXPECT_EQ(std::make_tuple(m.ClassList.size(), m.VenueList.size(), m.ScoringSchemeList.size()),
            std::make_tuple(24u, 7u, 2u));
  EXPECT_EQ(CurrentFlags(), "1");
}

TEST(OpenCurrentMeet, OpeningByIdMarksThatMeetCurrentForTheNextStart) {
  MeetFixture f;
  int first = f.AddMeet(FixtureMeetSettings{.Name = "甲"});
  f.AddMeet(FixtureMeetSettings{.Name = "乙"});
  ASSERT_EQ(f.Open(0), 0);
  EXPECT_EQ(Model().MeetName, "乙");
  ASSERT_EQ(f.Open(first), 0);
  EXPECT_EQ(Model().MeetName, "甲");
  EXPECT_EQ(CurrentFlags(), "1\n0");
  ASSERT_EQ(f.Open(0), 0);
  EXPECT_EQ(Model().CurrentMeetId, first);
}

TEST(OpenCurrentMeet, AFailedOpenKeepsTheOpenMeetAndTheRegistry) {
  MeetFixture f;
  int good = f.OpenNewMeet("INSERT INTO qrtb409 (qrtb411, qrtb410, qrtb413, qrtb414, qrtb415)"
                           " VALUES (1, '李四', 1, 1, 1);");
  int missing = f.AddMeet(FixtureMeetSettings{.Name = "坏的"}, false);
  int broken = f.AddMeet(FixtureMeetSettings{.Name = "坏的"}, false);
  ASSERT_EQ(std::remove(f.MeetFile(missing).c_str()), 0);
  ASSERT_TRUE(f.MeetSql(broken, "DROP TABLE qrtb479;"));

  for (int id : {missing, broken, 999}) {
    EXPECT_NE(OpenCurrentMeet(id), 0) << id;
    EXPECT_EQ(std::make_tuple(Model().CurrentMeetId, Model().AthleteList.size()), std::make_tuple(good, 1u));
    EXPECT_EQ(CurrentFlags(), "1\n0\n0");
    // The connection still reaches the open meet's file.
    EXPECT_EQ(MeetInt("SELECT COUNT(*) FROM qrtb409"), 1);
  }
  EXPECT_EQ(IsFileMissing(f.MeetFile(missing)), 1);  // no stray file in its place
}

std::vector<std::string> shown_names;

// The name shown follows every change of the open meet (start-up and
// creation open the current meet, a switch opens another) and every
// rename; a refused change shows nothing.
TEST(ShowMeetName, FollowsEveryChangeOfTheOpenMeetAndItsName) {
  MeetFixture f;
  shown_names.clear();
  SetMeetNameHook([](std::string_view name, bool open) { shown_names.emplace_back(open ? name : "-"); });
  ShowMeetName();
  f.AddMeet(FixtureMeetSettings{.Name = "甲"});
  int other = f.AddMeet(FixtureMeetSettings{.Name = "乙"}, false);
  ASSERT_EQ(OpenCurrentMeet(0), 0);
  ASSERT_EQ(OpenCurrentMeet(other), 0);
  EXPECT_NE(OpenCurrentMeet(999), 0);
  EXPECT_EQ(SaveMeetInfo("甲", "2024-5-20", 4, 5, 13, 2, 1), 1);
  ASSERT_EQ(SaveMeetInfo("丙", "2024-5-20", 4, 5, 13, 2, 1), 0);
  SetMeetNameHook(nullptr);
  EXPECT_EQ(shown_names, (std::vector<std::string>{"-", "甲", "乙", "丙"}));
}

}  // namespace

}  // namespace korva
