#pragma once
// The group events page, step ③ of the set-up: which events each
// competition group holds. GET "/SetupGradeMatch.html" (route 35) serves
// the form, POST "/ChangGrdeMatch.html" (route 145) saves it and is
// answered with the result page (code 40 + result). The first post makes
// every contest and round of the meet and opens registration.
#include <string>
#include <string_view>
#include <vector>

#include "database/model.h"
#include "web/login_list.h"
#include "web/route_table.h"

namespace korva {

// Results of the group-events post.
enum GroupEventsResult {
  kGroupEventsSaved = 0,        // saved; some enabled round still lacks its session or order
  kGroupEventsRefused = 1,      // the posted form is not right
  kGroupEventsKept = 2,         // saved, but events with entrants were kept
  kGroupEventsFailed = 3,       // database error, or the meet can't take a first selection
  kGroupEventsAllScheduled = 4, // saved, and every enabled round is scheduled
};

// Reads a posted group-events form into one selection per group section
// (group id and the event ids in posted order, at most 100). 0 read, 1
// refused. Touches no list.
int ParseGroupEventsPost(std::string_view body, std::vector<GroupEventNode>* selections);

// Checks the selections against the lists: known groups and events, and a
// mixed-team event chosen for a group also chosen for the grade's other
// sex when that group exists. 0 accepted, 1 refused. The caller holds
// DataLock.
int CheckGroupEventSelections(const std::vector<GroupEventNode>& selections);

// Saves a posted form (the first selection of the meet, or a change of it),
// reloads the groups, their events, contests and rounds, and turns a
// success into kGroupEventsAllScheduled when no enabled round waits for
// its half-day session or order. report receives the store's report lines.
// The caller holds DataLock for writing.
int HandleGroupEventsPost(std::string_view body, std::string* report);

// The rows of the group-events form, one table per competition group in
// GroupList order (i = its position from 1): a hidden "jszid" with the
// group id, a read-only text "BsLb" (id "BsLb<i>") with the chosen event
// names each followed by ";", and per EventNode a check box "bsidz<i>"
// whose value is the event id, ticked for the group's events, with
// onclick "setupHunTuanbs(i,k,gi)" for a mixed-team event (k the box's
// position from 1, gi -1 or 1 towards the other sex of the grade, 0 when
// that group is missing) and "setupbs(i,sex)" otherwise. Girls' groups sit
// in tables named and identified "girljsz". The caller holds DataLock.
std::string BuildGroupEventsForm();

// Appends the group-events page (header and frame) to reply. The caller
// holds DataLock.
void ServeGroupEventsPage(const LoginNode& session, std::string& reply);

RouteTable GroupEventsRoutes();

}  // namespace korva
