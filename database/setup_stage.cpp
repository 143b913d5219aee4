#include "database/setup_stage.h"

#include <algorithm>

#include "database/data_error.h"
#include "database/lookups.h"
#include "database/model.h"
#include "database/queries.h"

namespace korva {

namespace {

// Data-error codes of the registration check.
constexpr int kErrGroupWithoutEvents = 37550;
constexpr int kErrGroupEventMissing = 36550;
constexpr int kErrContestEventMissing = 35550;

// Event and team kinds read by the registration check.
constexpr int kCombinedEvent = 3;
constexpr int kIndividual = 1;
constexpr int kTeam = 2;
constexpr int kMixedTeam = 3;

// The outcome of checking one part of the registration: go on, a class is
// short (answer 0), or the data are inconsistent (answer 1).
enum class Check { kPass, kShort, kDataError };

// Adds the team places that the group's events ask of one class: one-sex
// teams to its own count, mixed teams to the grade's count, counted once
// per grade (under the girls' group when both groups exist).
Check CountTeamPlaces(const GroupNode& group, int* team_places, int* mixed_places) {
  const GroupEventNode* events = FindGroupEvents(group.Id);
  if (!events) {
    ShowDataErrorCode(kErrGroupWithoutEvents);
    return Check::kDataError;
  }
  for (int event_id : events->EventIds) {
    const EventNode* event = FindEventById(event_id);
    if (!event) {
      ShowDataErrorCode(kErrGroupEventMissing);
      return Check::kDataError;
    }
    if (event->TuanTiType == kTeam) {
      *team_places += event->TuanTiRenShu;
    } else if (event->TuanTiType == kMixedTeam) {
      bool other_sex_exists = FindGroupByGradeAndSex(group.GradeId, 3 - group.Sex) != nullptr;
      if (!other_sex_exists || group.Sex == 2) *mixed_places += event->TuanTiRenShu;
    }
  }
  return Check::kPass;
}

// Walks the class's athletes of the group's sex: each must hold its
// entries, and the class its athletes and team entries.
Check CheckClassAthletes(const ClassNode& cls, const GroupNode& group, int team_places,
                         int* mixed_entries) {
  const std::vector<AthleteNode>& athletes = Model().AthleteList;
  std::size_t i = 0;
  while (i < athletes.size() && !(athletes[i].ClassId == cls.ClassId && athletes[i].Sex == group.Sex))
    ++i;
  int athlete_count = 0;
  int team_entries = 0;
  for (; i < athletes.size() && athletes[i].ClassId == cls.ClassId && athletes[i].Sex == group.Sex;
       ++i) {
    ++athlete_count;
    int combined = 0;
    int individual = 0;
    for (int contest_id : athletes[i].ContestIds) {
      const ContestNode* contest = FindContestById(contest_id);  // a miss logs 12550
      if (!contest) return Check::kDataError;
      const EventNode* event = FindEventById(contest->EventId);
      if (!event) {
        ShowDataErrorCode(kErrContestEventMissing);
        return Check::kDataError;
      }
      if (event->BiSaiType == kCombinedEvent) ++combined;
      else if (event->TuanTiType == kIndividual) ++individual;
      else if (event->TuanTiType == kTeam) ++team_entries;
      else if (event->TuanTiType == kMixedTeam) ++*mixed_entries;
    }
    if (combined == 0 && individual < group.EventsPerAthlete) return Check::kShort;
    if (combined > 0 && combined + individual < group.CombinedLimit) return Check::kShort;
  }
  if (athlete_count < group.AthletesPerClass) return Check::kShort;
  if (team_entries < team_places) return Check::kShort;
  return Check::kPass;
}

Check CheckClass(const ClassNode& cls) {
  int mixed_places = 0;
  int mixed_entries = 0;
  for (int sex = 1; sex <= 2; ++sex) {
    const GroupNode* group = FindGroupByGradeAndSex(cls.GradeId, sex);
    if (!group) continue;
    int team_places = 0;
    Check check = CountTeamPlaces(*group, &team_places, &mixed_places);
    if (check != Check::kPass) return check;
    check = CheckClassAthletes(cls, *group, team_places, &mixed_entries);
    if (check != Check::kPass) return check;
  }
  return mixed_entries < mixed_places ? Check::kShort : Check::kPass;
}

}  // namespace

int GetSetupStage() {
  const MeetModel& m = Model();
  if (m.CurrentMeetId == 0) return kStageNoMeet;
  if (m.GroupList.empty()) return kStageNoGroups;
  // The loader keeps a node for every group; a list without them is a later
  // stage's question.
  for (const GroupNode& group : m.GroupList) {
    auto events = std::find_if(m.GroupEventList.begin(), m.GroupEventList.end(),
                               [&](const GroupEventNode& n) { return n.GroupId == group.Id; });
    if (events != m.GroupEventList.end() && events->EventIds.empty()) return kStageNoGroupEvents;
  }
  // A preliminary that the draw dropped is never held, so it needs no slot.
  for (const RoundNode& round : m.RoundList)
    if (round.Disabled == 0 && (round.Session == 0 || round.Order == 0)) return kStageUnscheduled;
  if (m.ScoringSchemeList.empty() || m.ContestList.empty()) return kStageNoSchemeOrContest;
  if (m.EventList.empty()) return kStageNoEvents;
  if (m.GroupEventList.empty()) return kStageNoGroupEventList;
  if (m.ClassList.empty()) return kStageNoClasses;
  return kStageComplete;
}

bool CheckModelConsistency() {
  const MeetModel& m = Model();
  if (m.RegistrationClosed != 0) return true;
  if (m.GroupEventList.empty()) return false;
  for (const ClassNode& cls : m.ClassList) {
    Check check = CheckClass(cls);
    if (check == Check::kShort) return false;
    if (check == Check::kDataError) return true;
  }
  return true;
}

bool AllRoundsScheduled() {
  const std::vector<RoundNode>& rounds = Model().RoundList;
  if (rounds.empty()) return false;
  for (const RoundNode& round : rounds)
    if (round.Session == 0 || round.Order == 0) return false;
  return true;
}

}  // namespace korva
