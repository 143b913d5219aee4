#pragma once
// Changes to the base file made through the meet connection. In WAL mode a
// transaction over two files commits each file on its own, so a crash or a
// power cut between the two would leave them disagreeing. A transaction that
// changed base rows therefore commits in steps:
//  1. the base rows go back to how they were, and their new values are kept
//     as an intent in the meet file, committed with the meet's own changes;
//  2. once that commit is on disk, the base rows take their new values in a
//     transaction of their own, which is synced;
//  3. the intent is deleted.
// An intent left by a crash is applied again when the meet file is opened;
// applying one twice gives the same rows.
#include <cstdint>
#include <memory>
#include <set>
#include <string>
#include <utility>
#include <vector>

#include "database/sqlite_db.h"

namespace korva {

// The base rows a transaction has touched and how each was before it.
struct BaseChanges {
  struct Row {
    std::string table;
    std::int64_t rowid = 0;
    bool existed = false;
    std::vector<std::shared_ptr<sqlite3_value>> values;  // by column, when it existed
  };
  bool capturing = false;
  bool staged = false;  // an intent was committed and awaits steps 2 and 3
  std::vector<Row> rows;
  std::set<std::pair<std::string, std::int64_t>> seen;
};

// Makes conn (a meet file with the base file attached as "base") commit its
// base changes in the steps above, and applies any intent a crash left.
// False on a database error.
bool TrackBaseChanges(Connection& conn);

// Called by the outermost Transaction of conn: starts noting base rows; takes
// step 1 just before its commit (false: roll back); steps 2 and 3 after it
// (false: the meet is committed, the base file gets the rows when the meet
// file is next opened).
void StartBaseCapture(Connection& conn);
bool StageBaseChanges(Connection& conn);
bool ApplyStagedBaseChanges(Connection& conn);
void StopBaseCapture(Connection& conn);

}  // namespace korva
