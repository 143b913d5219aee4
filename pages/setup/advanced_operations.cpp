#include "pages/setup/advanced_operations.h"

#include <algorithm>
#include <cstdio>
#include <string>
#include <string_view>

#include "database/connections.h"
#include "database/data_lock.h"
#include "database/loaders.h"
#include "database/lookups.h"
#include "database/setup_stage.h"
#include "database/store_athletes.h"
#include "database/store_meets.h"
#include "engine/bib_numbers.h"
#include "engine/result_table.h"
#include "web/form_field.h"
#include "web/login.h"
#include "web/response.h"

namespace korva {

namespace {

constexpr std::size_t kFieldBytes = 100;

// One generated athlete and the entries it has so far, by kind.
struct Slot {
  AthleteNode athlete;
  int combined = 0;
  int single = 0;
};

bool Holds(const AthleteNode& athlete, int contest_id) {
  return std::find(athlete.ContestIds.begin(), athlete.ContestIds.end(), contest_id) != athlete.ContestIds.end();
}

bool HasRoom(const Slot& slot) { return slot.athlete.ContestIds.size() < static_cast<std::size_t>(kMaxAthleteEntries); }

int Holders(const std::vector<Slot>& slots, int contest_id) {
  return static_cast<int>(
      std::count_if(slots.begin(), slots.end(), [&](const Slot& s) { return Holds(s.athlete, contest_id); }));
}

// Registration's rule for one athlete's events: with a combined event all
// of them together within the combined limit, else the single events
// within the events per athlete.
bool FitsEventLimits(const GroupNode& group, const Slot& slot, int more_combined, int more_single) {
  const int combined = slot.combined + more_combined;
  const int single = slot.single + more_single;
  return combined > 0 ? combined + single <= group.CombinedLimit : single <= group.EventsPerAthlete;
}

void Enter(Slot& slot, int contest_id) { slot.athlete.ContestIds.push_back(contest_id); }

// Combined events: the contests in turn, each to the first athlete who can
// take it, until every contest has the group's combined quota per class
// (no more than registration lets one class enter in an event).
void AssignCombined(const GroupNode& group, const std::vector<int>& contests, std::vector<Slot>& slots) {
  const int n = static_cast<int>(contests.size());
  for (int k = 0; k < group.CombinedLimit * n; ++k) {
    const int contest_id = contests[k % n];
    if (Holders(slots, contest_id) >= group.EntrantsPerEvent) continue;
    for (Slot& slot : slots) {
      const int entries = static_cast<int>(slot.athlete.ContestIds.size());
      if (entries < group.EventsPerAthlete && !Holds(slot.athlete, contest_id) && HasRoom(slot) &&
          FitsEventLimits(group, slot, 1, 0)) {
        Enter(slot, contest_id);
        ++slot.combined;
        break;
      }
    }
  }
}

// Individual events: the contests in turn, each to the first athlete with
// room for one more single event, until each has its entrants per class.
void AssignIndividual(const GroupNode& group, const std::vector<int>& contests, std::vector<Slot>& slots) {
  const int n = static_cast<int>(contests.size());
  for (int k = 0; k < group.EntrantsPerEvent * n; ++k) {
    const int contest_id = contests[k % n];
    for (Slot& slot : slots) {
      const int entries = static_cast<int>(slot.athlete.ContestIds.size());
      if (entries < group.EventsPerAthlete + slot.combined && !Holds(slot.athlete, contest_id) &&
          (slot.combined < group.CombinedLimit || group.CombinedLimit == 0) && HasRoom(slot) &&
          FitsEventLimits(group, slot, 0, 1)) {
        Enter(slot, contest_id);
        ++slot.single;
        break;
      }
    }
  }
}

// Team events: the first athletes with room make the class's team, a whole
// team of one sex or half a mixed team.
bool AssignTeams(const std::vector<int>& contests, bool mixed, std::vector<Slot>& slots) {
  for (int contest_id : contests) {
    const ContestNode* contest = FindContestById(contest_id);  // a miss logs 12550
    const EventNode* event = contest ? FindEventById(contest->EventId) : nullptr;
    if (!event) return false;
    int members = mixed ? event->TuanTiRenShu / 2 : event->TuanTiRenShu;
    for (Slot& slot : slots) {
      if (members <= 0) break;
      if (!HasRoom(slot)) continue;
      Enter(slot, contest_id);
      --members;
    }
  }
  return true;
}

// Generated names: the sex word, then only sex words and digits.
bool IsGeneratedName(std::string_view name) {
  auto sex_word = [&](std::size_t at) { return name.compare(at, 2, "男") == 0 || name.compare(at, 2, "女") == 0; };
  if (name.size() < 2 || !sex_word(0)) return false;
  for (std::size_t i = 2; i < name.size();) {
    if (name[i] >= '0' && name[i] <= '9') {
      ++i;
    } else if (i + 2 <= name.size() && sex_word(i)) {
      i += 2;
    } else {
      return false;
    }
  }
  return true;
}

// Route 84 (administrator): the operation's result as the reply.
void AdvancedOperationRoute(RouteContext& ctx) {
  AssertDataLockHeld(true);
  const std::string& query = ctx.request.Path;
  std::string name;
  std::string password;
  GetFormField(query, "str1=", kFieldBytes, name);
  GetFormField(query, "str2=", kFieldBytes, password);
  const int operation = GetFormInt(query, "str3=", kFieldBytes);
  int result = 0;
  if (operation == 1) {
    result = SimulateRegistration();
  } else if (operation == 3) {
    result = DeleteSimulatedRegistration();
  } else if (operation == 10 || operation == 11) {
    const bool signed_in = CheckLogin(*ctx.shared, name, password, true) != 0;
    ctx.Refresh();
    if (signed_in) result = operation == 10 ? DeleteHeatsAndNumbers() : RenumberAthletes();
  }
  AppendHtmlPage(ctx.session, std::to_string(result), ctx.reply);
}

constexpr RouteRow kRows[] = {
    {.path = "/gjgn.html",
     .roles = kAdmin,
     .code = 84,
     .handler = AdvancedOperationRoute,
     .access = Access::kWrite,
     .empty = EmptyReply::kEmptyBody},
};

}  // namespace

GroupContests CollectGroupContests(int sex, int grade_id) {
  GroupContests found;
  const GroupNode* group = FindGroupByGradeAndSex(grade_id, sex);
  if (!group) return found;
  const GroupEventNode* events = FindGroupEvents(group->Id);
  if (!events) return found;
  for (int event_id : events->EventIds) {
    const EventNode* event = FindEventById(event_id);
    const ContestNode* contest = event ? FindContestByGroupAndEvent(group->Id, event_id) : nullptr;
    if (!contest) return GroupContests{};
    if (event->BiSaiType == 3) {
      found.combined.push_back(contest->Id);
    } else if (event->TuanTiType == 1) {
      found.individual.push_back(contest->Id);
    } else if (event->TuanTiType == 2) {
      found.team.push_back(contest->Id);
    } else if (event->TuanTiType == 3) {
      found.mixed_team.push_back(contest->Id);
    }
  }
  found.group = group;
  return found;
}

bool GenerateClassAthletes(int& counter, const ClassNode& cls, const GroupContests& contests,
                           std::vector<AthleteNode>& out) {
  const GroupNode& group = *contests.group;
  std::vector<Slot> slots(static_cast<std::size_t>(std::max(group.AthletesPerClass, 0)));
  int next = counter;
  for (Slot& slot : slots) {
    char name[32];
    std::snprintf(name, sizeof name, "%s%04d", group.Sex == 1 ? "男" : "女", next++);
    slot.athlete.Name = name;
    slot.athlete.GradeId = cls.GradeId;
    slot.athlete.ClassId = cls.ClassId;
    slot.athlete.Sex = group.Sex;
  }
  counter = next;
  AssignCombined(group, contests.combined, slots);
  AssignIndividual(group, contests.individual, slots);
  if (!AssignTeams(contests.team, false, slots) || !AssignTeams(contests.mixed_team, true, slots)) return false;
  for (Slot& slot : slots) out.push_back(std::move(slot.athlete));
  return true;
}

int SimulateRegistration() {
  MeetModel& model = Model();
  if (model.CurrentMeetId == 0) return 5;
  if (!model.AthleteList.empty()) return 3;
  const int stage = GetSetupStage();
  if (stage == kStageNoGroups || stage == kStageNoGroupEvents) return 4;

  std::vector<AthleteNode> made;
  int counter = 1;
  GroupContests by_sex[2];
  const ClassNode* previous = nullptr;
  for (const ClassNode& cls : model.ClassList) {
    if (!previous || previous->GradeId != cls.GradeId) {
      for (int sex = 1; sex <= 2; ++sex) by_sex[sex - 1] = CollectGroupContests(sex, cls.GradeId);
    }
    previous = &cls;
    for (const GroupContests& contests : by_sex) {
      if (contests.group) GenerateClassAthletes(counter, cls, contests, made);
    }
  }

  Transaction unit(MeetConnection());
  bool stored = unit.ok();
  for (AthleteNode& athlete : made) {
    if (!stored) break;
    stored = SaveAthlete(athlete) != 0;
  }
  if (!stored || !unit.Commit()) {
    unit.Rollback();
    static_cast<void>(LoadAthletes());  // the failure is answered; a failed reload logs itself
    return 0;
  }
  // The loader's order: grade, class, sex, then id (nobody has a number).
  std::stable_sort(made.begin(), made.end(), [](const AthleteNode& a, const AthleteNode& b) {
    if (a.GradeId != b.GradeId) return a.GradeId < b.GradeId;
    if (a.ClassId != b.ClassId) return a.ClassId < b.ClassId;
    if (a.Sex != b.Sex) return a.Sex < b.Sex;
    return a.Id < b.Id;
  });
  for (std::size_t i = 0; i < made.size(); ++i) made[i].Ordinal = static_cast<int>(i + 1);
  model.AthleteList = std::move(made);
  return 1;
}

int DeleteSimulatedRegistration() {
  MeetModel& model = Model();
  for (const AthleteNode& athlete : model.AthleteList) {
    if (!IsGeneratedName(athlete.Name)) return 11;
  }
  const int was_closed = model.RegistrationClosed;
  Transaction unit(MeetConnection());
  if (!unit.ok() || DeleteAllAthletes() != 0 || SetRegistrationClosed(1) != 0 || !unit.Commit()) {
    unit.Rollback();
    model.RegistrationClosed = was_closed;
    return 11;
  }
  model.LaneList.clear();
  model.AthleteAuxList.clear();
  model.AthleteList.clear();
  for (RoundNode& round : model.RoundList) {
    round.Entrants = round.CertificatePrints = round.CheckInPrints = round.ResultPrints = round.CompletionStamp = 0;
  }
  std::erase_if(model.DocumentList, [](const DocumentNode& d) { return d.Kind == 1; });
  // Result tables of the deleted lanes leave the print queue.
  RebuildPrintQueue();
  return 10;
}

int DeleteHeatsAndNumbers() {
  MeetModel& model = Model();
  for (const LaneNode& lane : model.LaneList) {
    if (lane.Result != kNoResult || lane.Status > 0) return 7;
  }
  if (ClearAllResults() != 0) return 0;
  for (AthleteNode& athlete : model.AthleteList) {
    athlete.Bib = 0;
    athlete.BibText.clear();
  }
  model.LaneList.clear();
  model.AthleteAuxList.clear();
  std::erase_if(model.DocumentList, [](const DocumentNode& d) { return d.Kind == 1; });
  return 6;
}

int RenumberAthletes() {
  MeetModel& model = Model();
  Transaction unit(MeetConnection());
  if (!unit.ok() || ClearAllBibs() != 0) return 9;
  for (AthleteNode& athlete : model.AthleteList) {
    athlete.Bib = 0;
    athlete.BibText.clear();
  }
  if (AssignBibNumbers() != 0 || !unit.Commit()) {
    unit.Rollback();
    static_cast<void>(LoadAthletes());  // the failure is answered; a failed reload logs itself
    return 9;
  }
  return 8;
}

RouteTable AdvancedOperationRoutes() { return kRows; }

}  // namespace korva
