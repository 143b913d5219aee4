#pragma once
// Registration of one athlete (/AddStudent.html): a new athlete or an edit of
// an entered athlete's name and events, checked against every entry limit of
// its competition group. Used by class teachers (while registration is open)
// and by the administrator (at any time). The caller holds DataLock.
#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

#include "database/model.h"
#include "web/login_list.h"
#include "web/route_table.h"

namespace korva {

// The fields of one registration request.
struct AthleteRegistration {
  int athlete_id = 0;           // stid: 0 for a new athlete
  int sex = 0;                  // stxb
  std::string name;             // Tname1 without its spaces
  int grade_id = 0;             // NjId for the administrator, else the session's
  int class_id = 0;             // BjId for the administrator, else the session's
  std::vector<int> event_ids;   // STBC1 fields, in the order sent
};

// Reads the request from the query of /AddStudent.html.
AthleteRegistration ReadAthleteRegistration(std::string_view query, const LoginNode& session);

// The outcome of the checks: either a refusal or what to store.
struct RegistrationPlan {
  std::string refusal;          // the whole message block; empty when accepted
  AthleteNode athlete;          // the athlete to store (id 0 for a new one)
  std::size_t insert_at = 0;    // where a new athlete goes in AthleteList
  bool group_full_after = false;
  std::string event_names;      // each chosen event's name followed by "，"
};

// Every check of a registration over the model, in the order the messages
// take precedence; nothing is changed. role is the caller's UserRole.
RegistrationPlan CheckAthleteRegistration(const AthleteRegistration& request, int role);

// Serves /AddStudent.html: fills reply with the message fragment. The
// caller holds DataLock alone. True when the athlete was stored (database
// and AthleteList), false when refused.
bool HandleAddStudent(std::string_view path, const LoginNode& session, std::string& reply);

RouteTable AthleteRegistrationRoutes();

}  // namespace korva
