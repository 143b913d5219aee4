#pragma once
// The order book's test meet: the registration meet with athletes entered
// and every round scheduled, kept in order_book_meet.sql beside this header
// (the browser test runs the same files).
#include <filesystem>
#include <fstream>
#include <iterator>
#include <stdexcept>
#include <string>

#include "database/gbk_text.h"
#include "tests/testing/registration_meet.h"

namespace korva {

// The meet's SQL as GBK, after RegistrationMeetSql.
inline std::string OrderBookMeetSql() {
  const std::filesystem::path file = std::filesystem::path(__FILE__).parent_path() / "order_book_meet.sql";
  std::ifstream in(file, std::ios::binary);
  if (!in) throw std::runtime_error("cannot read " + file.string());
  return Utf8ToGbk(std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()));
}

// Opens the meet, registration closed unless open, then extra SQL (GBK).
inline int OpenOrderBookMeet(MeetFixture& fixture, const std::string& extra_sql = {}, int closed = 1) {
  return OpenRegistrationMeet(fixture, OrderBookMeetSql() + extra_sql, closed);
}

}  // namespace korva
