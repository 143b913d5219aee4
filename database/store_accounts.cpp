#include "database/store_accounts.h"

#include "database/connections.h"
#include "database/data_lock.h"
#include "database/gbk_text.h"
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

}  // namespace korva
