#pragma once
// The schedule tests' meet, kept once in schedule_meet.sql beside this
// header (the browser test runs the same file).
#include <string>

#include "tests/testing/meet_fixture.h"
#include "tests/testing/sql_file.h"

namespace korva {

// The meet's SQL as GBK, for MeetFixture::OpenNewMeet.
inline std::string ScheduleMeetSql() { return ReadTestingSql("schedule_meet.sql"); }

// SQL that places a round: session, order and duration.
inline std::string PlaceRoundSql(int round_id, int session, int order, int minutes) {
  return "UPDATE qrtb444 SET qrtb449 = " + std::to_string(session) + ", qrtb450 = " + std::to_string(order) +
         ", qrtb451 = " + std::to_string(minutes) + " WHERE qrtb445 = " + std::to_string(round_id) + ";\n";
}

}  // namespace korva
