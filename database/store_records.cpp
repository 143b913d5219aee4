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

int Insert(const ScoreUpload& u, ScoreValue value, bool typed, const std::string& holder,
           const std::string& class_name, const std::string& date_text,
           const std::string& meet_name) {
  DataGuard hold(DataLock);
  const char* table = nullptr;
  Connection& conn = RecordConnection(&table);
  Statement st(conn, std::string("INSERT INTO ") + table +
                         " (qrtb190, qrtb191, qrtb192, qrtb193, qrtb194, qrtb195, qrtb196,"
                         " qrtb197, qrtb198, qrtb199, qrtb202, qrtb205, qrtb208, qrtb209, qrtb210)"
                         " VALUES (1, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?)");
  st.Bind(u.GroupName).Bind(u.GroupSex).Bind(u.EventName).Bind(u.EventType).Bind(u.TeamType)
      .BindOrNull(value, kNoResult);
  if (typed)
    st.BindNull().BindNull();
  else
    st.BindOrNull(u.RecordValue2, kNoResult).BindOrNull(u.RecordValue3, kNoResult);
  st.Bind(holder).Bind(class_name).Bind(date_text).Bind(u.UnitText).Bind(meet_name)
      .Bind(u.RoundKind);
  if (!st.Run()) return 0;
  return static_cast<int>(conn.LastInsertId());
}

}  // namespace

int InsertRecord(const LaneNode& lane, const std::string& holder_name,
                 const std::string& class_name, const std::string& date_text,
                 const ScoreUpload& upload) {
  DataGuard hold(DataLock);
  return Insert(upload, lane.Result, false, holder_name, class_name, date_text, Model().MeetName);
}

int InsertRecordEmpty(const ScoreUpload& upload) {
  return Insert(upload, upload.Value, true, "", "", "", "");
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
