#pragma once
// The school's grades and classes: the grade list ("/SetupSchool.html"),
// the grade form ("/SetupGrade.html"), the class names and starting numbers
// of one grade ("/EditClassName.html"), and their posts: save and delete a
// grade, add or remove a grade's last class, save the class names.
// Administrators only; every change goes to the open meet and its
// base-file twins together.
#include "web/route_table.h"

namespace korva {

RouteTable GradePageRoutes();

}  // namespace korva
