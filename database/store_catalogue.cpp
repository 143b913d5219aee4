#include "database/store_catalogue.h"

#include <algorithm>
#include <string>
#include <utility>

#include "database/connections.h"
#include "database/data_lock.h"
#include "database/store_common.h"

namespace korva {

namespace {

bool WriteEventRow(Connection& meet, const char* table, bool insert, const EventNode& e, int id) {
  std::string sql =
      insert ? std::string("INSERT INTO ") + table +
                   " (qrtb308, qrtb309, qrtb310, qrtb311, qrtb312, qrtb313, qrtb314, qrtb315,"
                   " qrtb316, qrtb317, qrtb318, qrtb319, qrtb320, qrtb321, qrtb322, qrtb307)"
                   " VALUES (?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?)"
             : std::string("UPDATE ") + table +
                   " SET qrtb308 = ?, qrtb309 = ?, qrtb310 = ?, qrtb311 = ?, qrtb312 = ?,"
                   " qrtb313 = ?, qrtb314 = ?, qrtb315 = ?, qrtb316 = ?, qrtb317 = ?, qrtb318 = ?,"
                   " qrtb319 = ?, qrtb320 = ?, qrtb321 = ?, qrtb322 = ? WHERE qrtb307 = ?";
  return Execute(meet, sql, e.Name, e.BiSaiType, e.TuanTiType, e.TuanTiRenShu, e.YuJueType,
                 e.FZFDType, e.JiLuBiaoType, e.PaiXuType, e.BingLieType, e.ChangDi, e.Unit,
                 e.DeFenJiSuan, e.MatchTime, e.BoyGS, e.GirlGS, id);
}

bool WriteParts(Connection& meet, const EventNode& e, int id) {
  for (const char* table : {"qrtb249", "base.qrtb112"}) {
    if (!Execute(meet, std::string("DELETE FROM ") + table + " WHERE qrtb250 = ?", id))
      return false;
    for (int part : e.Parts)
      if (!Execute(meet, std::string("INSERT INTO ") + table + " (qrtb250, qrtb251) VALUES (?, ?)",
                   id, part))
        return false;
  }
  return true;
}

// The lanes-in-use text of a built-in track: "%d " per lane.
std::string LanesText(const VenueNode& venue) {
  std::string text;
  for (int lane : venue.LanesInUse)
    if (lane > 0) text += std::to_string(lane) + " ";
  return text;
}

bool WriteSchemeRow(Connection& meet, const char* table, bool insert, const ScoringSchemeNode& s,
                    int id) {
  std::string columns = "qrtb82, qrtb83";
  for (int i = 0; i < kSchemePlaces; ++i) columns += ", qrtb" + std::to_string(84 + i);
  std::string sql;
  if (insert) {
    sql = std::string("INSERT INTO ") + table + " (" + columns + ", qrtb81) VALUES (?";
    for (int i = 0; i < kSchemePlaces + 2; ++i) sql += ", ?";
    sql += ")";
  } else {
    sql = std::string("UPDATE ") + table + " SET qrtb82 = ?, qrtb83 = ?";
    for (int i = 0; i < kSchemePlaces; ++i) sql += ", qrtb" + std::to_string(84 + i) + " = ?";
    sql += " WHERE qrtb81 = ?";
  }
  Statement st(meet, sql);
  st.Bind(s.Name).Bind(s.PlacesScored);
  for (int points : s.Points) st.Bind(points);
  st.Bind(id);
  return st.Run();
}

}  // namespace

int SaveEvent(EventNode& event, int event_id, std::string* message) {
  DataGuard hold(DataLock);
  Connection& meet = MeetConnection();
  Transaction unit(meet);
  bool insert = event_id == 0;
  int id = insert ? NextTwinId("qrtb306", "qrtb307", "qrtb55", "qrtb307") : event_id;
  if (!unit.ok() || id == 0 || !WriteEventRow(meet, "qrtb306", insert, event, id) ||
      !WriteEventRow(meet, "base.qrtb55", insert, event, id)) {
    *message = "[" + event.Name + "]比赛项目数据写入操作出现错误！错误号：1341";
    return 1;
  }
  if (!WriteParts(meet, event, id) || !unit.Commit()) {
    *message = "[" + event.Name + "]比赛项目全能数据写入操作出现错误！错误号：1342";
    return 1;
  }
  event.Id = id;
  *message = "[" + event.Name + "]比赛项目已经成功保存！";
  return 0;
}

int DeleteEvent(const EventNode& event, std::string* message) {
  DataGuard hold(DataLock);
  Connection& meet = MeetConnection();
  Transaction unit(meet);
  bool deleted = unit.ok() &&
                 Execute(meet, "DELETE FROM qrtb306 WHERE qrtb307 = ?", event.Id) &&
                 Execute(meet, "DELETE FROM qrtb249 WHERE qrtb250 = ? OR qrtb251 = ?", event.Id, event.Id) &&
                 Execute(meet, "DELETE FROM base.qrtb55 WHERE qrtb307 = ?", event.Id) &&
                 Execute(meet, "DELETE FROM base.qrtb112 WHERE qrtb250 = ? OR qrtb251 = ?", event.Id, event.Id) &&
                 unit.Commit();
  if (!deleted) {
    *message = "操作数据库出错！（3）";
    return 1;
  }
  *message = "[" + event.Name + "]比赛项目已经成功删除！";
  return 0;
}

int SwapEventIds(int first_id, int second_id) {
  DataGuard hold(DataLock);
  Connection& meet = MeetConnection();
  Transaction unit(meet);
  bool swapped = unit.ok() && first_id != second_id;
  const int a = first_id, b = second_id;
  for (const auto& [events, parts] : {std::pair{"qrtb306", "qrtb249"}, std::pair{"base.qrtb55", "base.qrtb112"}}) {
    // The id is the table's key, so the first row steps aside while the
    // second takes its place.
    const std::string move = std::string("UPDATE ") + events + " SET qrtb307 = ? WHERE qrtb307 = ?";
    swapped = swapped && Execute(meet, move, -a, a) && Execute(meet, move, a, b) && Execute(meet, move, b, -a);
    for (const char* column : {"qrtb250", "qrtb251"})
      swapped = swapped && Execute(meet,
                                   std::string("UPDATE ") + parts + " SET " + column + " = CASE " + column +
                                       " WHEN ? THEN ? ELSE ? END WHERE " + column + " IN (?, ?)",
                                   a, b, a, a, b);
  }
  return swapped && unit.Commit() ? 0 : 1;
}

int SaveVenue(VenueNode& venue, int venue_id) {
  DataGuard hold(DataLock);
  Connection& meet = MeetConnection();
  Transaction unit(meet);
  if (!unit.ok()) return 1;
  if (venue_id >= 1 && venue_id <= 3) {
    // The built-in tracks keep their lanes per meet: the base file's lanes
    // stay what every new meet starts from.
    bool saved = Execute(meet, "UPDATE qrtb292 SET qrtb125 = ?, qrtb133 = ? WHERE qrtb124 = ?",
                         venue.Size, LanesText(venue), venue_id) &&
                 unit.Commit();
    return saved ? 0 : 1;
  }
  if (venue_id != 0) {
    for (const char* table : {"qrtb292", "base.qrtb123"})
      if (!Execute(meet,
                   std::string("UPDATE ") + table +
                       " SET qrtb125 = ?, qrtb126 = ?, qrtb127 = ?, qrtb128 = ? WHERE qrtb124 = ?",
                   venue.Size, venue.Name, venue.Unit, venue.Description, venue_id))
        return 1;
    return unit.Commit() ? 0 : 1;
  }
  // Ids 1 to 3 belong to the built-in tracks, so a new venue starts at 4.
  int next = NextTwinId("qrtb292", "qrtb124", "qrtb123", "qrtb124");
  if (next == 0) return 1;
  int id = std::max(next, 4);
  for (const char* table : {"qrtb292", "base.qrtb123"})
    if (!Execute(meet,
                 std::string("INSERT INTO ") + table +
                     " (qrtb124, qrtb125, qrtb126, qrtb127, qrtb128, qrtb133)"
                     " VALUES (?, ?, ?, ?, ?, '')",
                 id, venue.Size, venue.Name, venue.Unit, venue.Description))
      return 1;
  if (!unit.Commit()) return 1;
  venue.Id = id;
  // A venue other than the tracks uses every lane slot, as a reload gives.
  for (int i = 0; i < kVenueLaneSlots; ++i) venue.LanesInUse[i] = i + 1;
  Model().VenueList.push_back(venue);
  return 0;
}

int DeleteVenue(const VenueNode& venue, std::string* message) {
  DataGuard hold(DataLock);
  Connection& meet = MeetConnection();
  Transaction unit(meet);
  int id = venue.Id;
  std::string name = venue.Name;
  if (!unit.ok() || !Execute(meet, "DELETE FROM qrtb292 WHERE qrtb124 = ?", id) ||
      !Execute(meet, "DELETE FROM base.qrtb123 WHERE qrtb124 = ?", id) || !unit.Commit()) {
    *message = "[" + name + "]比赛场地删除时出现数据库操作错误！";
    return 1;
  }
  std::erase_if(Model().VenueList, [id](const VenueNode& v) { return v.Id == id; });
  *message = "[" + name + "]比赛场地已删除！";
  return 0;
}

int SaveScoringScheme(ScoringSchemeNode& scheme, std::string* message) {
  DataGuard hold(DataLock);
  Connection& meet = MeetConnection();
  Transaction unit(meet);
  bool insert = scheme.Id == 0;
  int id = insert ? NextTwinId("qrtb260", "qrtb81", "qrtb80", "qrtb81") : scheme.Id;
  if (!unit.ok() || id == 0 || !WriteSchemeRow(meet, "qrtb260", insert, scheme, id) ||
      !WriteSchemeRow(meet, "base.qrtb80", insert, scheme, id) || !unit.Commit()) {
    *message = "数据库操作出错！";
    return 1;
  }
  scheme.Id = id;
  return 0;
}

int DeleteScoringScheme(int scheme_id, std::string* message) {
  DataGuard hold(DataLock);
  Connection& meet = MeetConnection();
  Transaction unit(meet);
  if (!unit.ok() || !Execute(meet, "DELETE FROM qrtb260 WHERE qrtb81 = ?", scheme_id)) {
    *message = "数据库操作出错！";
    return 1;
  }
  if (!Execute(meet, "DELETE FROM base.qrtb80 WHERE qrtb81 = ?", scheme_id) || !unit.Commit()) {
    *message = "数据库操作出错[223]！";
    return 1;
  }
  return 0;
}

}  // namespace korva
