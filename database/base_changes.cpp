// The preupdate hook is in the system library but declared only on request.
#define SQLITE_ENABLE_PREUPDATE_HOOK 1
#include "database/base_changes.h"

#include <strings.h>

#include "database/durable_commits.h"

namespace korva {

namespace {

constexpr const char* kCreateIntents =
    "CREATE TABLE IF NOT EXISTS main.pending_base_rows ("
    " intent INTEGER, table_name TEXT, row_id INTEGER,"
    " row_values TEXT)";  // a JSON array of the columns; NULL: the row is gone

// A table's columns other than its INTEGER PRIMARY KEY (which is the rowid,
// written as such), with their positions.
struct Columns {
  std::vector<std::string> names;
  std::vector<int> positions;
};

std::string Quoted(const std::string& name) {
  std::string out = "\"";
  for (char c : name) out += c == '"' ? std::string("\"\"") : std::string(1, c);
  return out + "\"";
}

Columns ColumnsOf(Connection& conn, const std::string& table) {
  Columns out;
  int key_columns = 0, integer_key = -1;
  Statement info(conn, "SELECT cid, name, type, pk FROM pragma_table_info(?, 'base')");
  info.BindUtf8(table);
  while (info.Next()) {
    if (info.ReadIntField(3) > 0) {
      ++key_columns;
      if (strcasecmp(info.ReadTextField(2).c_str(), "INTEGER") == 0) integer_key = info.ReadIntField(0);
    }
    out.positions.push_back(info.ReadIntField(0));
    out.names.push_back(info.ReadTextField(1));
  }
  if (key_columns == 1 && integer_key >= 0) {
    for (std::size_t i = 0; i < out.positions.size(); ++i) {
      if (out.positions[i] != integer_key) continue;
      out.positions.erase(out.positions.begin() + static_cast<std::ptrdiff_t>(i));
      out.names.erase(out.names.begin() + static_cast<std::ptrdiff_t>(i));
      break;
    }
  }
  return out;
}

std::string ColumnList(const Columns& columns) {
  std::string out = "rowid";
  for (const std::string& name : columns.names) out += ", " + Quoted(name);
  return out;
}

// Rows are written back as they were kept, in which every trigger has had
// its effect already: no trigger may fire again while they are.
class TriggersOff {
 public:
  explicit TriggersOff(Connection& conn) : db_(conn.handle()) {
    sqlite3_db_config(db_, SQLITE_DBCONFIG_ENABLE_TRIGGER, 0, nullptr);
  }
  ~TriggersOff() { sqlite3_db_config(db_, SQLITE_DBCONFIG_ENABLE_TRIGGER, 1, nullptr); }
  TriggersOff(const TriggersOff&) = delete;
  TriggersOff& operator=(const TriggersOff&) = delete;

 private:
  sqlite3* db_;
};

void NoteRow(BaseChanges& changes, sqlite3* db, const char* table, sqlite3_int64 rowid, bool existed) {
  if (!changes.seen.emplace(table, rowid).second) return;
  BaseChanges::Row row{table, rowid, existed, {}};
  if (existed) {
    for (int i = 0, n = sqlite3_preupdate_count(db); i < n; ++i) {
      sqlite3_value* value = nullptr;
      sqlite3_preupdate_old(db, i, &value);
      row.values.emplace_back(sqlite3_value_dup(value), sqlite3_value_free);
    }
  }
  changes.rows.push_back(std::move(row));
}

void OnRowChange(void* context, sqlite3* db, int op, const char* schema, const char* table, sqlite3_int64 old_rowid,
                 sqlite3_int64 new_rowid) {
  auto& changes = *static_cast<BaseChanges*>(context);
  if (!changes.capturing || std::string_view(schema) != "base") return;
  if (op != SQLITE_INSERT) NoteRow(changes, db, table, old_rowid, true);
  if (op == SQLITE_INSERT || new_rowid != old_rowid) NoteRow(changes, db, table, new_rowid, false);
}

bool DeleteRow(Connection& conn, const std::string& table, std::int64_t rowid) {
  Statement st(conn, "DELETE FROM base." + Quoted(table) + " WHERE rowid = ?");
  return st.Bind(rowid).Run();
}

// Puts a row that existed back as the hook saw it before the transaction.
bool RestoreRow(Connection& conn, const BaseChanges::Row& row) {
  const Columns columns = ColumnsOf(conn, row.table);
  std::string marks = "?";
  for (std::size_t i = 0; i < columns.names.size(); ++i) marks += ", ?";
  const std::string sql =
      "INSERT INTO base." + Quoted(row.table) + " (" + ColumnList(columns) + ") VALUES (" + marks + ")";
  sqlite3_stmt* raw = nullptr;
  if (sqlite3_prepare_v2(conn.handle(), sql.c_str(), -1, &raw, nullptr) != SQLITE_OK) return false;
  std::unique_ptr<sqlite3_stmt, int (*)(sqlite3_stmt*)> st(raw, sqlite3_finalize);
  bool ok = sqlite3_bind_int64(raw, 1, row.rowid) == SQLITE_OK;
  for (std::size_t i = 0; ok && i < columns.positions.size(); ++i) {
    const auto at = static_cast<std::size_t>(columns.positions[i]);
    const int index = static_cast<int>(i) + 2;
    ok = at < row.values.size() && (row.values[at] ? sqlite3_bind_value(raw, index, row.values[at].get())
                                                   : sqlite3_bind_null(raw, index)) == SQLITE_OK;
  }
  return ok && sqlite3_step(raw) == SQLITE_DONE;
}

// Keeps a row's values as the transaction left them (NULL: no row) in the
// intent.
bool KeepNewRow(Connection& conn, int intent, const BaseChanges::Row& row) {
  const Columns columns = ColumnsOf(conn, row.table);
  std::string values;
  for (const std::string& name : columns.names) values += (values.empty() ? "" : ", ") + Quoted(name);
  Statement st(conn, "INSERT INTO main.pending_base_rows (intent, table_name, row_id, row_values) SELECT ?, ?, ?,"
                     " (SELECT json_array(" + values + ") FROM base." + Quoted(row.table) + " WHERE rowid = ?)");
  return st.Bind(intent).Bind(row.table).Bind(row.rowid).Bind(row.rowid).Run();
}

// Gives the rows of an intent the values it holds: every row is deleted
// first and then inserted, so no unique column meets a value it is leaving.
bool WriteIntent(Connection& conn, std::int64_t intent) {
  TriggersOff quiet(conn);
  std::vector<std::pair<std::string, std::int64_t>> rows;
  {
    Statement list(conn, "SELECT table_name, row_id FROM main.pending_base_rows WHERE intent = ?");
    list.Bind(intent);
    while (list.Next()) rows.emplace_back(list.ReadTextField(0), list.ReadInt64Field(1));
    if (!list.ok()) return false;
  }
  for (const auto& [table, rowid] : rows)
    if (!DeleteRow(conn, table, rowid)) return false;
  for (const auto& [table, rowid] : rows) {
    const Columns columns = ColumnsOf(conn, table);
    std::string values = "row_id";
    for (std::size_t i = 0; i < columns.names.size(); ++i)
      values += ", json_extract(row_values, '$[" + std::to_string(i) + "]')";
    Statement st(conn, "INSERT INTO base." + Quoted(table) + " (" + ColumnList(columns) + ") SELECT " + values +
                           " FROM main.pending_base_rows WHERE intent = ? AND table_name = ? AND row_id = ?"
                           " AND row_values IS NOT NULL");
    if (!st.Bind(intent).Bind(table).Bind(rowid).Run()) return false;
  }
  return true;
}

// Steps 2 and 3 for every intent in the meet file, oldest first.
bool ApplyIntents(Connection& conn) {
  if (!WaitForOwnCommits()) return false;
  std::vector<std::int64_t> intents;
  {
    Statement list(conn, "SELECT DISTINCT intent FROM main.pending_base_rows ORDER BY intent");
    while (list.Next()) intents.push_back(list.ReadInt64Field(0));
    if (!list.ok()) return false;
  }
  for (std::int64_t intent : intents) {
    if (!conn.ExecScript("SAVEPOINT base_rows")) return false;
    if (!WriteIntent(conn, intent)) {
      conn.ExecScript("ROLLBACK TO base_rows; RELEASE base_rows");
      return false;
    }
    if (!conn.ExecScript("RELEASE base_rows") || !WaitForOwnCommits()) return false;
    Statement done(conn, "DELETE FROM main.pending_base_rows WHERE intent = ?");
    if (!done.Bind(intent).Run()) return false;
  }
  return true;
}

}  // namespace

bool TrackBaseChanges(Connection& conn) {
  if (!conn.ExecScript(kCreateIntents)) return false;
  conn.base_changes() = std::make_unique<BaseChanges>();
  sqlite3_preupdate_hook(conn.handle(), OnRowChange, conn.base_changes().get());
  return ApplyIntents(conn);
}

void StartBaseCapture(Connection& conn) {
  if (BaseChanges* changes = conn.base_changes().get()) changes->capturing = true;
}

void StopBaseCapture(Connection& conn) {
  if (BaseChanges* changes = conn.base_changes().get()) *changes = BaseChanges{};
}

bool StageBaseChanges(Connection& conn) {
  BaseChanges* changes = conn.base_changes().get();
  if (!changes) return true;
  changes->capturing = false;
  if (changes->rows.empty()) return true;
  int intent = 0;
  {
    Statement next(conn, "SELECT COALESCE(MAX(intent), 0) + 1 FROM main.pending_base_rows");
    if (!next.Next()) return false;
    intent = next.ReadIntField(0);
  }
  TriggersOff quiet(conn);
  for (const BaseChanges::Row& row : changes->rows)
    if (!KeepNewRow(conn, intent, row) || !DeleteRow(conn, row.table, row.rowid)) return false;
  for (const BaseChanges::Row& row : changes->rows)
    if (row.existed && !RestoreRow(conn, row)) return false;
  changes->staged = true;
  return true;
}

bool ApplyStagedBaseChanges(Connection& conn) {
  BaseChanges* changes = conn.base_changes().get();
  if (!changes || !std::exchange(changes->staged, false)) return true;
  return ApplyIntents(conn);
}

}  // namespace korva
