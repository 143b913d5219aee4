#include "engine/session_start.h"

#include "database/model.h"

namespace korva {

std::time_t StartSlotToTime(int slot) {
  if (slot < 1) slot = 1;
  std::tm day{};
  day.tm_year = 2000 - 1900;
  day.tm_mon = 0;
  day.tm_mday = 1;
  day.tm_hour = 6 + (slot - 1) / 2;
  day.tm_min = (slot - 1) % 2 == 0 ? 0 : 30;
  day.tm_isdst = -1;
  return std::mktime(&day);
}

std::time_t SessionStartTime(int session) {
  const MeetModel& meet = Model();
  if (session % 2 == 0) return StartSlotToTime(meet.AfternoonStart);
  std::time_t start = StartSlotToTime(meet.MorningStart);
  if (session == 1) start += static_cast<std::time_t>(meet.OpeningCeremonySlot) * 1800;
  return start;
}

}  // namespace korva
