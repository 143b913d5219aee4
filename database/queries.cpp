#include "database/queries.h"

#include <algorithm>
#include <cstdio>

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

// "Y-M-D" as Y * 10000 + M * 100 + D; 0 when the text is no such date.
int DateKey(const std::string& text) {
  int year = 0, month = 0, day = 0;
  if (std::sscanf(text.c_str(), "%d-%d-%d", &year, &month, &day) != 3) return 0;
  return year * 10000 + month * 100 + day;
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

bool ReadMeetList(std::vector<MeetRegistryRow>& meets) {
  meets.clear();
  Statement st(BaseConnection(), "select * from qrtb137 order by qrtb138 desc");
  while (st.Next()) {
    meets.push_back({.Id = st.ReadIntField("qrtb138"), .Current = st.ReadIntField("qrtb139"),
                     .FileName = st.ReadTextField("qrtb140"), .Name = st.ReadTextField("qrtb141"),
                     .DateText = st.ReadTextField("qrtb142")});
  }
  std::stable_sort(meets.begin(), meets.end(), [](const MeetRegistryRow& a, const MeetRegistryRow& b) {
    if ((a.Current == 1) != (b.Current == 1)) return a.Current == 1;
    return DateKey(a.DateText) > DateKey(b.DateText);
  });
  return st.ok();
}

bool ReadStaffAccounts(std::vector<StaffAccount>& accounts) {
  accounts.clear();
  Statement st(BaseConnection(), "select * from qrtb7 order by qrtb14 desc, qrtb8");
  while (st.Next()) {
    accounts.push_back({.Id = st.ReadIntField("qrtb8"), .Name = st.ReadTextField("qrtb9"),
                        .Password = st.ReadTextField("qrtb10"), .Role = st.ReadIntField("qrtb14"),
                        .FixedAddress = st.ReadIntField("qrtb20"), .MeetDaysOnly = st.ReadIntField("qrtb21"),
                        .LastAddress = st.ReadTextField("qrtb25")});
  }
  return st.ok();
}

}  // namespace korva
