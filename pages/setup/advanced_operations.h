#pragma once
// "/gjgn.html": the administrator's rehearsal and repair operations. Each
// changes the meet in one transaction: it happens whole, or the file and
// the lists stay as they were. The caller holds DataLock alone.
//   str3 1  SimulateRegistration         1 done, 3 athletes exist,
//                                        4 set-up incomplete, 5 no meet,
//                                        0 database failure
//        3  DeleteSimulatedRegistration  10 done, 11 refused or failed
//       10  DeleteHeatsAndNumbers        6 done, 7 results exist,
//                                        0 database failure
//       11  RenumberAthletes             8 done, 9 database failure
// Operations 10 and 11 run only after the staff account str1 with password
// str2 signs the session in again; a failed check answers 0 and signs it
// out. Any other operation answers 0.
#include <vector>

#include "database/model.h"
#include "web/route_table.h"

namespace korva {

// The contests a competition group offers, by how they are entered.
struct GroupContests {
  const GroupNode* group = nullptr;                         // null: no group, or its events are inconsistent
  std::vector<int> individual, team, mixed_team, combined;  // contest ids
};

// The contests of the group of that grade and sex.
GroupContests CollectGroupContests(int sex, int grade_id);

// Makes one class's athletes of the group's sex for a rehearsal: as many as
// the group takes per class, named "男0001" / "女0001" on from counter, with
// entries that registration would accept: at most the group's entrants per
// event and class, events per athlete (with a combined event, all events
// together), whole teams, and never more than an athlete can hold. False
// (out unchanged; the names made stay used) when a contest or event is
// missing.
bool GenerateClassAthletes(int& counter, const ClassNode& cls, const GroupContests& contests,
                           std::vector<AthleteNode>& out);

// Fills a meet without athletes with generated athletes of every class.
int SimulateRegistration();

// Deletes every athlete with its entries and lanes, and opens registration,
// when every athlete has a generated name.
int DeleteSimulatedRegistration();

// Deletes every heat, lane and bib number and the order book's record,
// while no lane holds a result.
int DeleteHeatsAndNumbers();

// Gives every athlete a new bib number.
int RenumberAthletes();

RouteTable AdvancedOperationRoutes();

}  // namespace korva
