#pragma once
// Steps shared by the store functions: one bound statement run to its end,
// and the new id of a table that has a base-file twin.
#include <string_view>

#include "database/sqlite_db.h"

namespace korva {

// Binds as SQL NULL.
struct SqlNull {};

inline void BindValue(Statement& st, int value) { st.Bind(value); }
inline void BindValue(Statement& st, std::string_view text) { st.Bind(text); }
inline void BindValue(Statement& st, SqlNull) { st.BindNull(); }

// Prepares sql on conn, binds args in order and runs it; true on success.
template <typename... Args>
[[nodiscard]] bool Execute(Connection& conn, std::string_view sql, const Args&... args) {
  Statement st(conn, sql);
  (BindValue(st, args), ...);
  return st.Run();
}

// The next id of a meet table whose base-file twin shares its ids: the
// larger of both next ids, so an id taken in either file is never reused.
// 0 after a database error. Runs on MeetConnection (base attached).
[[nodiscard]] int NextTwinId(const char* meet_table, const char* meet_column, const char* base_table,
               const char* base_column);

// Hands the rounds of the group's mixed-team contests (of event_id only,
// when not 0) to the same event's contest of the grade's other sex, where
// there is one, so that the entrants drawn in them keep their lanes when
// this contest goes. Runs on conn inside the caller's transaction.
[[nodiscard]] bool HandOverMixedTeamRounds(Connection& conn, int group_id, int event_id);

// Deletes a competition group with its group events, contests, rounds and
// their lanes, and the athletes of its grade and sex with their entries and
// auxiliary rows; the rounds of its mixed-team contests go to the other
// sex's contests first (HandOverMixedTeamRounds). Runs on conn inside the
// caller's transaction.
[[nodiscard]] bool DeleteGroupRows(Connection& conn, int group_id, int grade_id, int sex);

}  // namespace korva
