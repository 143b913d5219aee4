#pragma once
// The printing tests' meet, kept once in print_meet.sql beside this header
// (the browser test runs the same file): drawn, mostly scored, with two
// print administrators.
#include <string>

#include "tests/testing/meet_fixture.h"
#include "tests/testing/sql_file.h"

namespace korva {

// Opens the meet, then extra SQL (GBK) on it.
inline int OpenPrintMeet(MeetFixture& fixture, const std::string& extra_sql = {}) {
  return fixture.OpenNewMeet(ReadTestingSql("print_meet.sql") + extra_sql);
}

}  // namespace korva
