#pragma once
// The forms with which athletes are entered and their events changed: the
// competition-group select of the add-athlete panel, the add-athlete form
// and the join/withdraw table. They read the model only; the caller holds
// DataLock. Every name they show is escaped.
#include <string>
#include <vector>

#include "database/model.h"
#include "web/login_list.h"

namespace korva {

// How an event is entered: the limits that apply to it follow from this.
enum class EntryKind { kIndividual, kCombined, kTeam, kMixedTeam };

// A combined event (BiSaiType 3) first; then TuanTiType 1 individual,
// 2 team, any other value a mixed team of boys and girls.
EntryKind EntryKindOf(const EventNode& event);

// The event ids open to a group, in their order; null when it has none.
const std::vector<int>* FindGroupEventIds(int group_id);

// The select "jsz" of the classes and sexes that can still take an athlete.
// 1 when no option could be offered (select left empty); else 0. group is the
// group of the selected class and sex when that pair is offered; otherwise
// class_id and sex become 0 and group null.
int BuildGroupSelect(std::string& select, int& class_id, int& sex, GroupNode*& group);

// The add-athlete form (athlete_id 0) or the form that edits an athlete's
// name and events, for one class and competition group; a text in place of
// the form when it can't be offered. Always 0.
int BuildAthleteEventForm(const LoginNode& session, std::string& form, const GroupNode& group,
                          int class_id, int sex, int athlete_id);

// The join/withdraw table of an entered athlete. 1 done; 0 when table holds
// an error text instead.
int BuildAthleteEventEditForm(int athlete_id, std::string& table);

}  // namespace korva
