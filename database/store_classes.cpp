#include "database/store_classes.h"

#include <cstdio>
#include <vector>

#include "database/connections.h"
#include "database/data_error.h"
#include "database/data_lock.h"
#include "database/store_common.h"

namespace korva {

namespace {

const char kDefaultSuffix[] = "班";
const char kNewClassPassword[] = "9352";

bool IsNumber(const std::string& text) {
  if (text.empty()) return false;
  for (char c : text)
    if (c < '0' || c > '9') return false;
  return true;
}

bool InsertClass(Connection& meet, int class_id, int grade_id, int number, const std::string& name) {
  for (const char* table : {"qrtb234", "base.qrtb40"}) {
    if (!Execute(meet,
                 std::string("INSERT INTO ") + table +
                     " (qrtb235, qrtb236, qrtb237, qrtb238, qrtb239, qrtb240)"
                     " VALUES (?, ?, ?, ?, '', '')",
                 class_id, grade_id, number, name))
      return false;
  }
  return true;
}

// The class-teacher account of a new class, with the password every class
// starts a meet with.
bool InsertClassAccount(Connection& meet, int grade_id, int class_id) {
  return Execute(meet,
                 "INSERT INTO qrtb7 (qrtb10, qrtb11, qrtb12, qrtb14, qrtb15, qrtb16)"
                 " VALUES (?, '', '', 1, ?, ?)",
                 kNewClassPassword, grade_id, class_id);
}

std::string StoredSuffix(Connection& meet, int grade_id) {
  Statement st(meet, "SELECT qrtb223 FROM qrtb219 WHERE qrtb220 = ?");
  st.Bind(grade_id);
  std::string suffix = st.Next() ? st.ReadTextField(0) : std::string();
  return suffix.empty() ? kDefaultSuffix : suffix;
}

}  // namespace

std::string FormatClassName(const std::string& short_name, int class_number,
                            const std::string& suffix) {
  char number[16];
  std::snprintf(number, sizeof number, IsNumber(short_name) ? "%02d" : "(%d)", class_number);
  return short_name + number + suffix;
}

int SaveGrade(const std::string& name, const std::string& short_name, std::string* message,
              int grade_id, int class_count) {
  DataGuard hold(DataLock);
  Connection& meet = MeetConnection();
  Transaction unit(meet);
  bool saved = unit.ok();
  if (saved && grade_id == 0) {
    int new_grade = NextTwinId("qrtb219", "qrtb220", "qrtb26", "qrtb27");
    int first_class = NextTwinId("qrtb234", "qrtb235", "qrtb40", "qrtb235");
    saved = new_grade != 0 && first_class != 0 &&
            Execute(meet,
                    "INSERT INTO qrtb219 (qrtb220, qrtb221, qrtb222, qrtb223, qrtb225)"
                    " VALUES (?, ?, ?, ?, 0)",
                    new_grade, name, short_name, kDefaultSuffix) &&
            Execute(meet,
                    "INSERT INTO base.qrtb26 (qrtb27, qrtb29, qrtb222, qrtb223) VALUES (?, ?, ?, ?)",
                    new_grade, name, short_name, kDefaultSuffix);
    for (int k = 1; saved && k <= class_count; ++k)
      saved = InsertClass(meet, first_class + k - 1, new_grade, k,
                          FormatClassName(short_name, k, kDefaultSuffix)) &&
              InsertClassAccount(meet, new_grade, first_class + k - 1);
  } else if (saved) {
    saved = Execute(meet, "UPDATE qrtb219 SET qrtb221 = ?, qrtb222 = ? WHERE qrtb220 = ?", name,
                    short_name, grade_id) &&
            Execute(meet, "UPDATE base.qrtb26 SET qrtb29 = ?, qrtb222 = ? WHERE qrtb27 = ?", name,
                    short_name, grade_id);
  }
  if (!saved || !unit.Commit()) {
    *message = "[" + name + "]年级数据写入数据库时出现错误！";
    return 1;
  }
  *message = "[" + name + "]年级已经成功保存！";
  return 0;
}

int DeleteGrade(int grade_id, std::string* message) {
  DataGuard hold(DataLock);
  Connection& meet = MeetConnection();
  std::string name;
  std::vector<std::pair<int, int>> groups;  // group id, sex
  {
    Statement st(meet, "SELECT qrtb221 FROM qrtb219 WHERE qrtb220 = ?");
    st.Bind(grade_id);
    if (st.Next()) name = st.ReadTextField(0);
    Statement gs(meet, "SELECT qrtb374, qrtb376 FROM qrtb373 WHERE qrtb375 = ?");
    gs.Bind(grade_id);
    while (gs.Next()) groups.emplace_back(gs.ReadIntField(0), gs.ReadIntField(1));
  }
  Transaction unit(meet);
  bool deleted = unit.ok();
  // The grade's groups go with everything that hangs on them, so no contest
  // or round is left pointing at a group that is gone.
  for (const auto& [group_id, sex] : groups)
    deleted = deleted && DeleteGroupRows(meet, group_id, grade_id, sex);
  deleted = deleted && Execute(meet, "DELETE FROM qrtb7 WHERE qrtb15 = ?", grade_id) &&
            Execute(meet, "DELETE FROM qrtb234 WHERE qrtb236 = ?", grade_id) &&
            Execute(meet, "DELETE FROM qrtb219 WHERE qrtb220 = ?", grade_id) &&
            Execute(meet, "DELETE FROM base.qrtb40 WHERE qrtb236 = ?", grade_id) &&
            Execute(meet, "DELETE FROM base.qrtb26 WHERE qrtb27 = ?", grade_id) && unit.Commit();
  if (!deleted) {
    *message = "[" + name + "]删除时出现数据库操作错误！";
    return 1;
  }
  *message = "[" + name + "]已经成功删除！";
  return 0;
}

int AddOrDeleteClass(const ClassNode& last_class, int add, std::string* message) {
  DataGuard hold(DataLock);
  Connection& meet = MeetConnection();
  Transaction unit(meet);
  bool done = unit.ok();
  if (done && add) {
    int class_id = NextTwinId("qrtb234", "qrtb235", "qrtb40", "qrtb235");
    int number = last_class.ClassNumber + 1;
    done = class_id != 0 &&
           InsertClass(meet, class_id, last_class.GradeId, number,
                       FormatClassName(last_class.GradeShortName, number,
                                       StoredSuffix(meet, last_class.GradeId))) &&
           InsertClassAccount(meet, last_class.GradeId, class_id);
  } else if (done) {
    done = Execute(meet, "DELETE FROM qrtb234 WHERE qrtb235 = ?", last_class.ClassId) &&
           Execute(meet, "DELETE FROM qrtb7 WHERE qrtb15 = ? AND qrtb16 = ?", last_class.GradeId,
                   last_class.ClassId) &&
           Execute(meet, "DELETE FROM base.qrtb40 WHERE qrtb235 = ?", last_class.ClassId);
  }
  if (!done || !unit.Commit()) {
    *message = add ? "操作数据库出错！[1]" : "操作数据库出错！[0]";
    return 1;
  }
  return 0;
}

int UpdateClassNameAndStartNumbers(const std::string& name, const std::string& boys,
                                   const std::string& girls, int class_id) {
  DataGuard hold(DataLock);
  Connection& meet = MeetConnection();
  Transaction unit(meet);
  bool saved = unit.ok();
  for (const char* table : {"qrtb234", "base.qrtb40"})
    saved = saved && Execute(meet,
                             std::string("UPDATE ") + table +
                                 " SET qrtb238 = ?, qrtb239 = ?, qrtb240 = ? WHERE qrtb235 = ?",
                             name, boys, girls, class_id);
  return saved && unit.Commit() ? 0 : 1;
}

int ChangeClassPassword(int grade_id, int class_id, const std::string& old_password,
                        const std::string& new_password) {
  DataGuard hold(DataLock);
  Connection& meet = MeetConnection();
  if (!Execute(meet,
               "UPDATE qrtb7 SET qrtb10 = ? WHERE qrtb10 = ? AND qrtb15 = ? AND qrtb16 = ?",
               new_password, old_password, grade_id, class_id)) {
    ShowDataErrorCode(176);
    return 1;
  }
  return meet.Changes() > 0 ? 0 : 1;
}

int SetClassTeacherName(const std::string& name, int class_id) {
  DataGuard hold(DataLock);
  if (!Execute(MeetConnection(), "UPDATE qrtb7 SET qrtb12 = ? WHERE qrtb16 = ?", name, class_id)) {
    ShowDataErrorCode(112);
    return 1;
  }
  return 0;
}

}  // namespace korva
