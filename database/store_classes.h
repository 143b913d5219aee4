#pragma once
// Store functions of grades, classes and class-teacher accounts. A grade
// and its classes live in the meet file and in the base file's defaults
// (qrtb26, qrtb40) under the same ids. Each takes DataLock itself; the
// caller reloads ClassList (and GroupList after DeleteGrade).
#include <string>

#include "database/model.h"

namespace korva {

// The class-naming rule: "%s%02d%s" when the short name is a number (short
// name 1, class 1, suffix 班 gives "101班"), else "%s(%d)%s".
std::string FormatClassName(const std::string& short_name, int class_number,
                            const std::string& suffix);

// Grade id 0 inserts a grade (suffix "班") with classes 1 to class_count
// and their class-teacher accounts; another id updates both names. 0 saved;
// 1 database error (message set, nothing changes).
[[nodiscard]] int SaveGrade(const std::string& name, const std::string& short_name, std::string* message,
              int grade_id, int class_count);

// Deletes the grade, its classes and their accounts, both base twins and
// its competition groups. 0 with "[%s]已经成功删除！"; 1 database error.
[[nodiscard]] int DeleteGrade(int grade_id, std::string* message);

// add 1 appends class number + 1 (with its class-teacher account) after
// last_class, the last class of its grade; add 0 deletes last_class and its
// account. 0 done; 1 with "操作数据库出错！[1]" or "操作数据库出错！[0]".
[[nodiscard]] int AddOrDeleteClass(const ClassNode& last_class, int add, std::string* message);

// Writes a class's name and its boys' and girls' starting numbers (texts)
// into both files. 0 / 1.
[[nodiscard]] int UpdateClassNameAndStartNumbers(const std::string& name, const std::string& boys,
                                   const std::string& girls, int class_id);

// 0 when the class-teacher account of that grade and class held the old
// password and now holds the new one; 1 when none matched or on a database
// error (data error 176).
[[nodiscard]] int ChangeClassPassword(int grade_id, int class_id, const std::string& old_password,
                        const std::string& new_password);

// Sets the class teacher's name of a class's account. 0 / 1 (data error 112).
[[nodiscard]] int SetClassTeacherName(const std::string& name, int class_id);

}  // namespace korva
