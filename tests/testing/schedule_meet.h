#pragma once
// The schedule tests' meet, kept once in schedule_meet.sql beside this
// header (the browser test runs the same file).
#include <filesystem>
#include <fstream>
#include <iterator>
#include <stdexcept>
#include <string>

#include "database/gbk_text.h"
#include "tests/testing/meet_fixture.h"

namespace korva {

// The meet's SQL as GBK, for MeetFixture::OpenNewMeet.
inline std::string ScheduleMeetSql() {
  const std::filesystem::path file = std::filesystem::path(__FILE__).parent_path() / "schedule_meet.sql";
  std::ifstream in(file, std::ios::binary);
  if (!in) throw std::runtime_error("cannot read " + file.string());
  return Utf8ToGbk(std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()));
}

// SQL that places a round: session, order and duration.
inline std::string PlaceRoundSql(int round_id, int session, int order, int minutes) {
  return "UPDATE qrtb444 SET qrtb449 = " + std::to_string(session) + ", qrtb450 = " + std::to_string(order) +
         ", qrtb451 = " + std::to_string(minutes) + " WHERE qrtb445 = " + std::to_string(round_id) + ";\n";
}

}  // namespace korva
