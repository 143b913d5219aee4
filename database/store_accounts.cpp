#include "database/store_accounts.h"

#include "database/connections.h"
#include "database/data_error.h"
#include "database/data_lock.h"
#include "database/gbk_text.h"
#include "database/model.h"
#include "database/store_common.h"

namespace korva {

bool FindStaffAccount(std::string_view name, std::string_view password, AccountRecord& out) {
  Statement query(BaseConnection(), "select * from qrtb7 where qrtb9=? and qrtb10=? and qrtb14>1");
  query.Bind(name).Bind(password);
  if (!query.Next()) return false;
  out.Id = query.ReadIntField("qrtb8");
  out.Role = query.ReadIntField("qrtb14");
  out.FixedAddress = query.ReadIntField("qrtb20");
  out.MeetDaysOnly = query.ReadIntField("qrtb21");
  out.LastAddress = query.ReadTextField("qrtb25");
  out.UserName = query.ReadTextField("qrtb9");
  return true;
}

bool FindClassTeacherAccount(int class_id, std::string_view password, AccountRecord& out) {
  if (!MeetConnection().IsOpen()) return false;
  Statement query(MeetConnection(), "select * from qrtb7 where qrtb16=? and qrtb10=? and qrtb14=1");
  query.Bind(class_id).Bind(password);
  if (!query.Next()) return false;
  out.Id = query.ReadIntField("qrtb8");
  out.Role = query.ReadIntField("qrtb14");
  out.GradeId = query.ReadIntField("qrtb15");
  out.ClassId = query.ReadIntField("qrtb16");
  out.UserName = query.ReadTextField("qrtb12");
  return true;
}

int SaveStaffLastAddress(int account_id, std::string_view address) {
  DataGuard hold(DataLock);
  Transaction unit(BaseConnection());
  if (!unit.ok() || !Execute(BaseConnection(), "update qrtb7 set qrtb25=? where qrtb8=?", CutGbk(address, 49),
                             account_id))
    return 1;
  return unit.Commit() ? 0 : 1;
}

int AddAccount(std::string_view name, std::string_view password, int role, int fixed_address,
               int meet_days_only) {
  if (name.size() < kMinStaffNameBytes || password.size() < kMinStaffPasswordBytes ||
      (role != kRolePrintAdmin && role != kRoleScoreClerk))
    return 1;
  DataGuard hold(DataLock);
  Connection& base = BaseConnection();
  Statement taken(base, "SELECT 1 FROM qrtb7 WHERE qrtb9 = ?");
  taken.Bind(name);
  if (taken.Next()) return 2;
  Transaction unit(base);
  if (!taken.ok() || !unit.ok() ||
      !Execute(base, "INSERT INTO qrtb7 (qrtb9, qrtb10, qrtb20, qrtb21, qrtb14) VALUES (?, ?, ?, ?, ?)", name,
               password, fixed_address != 0 ? 1 : 0, meet_days_only != 0 ? 1 : 0, role) ||
      !unit.Commit()) {
    ShowDataErrorCode(745843);
    return 1;
  }
  return 0;
}

int DeleteAccount(int account_id) {
  DataGuard hold(DataLock);
  Connection& base = BaseConnection();
  Transaction unit(base);
  if (!unit.ok() || !Execute(base, "DELETE FROM qrtb7 WHERE qrtb8 = ? AND qrtb14 < 8", account_id)) {
    ShowDataErrorCode(815133);
    return 1;
  }
  if (base.Changes() == 0) return 1;
  if (!unit.Commit()) {
    ShowDataErrorCode(815133);
    return 1;
  }
  return 0;
}

int SaveStaffPassword(int account_id, std::string_view password) {
  DataGuard hold(DataLock);
  Connection& base = BaseConnection();
  Transaction unit(base);
  if (!unit.ok() || !Execute(base, "UPDATE qrtb7 SET qrtb10 = ? WHERE qrtb8 = ? AND qrtb14 > 1", password,
                             account_id))
    return 1;
  return base.Changes() == 1 && unit.Commit() ? 0 : 1;
}

}  // namespace korva
