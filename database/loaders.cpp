#include "database/loaders.h"

#include <cstdio>
#include <cstdlib>
#include <unordered_map>

#include "database/connections.h"
#include "database/data_error.h"
#include "database/lookups.h"
#include "database/store_rounds.h"

namespace korva {

namespace {

// Every loader reads from the given connection into the given model, so the
// meet opening can fill a fresh model from a fresh connection before it
// replaces the open meet. On failure the list is left empty.

// A reload that fails leaves its list empty; the console says which.
int Logged(int result, const char* list) {
  if (result != 0) LogServerMessage(std::string("reload of the ") + list + " list failed; it stays empty");
  return result;
}

template <typename List>
int Fail(List& list) {
  list.clear();
  return 1;
}

int LoadClassesInto(Connection& conn, MeetModel& model) {
  auto& list = model.ClassList;
  list.clear();
  // A class without a class-teacher account is still listed.
  Statement st(conn,
               "SELECT c.qrtb235, c.qrtb236 AS qrtb220, c.qrtb237, g.qrtb221, g.qrtb222,"
               " c.qrtb238, c.qrtb239, c.qrtb240, a.qrtb12, a.qrtb11, a.qrtb10"
               " FROM qrtb234 c JOIN qrtb219 g ON g.qrtb220 = c.qrtb236"
               " LEFT JOIN qrtb7 a ON a.qrtb15 = c.qrtb236 AND a.qrtb16 = c.qrtb235"
               " ORDER BY g.qrtb220, c.qrtb237");
  while (st.Next()) {
    ClassNode& n = list.emplace_back();
    n.GradeId = st.ReadIntField("qrtb220");
    n.ClassId = st.ReadIntField("qrtb235");
    n.ClassNumber = st.ReadIntField("qrtb237");
    n.GradeName = st.ReadTextField("qrtb221");
    n.GradeShortName = st.ReadTextField("qrtb222");
    n.ClassName = st.ReadTextField("qrtb238");
    n.BoyStartNumber = st.ReadTextField("qrtb239");
    n.GirlStartNumber = st.ReadTextField("qrtb240");
    n.LeaderName = st.ReadTextField("qrtb12");
    n.CoachName = st.ReadTextField("qrtb11");
    n.Password = st.ReadTextField("qrtb10");
  }
  return st.ok() ? 0 : Fail(list);
}

int LoadEventsInto(Connection& conn, MeetModel& model) {
  auto& list = model.EventList;
  list.clear();
  Statement st(conn, "SELECT * FROM qrtb306 ORDER BY qrtb307");
  std::unordered_map<int, std::size_t> index;
  while (st.Next()) {
    EventNode& n = list.emplace_back();
    n.Id = st.ReadIntField("qrtb307");
    n.Name = st.ReadTextField("qrtb308");
    n.BiSaiType = st.ReadIntField("qrtb309");
    n.TuanTiType = st.ReadIntField("qrtb310");
    n.TuanTiRenShu = st.ReadIntField("qrtb311");
    n.YuJueType = st.ReadIntField("qrtb312");
    n.FZFDType = st.ReadIntField("qrtb313");
    n.JiLuBiaoType = st.ReadIntField("qrtb314");
    n.PaiXuType = st.ReadIntField("qrtb315");
    n.BingLieType = st.ReadIntField("qrtb316");
    n.ChangDi = st.ReadIntField("qrtb317");
    n.Unit = st.ReadTextField("qrtb318");
    n.DeFenJiSuan = st.ReadIntField("qrtb319");
    n.MatchTime = st.ReadIntField("qrtb320");
    n.BoyGS = st.ReadTextField("qrtb321");
    n.GirlGS = st.ReadTextField("qrtb322");
    index.emplace(n.Id, list.size() - 1);
  }
  if (!st.ok()) return Fail(list);
  // The parts of every combined event in one pass, ascending per event.
  Statement parts(conn, "SELECT qrtb250, qrtb251 FROM qrtb249 ORDER BY qrtb250, qrtb251");
  while (parts.Next()) {
    auto it = index.find(parts.ReadIntField(0));
    if (it != index.end()) list[it->second].Parts.push_back(parts.ReadIntField(1));
  }
  return parts.ok() ? 0 : Fail(list);
}

// Lanes in use of a built-in track: the numbers of the lanes text when their
// count equals the size, else 1 to size.
void FillTrackLanes(VenueNode& n, const std::string& lanes_text) {
  std::array<int, kVenueLaneSlots> lanes{};
  int count = 0;
  const char* p = lanes_text.c_str();
  while (*p) {
    char* end = nullptr;
    long v = std::strtol(p, &end, 10);
    if (end == p) {
      ++p;  // skip a byte that starts no number
      continue;
    }
    p = end;
    if (count == kVenueLaneSlots) {
      ++count;  // more numbers than slots never equals a size we can hold
      break;
    }
    lanes[count++] = static_cast<int>(v);
  }
  if (count == n.Size) {
    n.LanesInUse = lanes;
    return;
  }
  for (int i = 0; i < n.Size && i < kVenueLaneSlots; ++i) n.LanesInUse[i] = i + 1;
}

int LoadVenuesInto(Connection& conn, MeetModel& model) {
  auto& list = model.VenueList;
  list.clear();
  Statement st(conn, "SELECT * FROM qrtb292 ORDER BY qrtb124");
  while (st.Next()) {
    VenueNode& n = list.emplace_back();
    n.Id = st.ReadIntField("qrtb124");
    n.Size = st.ReadIntField("qrtb125");
    n.Name = st.ReadTextField("qrtb126");
    n.Unit = st.ReadTextField("qrtb127");
    n.Description = st.ReadTextField("qrtb128");
    if (n.Id < 4) {
      FillTrackLanes(n, st.ReadTextField("qrtb133"));
    } else {
      for (int i = 0; i < kVenueLaneSlots; ++i) n.LanesInUse[i] = i + 1;
    }
  }
  return st.ok() ? 0 : Fail(list);
}

int LoadScoringSchemesInto(Connection& conn, MeetModel& model) {
  auto& list = model.ScoringSchemeList;
  list.clear();
  Statement st(conn, "SELECT * FROM qrtb260 ORDER BY qrtb81");
  while (st.Next()) {
    ScoringSchemeNode& n = list.emplace_back();
    n.Id = st.ReadIntField("qrtb81");
    n.Name = st.ReadTextField("qrtb82");
    n.PlacesScored = st.ReadIntField("qrtb83");
    for (int i = 0; i < kSchemePlaces; ++i) {
      std::string column = "qrtb" + std::to_string(84 + i);
      n.Points[i] = st.ReadIntField(column.c_str());
    }
  }
  return st.ok() ? 0 : Fail(list);
}

int LoadGroupsInto(Connection& conn, MeetModel& model) {
  auto& list = model.GroupList;
  list.clear();
  Statement st(conn,
               "SELECT s.*, g.qrtb221 FROM qrtb373 s JOIN qrtb219 g ON g.qrtb220 = s.qrtb375"
               " ORDER BY s.qrtb375, s.qrtb376");
  while (st.Next()) {
    GroupNode& n = list.emplace_back();
    n.Id = st.ReadIntField("qrtb374");
    n.GradeId = st.ReadIntField("qrtb375");
    n.GradeName = st.ReadTextField("qrtb221");
    n.Sex = st.ReadIntField("qrtb376");
    n.AthletesPerClass = st.ReadIntField("qrtb377");
    n.EntrantsPerEvent = st.ReadIntField("qrtb378");
    n.EventsPerAthlete = st.ReadIntField("qrtb379");
    n.CombinedLimit = st.ReadIntField("qrtb380");
    n.PlacesRanked = st.ReadIntField("qrtb381");
    n.SchemeId = st.ReadIntField("qrtb382");
    n.Bonus = {0, st.ReadIntField("qrtb383"), st.ReadIntField("qrtb386")};
  }
  return st.ok() ? 0 : Fail(list);
}

int LoadGroupEventsInto(Connection& conn, MeetModel& model) {
  auto& list = model.GroupEventList;
  list.clear();
  std::unordered_map<int, std::size_t> index;
  for (const GroupNode& g : model.GroupList) {
    list.push_back(GroupEventNode{g.Id, {}});
    index.emplace(g.Id, list.size() - 1);
  }
  Statement st(conn, "SELECT qrtb469, qrtb470 FROM qrtb467 ORDER BY qrtb469, qrtb470");
  while (st.Next()) {
    auto it = index.find(st.ReadIntField(0));
    if (it != index.end()) list[it->second].EventIds.push_back(st.ReadIntField(1));
  }
  return st.ok() ? 0 : Fail(list);
}

int LoadContestsInto(Connection& conn, MeetModel& model) {
  auto& list = model.ContestList;
  list.clear();
  Statement st(conn, "SELECT * FROM qrtb425 ORDER BY qrtb428, qrtb427, qrtb426");
  while (st.Next()) {
    ContestNode& n = list.emplace_back();
    n.Id = st.ReadIntField("qrtb426");
    n.GroupId = st.ReadIntField("qrtb427");
    n.EventId = st.ReadIntField("qrtb428");
    n.HasPrelim = st.ReadIntField("qrtb429");
    n.Qualifiers = st.ReadIntField("qrtb430");
    n.Places = st.ReadIntField("qrtb431");
    n.SchemeId = st.ReadIntField("qrtb436");
  }
  return st.ok() ? 0 : Fail(list);
}

int LoadRoundsInto(Connection& conn, MeetModel& model) {
  auto& list = model.RoundList;
  list.clear();
  Statement st(conn,
               "SELECT r.* FROM qrtb444 r"
               " JOIN qrtb425 k ON k.qrtb426 = r.qrtb446"
               " JOIN qrtb373 s ON s.qrtb374 = k.qrtb427"
               " JOIN qrtb306 e ON e.qrtb307 = k.qrtb428"
               " ORDER BY e.qrtb310, r.qrtb447, e.qrtb307, s.qrtb375, s.qrtb376, r.qrtb445");
  while (st.Next()) {
    RoundNode& n = list.emplace_back();
    n.Id = st.ReadIntField("qrtb445");
    n.ContestId = st.ReadIntField("qrtb446");
    n.Kind = st.ReadIntField("qrtb447");
    n.Disabled = st.ReadIntField("qrtb448");
    n.Session = st.ReadIntField("qrtb449");
    n.Order = st.ReadIntField("qrtb450");
    n.Duration = st.ReadIntField("qrtb451");
    n.Entrants = st.ReadIntField("qrtb452");
    n.Places = st.ReadIntField("qrtb453");
    n.PartEventId = st.ReadIntField("qrtb454");
    n.CertificatePrints = st.ReadIntField("qrtb455");
    n.CheckInPrints = st.ReadIntField("qrtb456");
    n.ResultPrints = st.ReadIntField("qrtb457");
    n.CompletionStamp = st.ReadIntField("qrtb458");
  }
  return st.ok() ? 0 : Fail(list);
}

int LoadAthletesInto(Connection& conn, MeetModel& model) {
  auto& list = model.AthleteList;
  NoteListReloaded();
  list.clear();
  Statement st(conn, "SELECT * FROM qrtb409 ORDER BY qrtb413, qrtb414, qrtb415, qrtb412, qrtb411");
  const int c_id = st.Column("qrtb411"), c_bib = st.Column("qrtb412"), c_name = st.Column("qrtb410"),
            c_grade = st.Column("qrtb413"), c_class = st.Column("qrtb414"), c_sex = st.Column("qrtb415"),
            c_reserved = st.Column("qrtb416");
  std::unordered_map<int, std::size_t> index;
  while (st.Next()) {
    AthleteNode& n = list.emplace_back();
    n.Ordinal = static_cast<int>(list.size());
    n.Id = st.ReadIntField(c_id);
    n.Bib = st.ReadIntField(c_bib);
    n.BibText = FormatBibText(n.Bib, model.BibWidth);
    n.Name = st.ReadTextField(c_name);
    n.GradeId = st.ReadIntField(c_grade);
    n.ClassId = st.ReadIntField(c_class);
    n.Sex = st.ReadIntField(c_sex);
    n.Reserved = st.ReadIntField(c_reserved);
    index.emplace(n.Id, list.size() - 1);
  }
  if (!st.ok()) return Fail(list);
  // Each athlete's entries in the order they were written.
  Statement entries(conn, "SELECT qrtb400, qrtb399 FROM qrtb397 ORDER BY qrtb400, rowid");
  while (entries.Next()) {
    auto it = index.find(entries.ReadIntField(0));
    if (it != index.end()) list[it->second].ContestIds.push_back(entries.ReadIntField(1));
  }
  return entries.ok() ? 0 : Fail(list);
}

int LoadLanesInto(Connection& conn, MeetModel& model) {
  auto& list = model.LaneList;
  auto& aux = model.AthleteAuxList;
  NoteListReloaded();
  list.clear();
  aux.clear();
  std::unordered_map<int, int> class_of;
  class_of.reserve(model.AthleteList.size());
  for (const AthleteNode& a : model.AthleteList) class_of.emplace(a.Id, a.ClassId);
  // Heat, then lane, then row id: the members of a team stay together.
  Statement st(conn, "SELECT * FROM qrtb479 ORDER BY qrtb481, qrtb482, qrtb483, qrtb480");
  const int c_id = st.Column("qrtb480"), c_round = st.Column("qrtb481"),
            c_heat = st.Column("qrtb482"), c_lane = st.Column("qrtb483"),
            c_athlete = st.Column("qrtb484"), c_status = st.Column("qrtb486"),
            c_place = st.Column("qrtb487"), c_points = st.Column("qrtb488"),
            c_flag = st.Column("qrtb489"), c_result = st.Column("qrtb485");
  while (st.Next()) {
    LaneNode& n = list.emplace_back();
    n.Id = st.ReadIntField(c_id);
    n.RoundId = st.ReadIntField(c_round);
    n.Heat = st.ReadIntField(c_heat);
    n.Lane = st.ReadIntField(c_lane);
    n.AthleteId = st.ReadIntField(c_athlete);
    auto it = class_of.find(n.AthleteId);
    n.ClassId = it == class_of.end() ? 0 : it->second;
    n.Result = st.ReadIntOr(c_result, kNoResult);
    n.Status = st.ReadIntField(c_status);
    n.Place = st.ReadIntField(c_place);
    n.Points = st.ReadIntField(c_points);
    n.RecordFlag = st.ReadIntField(c_flag);
  }
  if (!st.ok()) return Fail(list);
  Statement rows(conn, "SELECT * FROM qrtb498");
  while (rows.Next()) aux.push_back(AthleteAuxNode{rows.ReadIntField("qrtb500")});
  if (!rows.ok()) {
    aux.clear();
    return Fail(list);
  }
  return 0;
}

int LoadDocumentsInto(Connection& conn, MeetModel& model) {
  auto& list = model.DocumentList;
  list.clear();
  Statement st(conn, "SELECT * FROM qrtb518 ORDER BY qrtb519 DESC");
  while (st.Next()) {
    DocumentNode& n = list.emplace_back();
    n.Id = st.ReadIntField("qrtb519");
    n.Kind = st.ReadIntField("qrtb520");
    n.Downloads = st.ReadIntField("qrtb521");
    n.TimeText = st.ReadTextField("qrtb522");
    n.FilePath = st.ReadTextField("qrtb523");
  }
  return st.ok() ? 0 : Fail(list);
}

int LoadRecordsInto(Connection& base, MeetModel& model) {
  auto& list = model.RecordList;
  list.clear();
  Statement st(base, "SELECT * FROM qrtb188 ORDER BY qrtb189 DESC");
  while (st.Next()) {
    RecordNode& n = list.emplace_back();
    n.Id = st.ReadIntField("qrtb189");
    n.InsertFlag = st.ReadIntField("qrtb190");
    n.GroupName = st.ReadTextField("qrtb191");
    n.Sex = st.ReadIntField("qrtb192");
    n.EventName = st.ReadTextField("qrtb193");
    n.EventType = st.ReadIntField("qrtb194");
    n.TeamType = st.ReadIntField("qrtb195");
    // A typed record has no second and third values: NULL reads as no
    // result for all three, as the score page expects.
    n.Value = st.ReadIntOr("qrtb196", kNoResult);
    n.Value2 = st.ReadIntOr("qrtb197", kNoResult);
    n.Value3 = st.ReadIntOr("qrtb198", kNoResult);
    n.HolderName = st.ReadTextField("qrtb199");
    n.ClassName = st.ReadTextField("qrtb202");
    n.DateText = st.ReadTextField("qrtb205");
    n.UnitText = st.ReadTextField("qrtb208");
    n.MeetName = st.ReadTextField("qrtb209");
    n.RoundKind = st.ReadIntField("qrtb210");
  }
  return st.ok() ? 0 : Fail(list);
}

}  // namespace

int LoadClasses() { return Logged(LoadClassesInto(MeetConnection(), Model()), "Classes"); }
int LoadEvents() { return Logged(LoadEventsInto(MeetConnection(), Model()), "Events"); }
int LoadVenues() { return Logged(LoadVenuesInto(MeetConnection(), Model()), "Venues"); }
int LoadScoringSchemes() { return Logged(LoadScoringSchemesInto(MeetConnection(), Model()), "ScoringSchemes"); }
int LoadGroups() { return Logged(LoadGroupsInto(MeetConnection(), Model()), "Groups"); }
int LoadGroupEvents() { return Logged(LoadGroupEventsInto(MeetConnection(), Model()), "GroupEvents"); }
int LoadContests() { return Logged(LoadContestsInto(MeetConnection(), Model()), "Contests"); }
int LoadRounds() {
  // The counts not yet written would be read over.
  FlushRoundCounters();
  return Logged(LoadRoundsInto(MeetConnection(), Model()), "Rounds");
}
int LoadAthletes() { return Logged(LoadAthletesInto(MeetConnection(), Model()), "Athletes"); }
int LoadLanes() { return Logged(LoadLanesInto(MeetConnection(), Model()), "Lanes"); }
int LoadDocuments() { return Logged(LoadDocumentsInto(MeetConnection(), Model()), "Documents"); }
int LoadRecords() { return Logged(LoadRecordsInto(BaseConnection(), Model()), "Records"); }

void ReloadRoundsAndLanes() {
  // The failure is answered by the caller; the loaders log their own.
  static_cast<void>(LoadRounds());
  static_cast<void>(LoadLanes());
}

int LoadMeetLists(Connection& meet, Connection& base, MeetModel& model) {
  // Groups before their events, athletes before the lanes that copy their
  // class ids.
  int (*const meet_loaders[])(Connection&, MeetModel&) = {
      LoadClassesInto, LoadEventsInto,   LoadVenuesInto,   LoadGroupsInto,
      LoadScoringSchemesInto, LoadContestsInto, LoadRoundsInto, LoadGroupEventsInto,
      LoadAthletesInto, LoadLanesInto, LoadDocumentsInto};
  for (auto load : meet_loaders)
    if (load(meet, model) != 0) return 1;
  return LoadRecordsInto(base, model);
}

std::vector<GradeOption> LoadGradeOptions() {
  std::vector<GradeOption> grades;
  Statement st(MeetConnection(), "SELECT * FROM qrtb219 ORDER BY qrtb220");
  while (st.Next()) grades.push_back(GradeOption{st.ReadIntField("qrtb220"), st.ReadTextField("qrtb221")});
  if (!st.ok()) grades.clear();
  return grades;
}

void FreeAllLists() {
  MeetModel& m = Model();
  m.ClassList.clear();
  m.EventList.clear();
  m.VenueList.clear();
  m.ScoringSchemeList.clear();
  m.GroupList.clear();
  m.GroupEventList.clear();
  m.ContestList.clear();
  m.RoundList.clear();
  m.AthleteList.clear();
  m.LaneList.clear();
  m.AthleteAuxList.clear();
  m.DocumentList.clear();
  m.RecordList.clear();
  m.PrintQueue.clear();
}

void FreeAthleteList() { Model().AthleteList.clear(); }

std::string FormatBibText(int bib, int bib_width) {
  if (bib == 0) return {};
  char text[24];
  std::snprintf(text, sizeof text, bib_width == 3 ? "%03d" : "%04d", bib);
  return text;
}

}  // namespace korva
