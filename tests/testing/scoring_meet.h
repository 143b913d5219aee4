#pragma once
// The scoring tests' meet, kept once in scoring_meet.sql beside this header
// (the HTTP tests and the upload benchmark open the same meet).
#include <string>

#include "tests/testing/meet_fixture.h"
#include "tests/testing/sql_file.h"

namespace korva {

// Opens the meet, then extra SQL (GBK) on it.
inline int OpenScoringMeet(MeetFixture& fixture, const std::string& extra_sql = {}) {
  return fixture.OpenNewMeet(ReadTestingSql("scoring_meet.sql") + extra_sql);
}

}  // namespace korva
