#pragma once
// The two database connections. Both are used only while DataLock is held.
#include <string>

#include "database/sqlite_db.h"

namespace korva {

// The base file PBD.DAT of the data folder.
Connection& BaseConnection();
// The open meet's file, with the base file attached as schema "base", so a
// meet table and its base-file twin ("base.qrtb26") change in one
// transaction (base_changes.h). Not open while no meet is open.
Connection& MeetConnection();

// Opens the meet file at path on conn (creating it only when create is set)
// with the base file attached as "base"; a transaction that changes both
// files commits them in steps (base_changes.h), and what a crash left half
// done is completed here. False on failure.
[[nodiscard]] bool OpenMeetFile(Connection& conn, const std::string& path, bool create);

// Highest value of column in table_and_condition plus 1 on the base (base
// set) or meet connection; 1 for an empty table or a NULL maximum; 0 after a
// database error. table_and_condition may carry a condition with one bound
// value, as in GetNextId("qrtb444 where qrtb449=?", "qrtb450", false, 3).
int GetNextId(const std::string& table_and_condition, const char* column, bool base);
int GetNextId(const std::string& table_and_condition, const char* column, bool base, int value);

// Closes both connections (program exit).
void CloseDatabases();

}  // namespace korva
