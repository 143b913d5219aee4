#pragma once
// Helpers of the store functions' tests: reading values and whole tables
// back from the open files, and forcing statements to fail.
#include <initializer_list>
#include <string>

#include "database/connections.h"
#include "database/data_lock.h"
#include "database/gbk_text.h"
#include "database/sqlite_db.h"

namespace korva {

// The tests build nodes with designated initializers and leave the other
// fields at their defaults.
#pragma GCC diagnostic ignored "-Wmissing-field-initializers"

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

// The rows of a query as GBK text: columns joined by "|" (NULL as "NULL"),
// rows by "\n".
inline std::string Rows(const std::string& sql, int max_rows = 1 << 30) {
  DataGuard hold(DataLock);
  sqlite3_stmt* st = nullptr;
  std::string utf8 = GbkToUtf8(sql);
  if (sqlite3_prepare_v2(MeetConnection().handle(), utf8.c_str(), -1, &st, nullptr) != SQLITE_OK)
    return "<error>";
  std::string out;
  for (int row = 0; row < max_rows && sqlite3_step(st) == SQLITE_ROW; ++row) {
    if (row > 0) out += "\n";
    for (int i = 0; i < sqlite3_column_count(st); ++i) {
      const unsigned char* text = sqlite3_column_text(st, i);
      out += (i > 0 ? "|" : "") + (text ? Utf8ToGbk(reinterpret_cast<const char*>(text)) : "NULL");
    }
  }
  sqlite3_finalize(st);
  return out;
}
// The first row of a query; "" for no row.
inline std::string MeetText(const std::string& sql) { return Rows(sql, 1); }

// Every row of the tables (meet file; "base.qrtbNN" for the base file), to
// compare the files before and after a call.
inline std::string Dump(std::initializer_list<const char*> tables) {
  std::string out;
  for (const char* table : tables)
    out += std::string(table) + ":\n" + Rows(std::string("SELECT * FROM ") + table + " ORDER BY rowid") + "\n";
  return out;
}

// Makes every `op` (INSERT, UPDATE or DELETE) on table fail until
// DropTrigger(name), through a temporary trigger of the meet connection
// ("base.qrtbNN" for a base-file table); the file itself is not changed.
// A condition `when` (on OLD and NEW) limits it to the rows it holds for.
// False when the trigger could not be made.
inline bool FailOn(const std::string& op, const std::string& table, const std::string& name,
                   const std::string& when = "") {
  DataGuard hold(DataLock);
  return MeetConnection().ExecScript("CREATE TEMP TRIGGER " + name + " BEFORE " + op + " ON " + table +
                                     (when.empty() ? "" : " WHEN " + when) +
                                     " BEGIN SELECT RAISE(ABORT, 'forced failure'); END;");
}
inline void DropTrigger(const std::string& name) {
  DataGuard hold(DataLock);
  MeetConnection().ExecScript("DROP TRIGGER " + name);
}

}  // namespace korva
