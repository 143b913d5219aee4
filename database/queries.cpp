#include "database/queries.h"

#include "database/connections.h"
#include "database/sqlite_db.h"

namespace korva {

namespace {

bool ReadIdNames(Statement& st, std::vector<IdName>& rows) {
  while (st.Next()) rows.push_back({st.ReadIntField(0), st.ReadTextField(1)});
  return st.ok();
}

bool ReadIdNames(Connection& conn, const char* sql, std::vector<IdName>& rows) {
  Statement st(conn, sql);
  return ReadIdNames(st, rows);
}

}  // namespace

bool ReadMeetGrades(std::vector<IdName>& grades) {
  return ReadIdNames(MeetConnection(), "select qrtb220, qrtb221 from qrtb219 order by qrtb220", grades);
}

bool ReadBaseSchemes(std::vector<IdName>& schemes) {
  return ReadIdNames(BaseConnection(), "select qrtb81, qrtb82 from qrtb80 order by qrtb81", schemes);
}

bool ReadBaseGrades(std::vector<IdName>& grades) {
  return ReadIdNames(BaseConnection(), "select qrtb27, qrtb29 from qrtb26 order by qrtb27", grades);
}

bool ReadBaseEventKinds(std::vector<int>& kinds) {
  Statement st(BaseConnection(), "select qrtb309 from qrtb55");
  while (st.Next()) kinds.push_back(st.ReadIntField(0));
  return st.ok();
}

bool ReadMeetRegistry(std::vector<IdName>& meets, int except) {
  Statement st(BaseConnection(), "select qrtb138, qrtb141 from qrtb137 where qrtb138<>? order by qrtb138 desc");
  st.Bind(except);
  return ReadIdNames(st, meets);
}

bool MeetFileHasGroups() {
  Statement st(MeetConnection(), "select qrtb374 from qrtb373 limit 1");
  return st.Next();
}

bool MeetFileGroupHasEvents(int group_id) {
  Statement st(MeetConnection(), "select qrtb469 from qrtb467 where qrtb469=? limit 1");
  st.Bind(group_id);
  return st.Next();
}

}  // namespace korva
