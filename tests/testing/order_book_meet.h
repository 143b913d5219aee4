#pragma once
// The order book's test meet: the registration meet with athletes entered
// and every round scheduled, kept in order_book_meet.sql beside this header
// (the browser test runs the same files).
#include <string>

#include "tests/testing/registration_meet.h"
#include "tests/testing/sql_file.h"

namespace korva {

// The meet's SQL as GBK, after RegistrationMeetSql.
inline std::string OrderBookMeetSql() { return ReadTestingSql("order_book_meet.sql"); }

// Opens the meet, registration closed unless open, then extra SQL (GBK).
inline int OpenOrderBookMeet(MeetFixture& fixture, const std::string& extra_sql = {}, int closed = 1) {
  return OpenRegistrationMeet(fixture, OrderBookMeetSql() + extra_sql, closed);
}

}  // namespace korva
