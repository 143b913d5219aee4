#pragma once
// Helpers of the store functions' tests: reading values and whole tables
// back from the open files, and forcing a statement to fail.
#include <string>
#include <string_view>

#include "database/connections.h"
#include "database/data_lock.h"
#include "database/gbk_text.h"
#include "database/sqlite_db.h"

// Queries are GBK like every literal of the program, so a name can be
// written into them as in the tests' data.

// The first column of the first row of a query on conn; -99999 for no row.
inline int QueryInt(Connection& conn, const std::string& sql) {
  DataGuard hold(DataLock);
  Statement st(conn, GbkToUtf8(sql));
  return st.Next() ? st.ReadIntField(0) : -99999;
}
inline int MeetInt(const std::string& sql) { return QueryInt(MeetConnection(), sql); }
inline int BaseInt(const std::string& sql) { return QueryInt(BaseConnection(), sql); }

// The first column of the first row as GBK text; "<none>" for no row.
inline std::string MeetText(const std::string& sql) {
  DataGuard hold(DataLock);
  Statement st(MeetConnection(), GbkToUtf8(sql));
  return st.Next() ? st.ReadTextField(0) : "<none>";
}

// Every row of a table (meet file; "base.qrtbNN" for the base file), one
// line per row in rowid order, to compare a table before and after a call.
inline std::string TableDump(const std::string& table) {
  DataGuard hold(DataLock);
  sqlite3_stmt* st = nullptr;
  std::string sql = "SELECT * FROM " + table + " ORDER BY rowid";
  if (sqlite3_prepare_v2(MeetConnection().handle(), sql.c_str(), -1, &st, nullptr) != SQLITE_OK)
    return "<error>";
  std::string out;
  while (sqlite3_step(st) == SQLITE_ROW) {
    for (int i = 0; i < sqlite3_column_count(st); ++i) {
      const unsigned char* text = sqlite3_column_text(st, i);
      out += text ? reinterpret_cast<const char*>(text) : "NULL";
      out += "|";
    }
    out += "\n";
  }
  sqlite3_finalize(st);
  return out;
}

// Makes every `op` (INSERT, UPDATE or DELETE) on table fail from now on,
// through a temporary trigger of the meet connection ("base.qrtbNN" for a
// base-file table); the file itself is not changed.
inline void FailOn(const std::string& op, const std::string& table, const std::string& name) {
  DataGuard hold(DataLock);
  MeetConnection().ExecScript("CREATE TEMP TRIGGER " + name + " BEFORE " + op + " ON " + table +
                              " BEGIN SELECT RAISE(ABORT, 'forced failure'); END;");
}
