#include "database/store_records.h"

#include "database/connections.h"
#include "database/data_error.h"
#include "database/data_lock.h"
#include "database/store_common.h"

namespace korva {

namespace {

// The records live in the base file. While a meet is open they are written
// through the meet connection (base attached), so a record change commits
// together with the scores of the same request.
Connection& RecordConnection(const char** table) {
  if (MeetConnection().IsOpen()) {
    *table = "base.qrtb188";
    return MeetConnection();
  }
  *table = "qrtb188";
  return BaseConnection();
}

}  // namespace

int InsertRecord(const RecordNode& r) {
  DataGuard hold(DataLock);
  const char* table = nullptr;
  Connection& conn = RecordConnection(&table);
  Statement st(conn, std::string("INSERT INTO ") + table +
                         " (qrtb190, qrtb191, qrtb192, qrtb193, qrtb194, qrtb195, qrtb196,"
                         " qrtb197, qrtb198, qrtb199, qrtb202, qrtb205, qrtb208, qrtb209, qrtb210)"
                         " VALUES (1, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?)");
  st.Bind(r.GroupName).Bind(r.Sex).Bind(r.EventName).Bind(r.EventType).Bind(r.TeamType)
      .BindOrNull(r.Value, kNoResult).BindOrNull(r.Value2, kNoResult).BindOrNull(r.Value3, kNoResult)
      .Bind(r.HolderName).Bind(r.ClassName).Bind(r.DateText).Bind(r.UnitText).Bind(r.MeetName).Bind(r.RoundKind);
  if (!st.Run()) return 0;
  return static_cast<int>(conn.LastInsertId());
}

int UpdateRecordFlags(const RecordNode& record) {
  DataGuard hold(DataLock);
  const char* table = nullptr;
  Connection& conn = RecordConnection(&table);
  Statement st(conn, std::string("UPDATE ") + table +
                         " SET qrtb196 = ?, qrtb210 = ?, qrtb199 = ?, qrtb202 = ?, qrtb205 = ?, qrtb209 = ?"
                         " WHERE qrtb189 = ?");
  st.BindOrNull(record.Value, kNoResult).Bind(record.RoundKind).Bind(record.HolderName)
      .Bind(record.ClassName).Bind(record.DateText).Bind(record.MeetName).Bind(record.Id);
  if (!st.Run()) {
    ShowDataErrorCode(25232);
    return 1;
  }
  return 0;
}

int DeleteRecord(int record_id) {
  DataGuard hold(DataLock);
  const char* table = nullptr;
  Connection& conn = RecordConnection(&table);
  if (!Execute(conn, std::string("DELETE FROM ") + table + " WHERE qrtb189 = ?", record_id)) {
    ShowDataErrorCode(179);
    return 1;
  }
  return 0;
}

}  // namespace korva
