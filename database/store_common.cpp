#include "database/store_common.h"

#include <algorithm>
#include <string>

#include "database/connections.h"

namespace korva {

int NextTwinId(const char* meet_table, const char* meet_column, const char* base_table,
               const char* base_column) {
  int meet = GetNextId(meet_table, meet_column, false);
  int base = GetNextId(std::string("base.") + base_table, base_column, false);
  if (meet == 0 || base == 0) return 0;
  return std::max(meet, base);
}

bool HandOverMixedTeamRounds(Connection& conn, int group_id, int event_id) {
  return Execute(conn,
                 "UPDATE qrtb444 SET qrtb446 = COALESCE(("
                 "SELECT p.qrtb426 FROM qrtb425 c"
                 " JOIN qrtb306 e ON e.qrtb307 = c.qrtb428 AND e.qrtb310 = 3"
                 " JOIN qrtb373 g ON g.qrtb374 = c.qrtb427"
                 " JOIN qrtb373 pg ON pg.qrtb375 = g.qrtb375 AND pg.qrtb376 = 3 - g.qrtb376"
                 " JOIN qrtb425 p ON p.qrtb427 = pg.qrtb374 AND p.qrtb428 = c.qrtb428"
                 " WHERE c.qrtb426 = qrtb444.qrtb446), qrtb446)"
                 " WHERE qrtb446 IN (SELECT qrtb426 FROM qrtb425 WHERE qrtb427 = ? AND (? = 0 OR qrtb428 = ?))",
                 group_id, event_id, event_id);
}

bool DeleteGroupRows(Connection& conn, int group_id, int grade_id, int sex) {
  const char* contests = "SELECT qrtb426 FROM qrtb425 WHERE qrtb427 = ?";
  const char* athletes = "SELECT qrtb411 FROM qrtb409 WHERE qrtb413 = ? AND qrtb415 = ?";
  std::string rounds = std::string("SELECT qrtb445 FROM qrtb444 WHERE qrtb446 IN (") + contests + ")";
  return HandOverMixedTeamRounds(conn, group_id, 0) &&
         Execute(conn, "DELETE FROM qrtb479 WHERE qrtb481 IN (" + rounds + ")", group_id) &&
         Execute(conn, std::string("DELETE FROM qrtb498 WHERE qrtb500 IN (") + athletes + ")",
                 grade_id, sex) &&
         Execute(conn,
                 std::string("DELETE FROM qrtb397 WHERE qrtb399 IN (") + contests +
                     ") OR qrtb400 IN (" + athletes + ")",
                 group_id, grade_id, sex) &&
         Execute(conn, "DELETE FROM qrtb409 WHERE qrtb413 = ? AND qrtb415 = ?", grade_id, sex) &&
         Execute(conn, std::string("DELETE FROM qrtb444 WHERE qrtb446 IN (") + contests + ")",
                 group_id) &&
         Execute(conn, "DELETE FROM qrtb425 WHERE qrtb427 = ?", group_id) &&
         Execute(conn, "DELETE FROM qrtb467 WHERE qrtb469 = ?", group_id) &&
         Execute(conn, "DELETE FROM qrtb373 WHERE qrtb374 = ?", group_id);
}

}  // namespace korva
