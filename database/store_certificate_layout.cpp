#include "database/store_certificate_layout.h"

#include "database/connections.h"
#include "database/data_error.h"
#include "database/data_lock.h"
#include "database/sqlite_db.h"
#include "database/store_common.h"

namespace korva {

bool ReadCertificateLayout(int layout_key, CertificateLayout& layout) {
  layout = {};
  DataReadGuard hold(DataLock);
  Statement st(BaseConnection(),
               "SELECT qrtb178, qrtb172, qrtb173, qrtb174 FROM qrtb170 "
               "WHERE qrtb171 > 2 AND qrtb179 = ? AND qrtb178 BETWEEN 0 AND 9 ORDER BY qrtb171");
  st.Bind(layout_key);
  CertificateLayout read;
  while (st.Next()) {
    const int line = st.ReadIntField(0);
    read.FontSize[line] = st.ReadIntField(1);
    read.Top[line] = st.ReadIntField(2);
    read.Left[line] = st.ReadIntField(3);
  }
  if (!st.ok()) {
    ShowDataErrorCode(12812);
    return false;
  }
  layout = read;
  return true;
}

int SaveCertificateLine(int which, int line, int value, int layout_key) {
  if ((which != 1 && which != 2) || line < 1 || line > kLayoutLines) return 0;
  const int top = which == 1 ? value : 0;
  const int left = which == 2 ? value : 0;
  DataGuard hold(DataLock);
  Connection& base = BaseConnection();
  Transaction unit(base);
  bool exists = false;
  bool saved = unit.ok();
  {
    Statement row(base, "SELECT 1 FROM qrtb170 WHERE qrtb171 > 2 AND qrtb179 = ? AND qrtb178 = ?");
    row.Bind(layout_key).Bind(line - 1);
    exists = row.Next();
    saved = saved && row.ok();
  }
  if (saved && exists) {
    saved = which == 1 ? Execute(base, "UPDATE qrtb170 SET qrtb173 = ? WHERE qrtb171 > 2 AND qrtb179 = ? AND qrtb178 = ?",
                                 value, layout_key, line - 1)
                       : Execute(base, "UPDATE qrtb170 SET qrtb174 = ? WHERE qrtb171 > 2 AND qrtb179 = ? AND qrtb178 = ?",
                                 value, layout_key, line - 1);
  } else if (saved) {
    // Rows 1 and 2 are reserved: a layout row is numbered above them even
    // in a file that lost them.
    saved = Execute(base,
                    "INSERT INTO qrtb170 (qrtb171, qrtb179, qrtb178, qrtb172, qrtb173, qrtb174) "
                    "VALUES ((SELECT MAX(3, IFNULL(MAX(qrtb171), 0) + 1) FROM qrtb170), ?, ?, 0, ?, ?)",
                    layout_key, line - 1, top, left);
  }
  if (!saved || !unit.Commit()) {
    ShowDataErrorCode(1992812);
    return 0;
  }
  return 1;
}

}  // namespace korva
