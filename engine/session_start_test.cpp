#include "engine/session_start.h"

#include <gtest/gtest.h>

#include <string>

#include "database/model.h"

namespace korva {

namespace {

std::string ClockOf(std::time_t when) {
  std::tm local{};
  localtime_r(&when, &local);
  return std::to_string(local.tm_mday) + " " + std::to_string(local.tm_hour) + ":" +
         (local.tm_min < 10 ? "0" : "") + std::to_string(local.tm_min);
}

TEST(StartSlotToTime, HalfHoursFromSixOnTheFirstOfJanuary) {
  struct Case {
    int slot;
    const char* clock;
  } cases[] = {{1, "1 6:00"}, {2, "1 6:30"}, {11, "1 11:00"}, {13, "1 12:00"}, {20, "1 15:30"},
               {0, "1 6:00"}, {-4, "1 6:00"}};
  for (const Case& c : cases) EXPECT_EQ(ClockOf(StartSlotToTime(c.slot)), c.clock) << c.slot;
  std::tm local{};
  std::time_t first = StartSlotToTime(1);
  localtime_r(&first, &local);
  EXPECT_EQ(local.tm_year, 100);
  EXPECT_EQ(local.tm_mon, 0);
}

TEST(SessionStartTime, OpeningCeremonyDelaysOnlyTheFirstMorning) {
  MeetModel saved = Model();
  Model().MorningStart = 5;     // 8:00
  Model().AfternoonStart = 15;  // 13:00
  Model().OpeningCeremonySlot = 3;
  EXPECT_EQ(ClockOf(SessionStartTime(1)), "1 9:30");
  EXPECT_EQ(ClockOf(SessionStartTime(2)), "1 13:00");
  EXPECT_EQ(ClockOf(SessionStartTime(3)), "1 8:00");
  EXPECT_EQ(ClockOf(SessionStartTime(4)), "1 13:00");
  // A ceremony as long as the whole morning starts the first events at noon.
  Model().OpeningCeremonySlot = 8;
  EXPECT_EQ(ClockOf(SessionStartTime(1)), "1 12:00");
  EXPECT_EQ(ClockOf(SessionStartTime(3)), "1 8:00");
  Model() = saved;
}

}  // namespace

}  // namespace korva
