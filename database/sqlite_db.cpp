#include "database/sqlite_db.h"

#include <cstring>
#include <utility>

#include "database/base_changes.h"
#include "database/data_error.h"
#include "database/durable_commits.h"
#include "database/gbk_text.h"

namespace korva {

Connection::Connection() = default;
Connection::~Connection() { Close(); }

bool Connection::Open(const std::string& path, bool create) {
  Close();
  if (!SyncLeftoverCommits(path)) return false;
  int flags = SQLITE_OPEN_READWRITE | SQLITE_OPEN_FULLMUTEX;
  if (create) flags |= SQLITE_OPEN_CREATE;
  sqlite3* db = nullptr;
  if (sqlite3_open_v2(path.c_str(), &db, flags, nullptr) != SQLITE_OK) {
    if (db) {
      LogServerMessageUtf8(std::string("sqlite: ") + sqlite3_errmsg(db) + " (" + path + ")");
      sqlite3_close(db);
    }
    return false;
  }
  db_ = db;
  path_ = path;
  sqlite3_busy_timeout(db_, 5000);
  bool wal = false;
  {
    // A file that can't take a -wal file keeps its old mode without an error.
    Statement mode(*this, "PRAGMA journal_mode=WAL");
    wal = mode.Next() && mode.ReadTextField(0) == "wal";
  }
  if (!wal || !ExecScript("PRAGMA synchronous=NORMAL")) {
    LogServerMessageUtf8("sqlite: no WAL journal for " + path);
    Close();
    return false;
  }
  TrackCommits(db_);
  return true;
}

void Connection::Close() {
  if (db_) sqlite3_close_v2(db_);
  db_ = nullptr;
  path_.clear();
  savepoint_depth_ = 0;
  base_changes_.reset();
}

void Connection::Swap(Connection& other) noexcept {
  std::swap(db_, other.db_);
  std::swap(path_, other.path_);
  std::swap(savepoint_depth_, other.savepoint_depth_);
  std::swap(base_changes_, other.base_changes_);
}

bool Connection::ExecScript(std::string_view sql) {
  if (!db_) return false;
  std::string text(sql);
  char* err = nullptr;
  if (sqlite3_exec(db_, text.c_str(), nullptr, nullptr, &err) != SQLITE_OK) {
    LogServerMessageUtf8(std::string("sqlite: ") + (err ? err : "error"));
    sqlite3_free(err);
    return false;
  }
  return true;
}

bool Connection::Attach(const std::string& path, const char* schema) {
  Statement st(*this, std::string("ATTACH DATABASE ? AS ") + schema);
  return st.BindUtf8(path).Run();
}

std::string Connection::LastError() const { return db_ ? sqlite3_errmsg(db_) : "not open"; }
std::int64_t Connection::LastInsertId() const { return db_ ? sqlite3_last_insert_rowid(db_) : 0; }
int Connection::Changes() const { return db_ ? sqlite3_changes(db_) : 0; }

Statement::Statement(Connection& conn, std::string_view sql) : conn_(conn) {
  if (!conn.IsOpen()) return;
  ok_ = sqlite3_prepare_v2(conn.handle(), sql.data(), static_cast<int>(sql.size()), &stmt_,
                           nullptr) == SQLITE_OK &&
        stmt_ != nullptr;
  if (!ok_) LogServerMessageUtf8("sqlite: " + conn.LastError() + " in: " + std::string(sql));
}

Statement::~Statement() {
  if (stmt_) sqlite3_finalize(stmt_);
}

Statement& Statement::Bind(int value) { return Bind(static_cast<std::int64_t>(value)); }

Statement& Statement::Bind(std::int64_t value) {
  if (ok_ && sqlite3_bind_int64(stmt_, next_param_++, value) != SQLITE_OK) ok_ = false;
  return *this;
}

Statement& Statement::Bind(std::string_view gbk_text) { return BindUtf8(GbkToUtf8(gbk_text)); }

Statement& Statement::BindUtf8(std::string_view utf8_text) {
  if (ok_ && sqlite3_bind_text(stmt_, next_param_++, utf8_text.data(), static_cast<int>(utf8_text.size()),
                               SQLITE_TRANSIENT) != SQLITE_OK)
    ok_ = false;
  return *this;
}

Statement& Statement::BindNull() {
  if (ok_ && sqlite3_bind_null(stmt_, next_param_++) != SQLITE_OK) ok_ = false;
  return *this;
}

Statement& Statement::BindOrNull(int value, int null_value) {
  return value == null_value ? BindNull() : Bind(value);
}

bool Statement::Next() {
  if (!ok_) return false;
  int rc = sqlite3_step(stmt_);
  if (rc == SQLITE_ROW) return true;
  if (rc != SQLITE_DONE) {
    LogServerMessageUtf8("sqlite: " + conn_.LastError());
    ok_ = false;
  }
  return false;
}

bool Statement::Run() {
  while (Next()) {
  }
  return ok_;
}

void Statement::Reset() {
  if (!stmt_) return;
  sqlite3_reset(stmt_);
  sqlite3_clear_bindings(stmt_);
  next_param_ = 1;
  ok_ = true;
}

int Statement::Column(const char* name) const {
  if (!stmt_) return -1;
  int n = sqlite3_column_count(stmt_);
  for (int i = 0; i < n; ++i) {
    const char* col = sqlite3_column_name(stmt_, i);
    if (col && std::strcmp(col, name) == 0) return i;
  }
  return -1;
}

int Statement::ReadIntField(int index) const {
  if (!stmt_ || index < 0) return 0;
  return sqlite3_column_int(stmt_, index);
}

std::int64_t Statement::ReadInt64Field(int index) const {
  if (!stmt_ || index < 0) return 0;
  return sqlite3_column_int64(stmt_, index);
}

int Statement::ReadIntField(const char* column) const { return ReadIntField(Column(column)); }

int Statement::ReadIntOr(const char* column, int null_value) const { return ReadIntOr(Column(column), null_value); }

int Statement::ReadIntOr(int index, int null_value) const {
  if (!stmt_ || index < 0 || sqlite3_column_type(stmt_, index) == SQLITE_NULL) return null_value;
  return sqlite3_column_int(stmt_, index);
}

bool Statement::IsNull(const char* column) const {
  int index = Column(column);
  return index < 0 || sqlite3_column_type(stmt_, index) == SQLITE_NULL;
}

std::string Statement::ReadTextField(int index) const {
  if (!stmt_ || index < 0) return {};
  const unsigned char* text = sqlite3_column_text(stmt_, index);
  if (!text) return {};
  int len = sqlite3_column_bytes(stmt_, index);
  return Utf8ToGbk(std::string_view(reinterpret_cast<const char*>(text), len));
}

std::string Statement::ReadTextField(const char* column) const {
  return ReadTextField(Column(column));
}

Transaction::Transaction(Connection& conn) : conn_(conn) {
  name_ = "unit" + std::to_string(++conn_.savepoint_depth());
  ok_ = conn_.ExecScript("SAVEPOINT " + name_);
  if (!ok_) {
    --conn_.savepoint_depth();
    done_ = true;
  } else if (conn_.savepoint_depth() == 1) {
    StartBaseCapture(conn_);
  }
}

Transaction::~Transaction() {
  if (!done_) Rollback();
}

bool Transaction::Commit() {
  if (done_) return false;
  const bool outermost = conn_.savepoint_depth() == 1;
  if ((outermost && !StageBaseChanges(conn_)) || !conn_.ExecScript("RELEASE " + name_)) {
    Rollback();
    return false;
  }
  done_ = true;
  if (--conn_.savepoint_depth() > 0) return true;
  const bool applied = ApplyStagedBaseChanges(conn_);
  StopBaseCapture(conn_);
  return applied;
}

void Transaction::Rollback() {
  if (done_) return;
  conn_.ExecScript("ROLLBACK TO " + name_ + "; RELEASE " + name_);
  done_ = true;
  ok_ = false;
  if (--conn_.savepoint_depth() == 0) StopBaseCapture(conn_);
}

}  // namespace korva
