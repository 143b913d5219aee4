#pragma once
// The registration tests' meet, kept once in registration_meet.sql beside
// this header (the browser test runs the same file), and athletes to add.
#include <initializer_list>
#include <string>

#include "tests/testing/meet_fixture.h"
#include "tests/testing/sql_file.h"

namespace korva {

// The meet's SQL as GBK, for MeetFixture::OpenNewMeet.
inline std::string RegistrationMeetSql() { return ReadTestingSql("registration_meet.sql"); }

// Opens the meet, then extra SQL (GBK) on it; registration open unless closed.
inline int OpenRegistrationMeet(MeetFixture& fixture, const std::string& extra_sql = {}, int closed = 0) {
  FixtureMeetSettings settings;
  settings.RegistrationClosed = closed;
  return fixture.OpenNewMeet(RegistrationMeetSql() + extra_sql, settings);
}

// SQL that enters one athlete with its contests (ids as in the meet above).
inline std::string AthleteSql(int id, const std::string& name, int grade, int class_id, int sex,
                              std::initializer_list<int> contests, int bib = 0) {
  std::string sql = "INSERT INTO qrtb409 (qrtb410, qrtb411, qrtb412, qrtb413, qrtb414, qrtb415, qrtb416) VALUES ('" +
                    name + "', " + std::to_string(id) + ", " + std::to_string(bib) + ", " +
                    std::to_string(grade) + ", " + std::to_string(class_id) + ", " + std::to_string(sex) +
                    ", 0);\n";
  for (int contest : contests) {
    sql += "INSERT INTO qrtb397 (qrtb399, qrtb400) VALUES (" + std::to_string(contest) + ", " +
           std::to_string(id) + ");\n";
  }
  return sql;
}

}  // namespace korva
