#pragma once
// A thin RAII layer over the SQLite C API. Texts are GBK on this side and
// UTF-8 in the file: binding converts to UTF-8, reading converts to GBK.
// Every value goes through a bound parameter, never into the SQL text.
#include <sqlite3.h>

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>

namespace korva {

struct BaseChanges;

class Connection {
 public:
  Connection();
  ~Connection();
  Connection(const Connection&) = delete;
  Connection& operator=(const Connection&) = delete;

  // Opens the file at path (UTF-8), creating it only when create is set.
  // WAL journal with synchronous=NORMAL: a commit is on disk once
  // WaitForOwnCommits (durable_commits.h) has returned true in its thread.
  // What an earlier process left in the -wal file is put on disk first
  // (SyncLeftoverCommits); false when it can't be.
  bool Open(const std::string& path, bool create);
  void Close();
  // Exchanges the open files of two connections (a meet switch prepares the
  // new file on a separate connection, then swaps it in).
  void Swap(Connection& other) noexcept;
  bool IsOpen() const { return db_ != nullptr; }
  sqlite3* handle() const { return db_; }
  const std::string& path() const { return path_; }

  // Runs SQL that carries no values (schema scripts, pragmas); false on error.
  bool ExecScript(std::string_view sql);
  // Attaches another database file (path in UTF-8) under the given schema
  // name. Its leftover -wal file is not synced here: the file attached (the
  // base file) has a connection of its own, opened first, which did that.
  bool Attach(const std::string& path, const char* schema);

  std::string LastError() const;
  std::int64_t LastInsertId() const;
  int Changes() const;

  // Nesting depth of open Transaction objects; used to name savepoints.
  int& savepoint_depth() { return savepoint_depth_; }
  // Set on a meet connection: how its transactions change base rows
  // (base_changes.h).
  std::unique_ptr<BaseChanges>& base_changes() { return base_changes_; }

 private:
  sqlite3* db_ = nullptr;
  std::string path_;
  int savepoint_depth_ = 0;
  std::unique_ptr<BaseChanges> base_changes_;
};

class Statement {
 public:
  // Prepares sql; a failure leaves ok() false and every later call harmless.
  Statement(Connection& conn, std::string_view sql);
  ~Statement();
  Statement(const Statement&) = delete;
  Statement& operator=(const Statement&) = delete;

  bool ok() const { return ok_; }

  // Binds the next parameter (1-based, in call order).
  Statement& Bind(int value);
  Statement& Bind(std::int64_t value);
  Statement& Bind(std::string_view gbk_text);
  Statement& Bind(const char* gbk_text) { return Bind(std::string_view(gbk_text)); }
  Statement& Bind(const std::string& gbk_text) { return Bind(std::string_view(gbk_text)); }
  // Binds text that is UTF-8 already, such as a file path.
  Statement& BindUtf8(std::string_view utf8_text);
  Statement& BindNull();
  // Binds an integer, or NULL when value equals null_value.
  Statement& BindOrNull(int value, int null_value);

  // Steps to the next row: true when a row is there, false at the end or on
  // an error (ok() then turns false).
  bool Next();
  // Runs the statement to its end; true on success.
  bool Run();
  // Puts the statement back to its start with its bindings cleared.
  void Reset();

  // Index of a result column by name, -1 when there is none.
  int Column(const char* name) const;
  // The column value of the current row; NULL (or no such column) gives 0.
  int ReadIntField(const char* column) const;
  int ReadIntField(int index) const;
  std::int64_t ReadInt64Field(int index) const;
  // Like ReadIntField, but NULL gives null_value.
  int ReadIntOr(const char* column, int null_value) const;
  int ReadIntOr(int index, int null_value) const;
  bool IsNull(const char* column) const;
  // The column text converted to GBK; NULL gives an empty text.
  std::string ReadTextField(const char* column) const;
  std::string ReadTextField(int index) const;

 private:
  Connection& conn_;
  sqlite3_stmt* stmt_ = nullptr;
  bool ok_ = false;
  int next_param_ = 1;
};

// A unit of work: commits on Commit(), rolls back when destroyed without it.
// Nested units become savepoints of the outer one.
class Transaction {
 public:
  explicit Transaction(Connection& conn);
  ~Transaction();
  Transaction(const Transaction&) = delete;
  Transaction& operator=(const Transaction&) = delete;

  bool ok() const { return ok_; }
  // Makes the unit's changes part of the outer unit (or permanent); false on
  // failure, after which the changes are rolled back.
  bool Commit();
  // Undoes the unit's changes now.
  void Rollback();

 private:
  Connection& conn_;
  std::string name_;
  bool ok_ = false;
  bool done_ = false;
};

}  // namespace korva
