#pragma once
// Look-ups in the lists, by index where a list is long or asked per row.
// They take no lock: the caller holds DataLock. Each returns null (or 0) when nothing matches; where a line says
// so a miss also logs its data-error code.
#include <memory>
#include <span>

#include "database/model.h"

namespace korva {

ClassNode* FindClassNode(int class_id, int grade_id);
GroupNode* FindGroupById(int group_id);                  // miss: 123511
GroupNode* FindGroupByGradeAndSex(int grade_id, int sex);
GroupNode* FindOppositeSexGroup(int group_id);           // unknown group: 123511
ContestNode* FindOppositeSexContest(int group_id, int event_id);  // unknown group: 123511
ContestNode* FindContestById(int contest_id);            // miss: 12550
ContestNode* FindContestByGroupAndEvent(int group_id, int event_id);
EventNode* FindEventById(int event_id);
// The part event when set, else the contest's event; missing contest: 12550.
EventNode* FindEventOfRound(const RoundNode& round);
VenueNode* FindVenueById(int venue_id);                  // miss: 114
// The lane that a place (1-based) of a track's start list runs in: the
// track's lane in use at that place; places beyond its lanes in use count
// on after the highest of them, so no two places name one lane.
int LaneAtPlace(const VenueNode& track, int place);
ScoringSchemeNode* FindScoringScheme(int scheme_id);
RoundNode* FindRoundById(int round_id);
RoundNode* FindRoundByContestAndKind(int contest_id, int kind);
LaneNode* FindFirstLaneOfRound(int round_id);
// The lanes of a round: from its first lane in LaneList while the round id
// holds (a round's lanes stand together); empty when it has none.
std::span<LaneNode> LanesOfRound(int round_id);
AthleteNode* FindAthleteById(int athlete_id);
AthleteNode* FindFirstAthleteOfClass(int class_id);
// The run of AthleteList that holds one class's athletes, found by halving
// rather than by a walk over the whole list.
std::span<const AthleteNode> ClassAthletes(int grade_id, int class_id);
AthleteNode* FindFirstAthleteOfClassAndSex(int class_id, int sex);
// 1 when a lane of the athlete holds a result in a round of that event.
int AthleteHasResultInEvent(int athlete_id, int event_id);
// The events chosen for a competition group (the loader keeps a node for
// every group, its EventIds possibly empty).
GroupEventNode* FindGroupEvents(int group_id);
// 1 when the group's events include a combined event (BiSaiType 3).
int GroupHasCombinedEvent(int group_id);
// 1 when another class has that name.
int FindClassNameClash(int class_id, const std::string& name);
// 1 boys' number, 2 girls' number clashes with another class's, else 0.
int FindStartNumberClash(const std::string& boys, const std::string& girls, int class_id);

// Brings the look-ups' indexes up to date with the lists; DataLock calls it
// as a writer's hold ends. The athlete and lane loaders call
// NoteListReloaded.
void RefreshModelIndex();
void NoteListReloaded();

// A copy of the model with look-ups of its own. Once entered, Model() and
// the look-ups of the thread that entered it answer from the copy, with no
// DataLock, until it is destroyed: a long read (the order book's document)
// copies the model and lets writers go on. Made while the caller holds
// DataLock alone; entered and destroyed on one thread.
class PrivateModel {
 public:
  explicit PrivateModel(const MeetModel& model);
  ~PrivateModel();
  PrivateModel(const PrivateModel&) = delete;
  PrivateModel& operator=(const PrivateModel&) = delete;

  void Enter();

 private:
  struct Parts;
  std::unique_ptr<Parts> parts_;
  bool entered_ = false;
};

// True while no competition group has an event chosen: the loader keeps a
// node for every group, so an empty GroupEventList is not the test.
bool NoGroupEvents();

}  // namespace korva
