#pragma once
// "/ajaxfun.html?Dstr=": the administrator's quick changes to the contests
// of the open meet without a page reload. Dstr holds up to five numbers
// joined by blanks, f a b c d:
//   1 a        align every contest of event a with its heats setting
//              (preliminaries added or removed);
//   11/12 a b  qualifiers of contest a's preliminary - 1 / + 1;
//   13/14 a b  places of contest a's final - 1 / + 1;
//   15 a b     contest b scored by scheme a.
// The reply is plain text: function 1 its report, 11 to 14 "b-value" for
// the page element b, 15 a sentence; "error" when a record is missing or
// a write failed. Every change is one transaction, and the lists follow
// only once it is committed.
#include <string>

#include "web/route_table.h"

namespace korva {

// Adds or removes the preliminaries of every contest of the event whose
// preliminaries flag differs from the event's heats setting, each contest
// in a transaction of its own: contests handled before a refusal or a
// failure keep their change. The report (HTML) is appended to message.
// 0 when every contest was handled; 1 when one stopped the run. The caller
// holds DataLock alone.
int ToggleHeatRound(std::string& message, int event_id);

RouteTable AjaxFunctionRoutes();

}  // namespace korva
