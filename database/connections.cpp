#include "database/connections.h"

#include "database/base_changes.h"
#include "database/data_lock.h"
#include "database/durable_commits.h"
#include "database/store_rounds.h"

namespace korva {

Connection& BaseConnection() {
  static Connection connection;
  return connection;
}

Connection& MeetConnection() {
  static Connection connection;
  return connection;
}

bool OpenMeetFile(Connection& conn, const std::string& path, bool create) {
  return conn.Open(path, create) && conn.Attach(BaseConnection().path(), "base") &&
         conn.ExecScript("PRAGMA base.synchronous=NORMAL") && TrackBaseChanges(conn);
}

namespace {

int NextId(const std::string& table_and_condition, const char* column, bool base,
           const int* value) {
  DataGuard hold(DataLock);
  Connection& conn = base ? BaseConnection() : MeetConnection();
  Statement st(conn, std::string("SELECT COALESCE(MAX(") + column + "), 0) + 1 FROM " +
                         table_and_condition);
  if (value) st.Bind(*value);
  if (!st.Next()) return 0;
  return st.ReadIntField(0);
}

}  // namespace

int GetNextId(const std::string& table_and_condition, const char* column, bool base) {
  return NextId(table_and_condition, column, base, nullptr);
}

int GetNextId(const std::string& table_and_condition, const char* column, bool base, int value) {
  return NextId(table_and_condition, column, base, &value);
}

void CloseDatabases() {
  DataGuard hold(DataLock);
  FlushRoundCounters();
  // A failed sync is logged where it fails.
  static_cast<void>(WaitForOwnCommits());
  MeetConnection().Close();
  BaseConnection().Close();
}

}  // namespace korva
