#include "database/open_meet.h"

#include <cstdio>
#include <ctime>

#include "database/connections.h"
#include "database/data_error.h"
#include "database/data_lock.h"
#include "database/loaders.h"
#include "database/model.h"
#include "database/store_rounds.h"

namespace korva {

namespace {

MeetOpenedHook print_queue_hook = nullptr;
MeetNameHook meet_name_hook = nullptr;

struct RegistryRow {
  int id = 0;
  std::string file_name;
};

// The registry row of meet_id, or the one marked current when meet_id is 0;
// id 0 when there is none.
RegistryRow FindRegistryRow(int meet_id) {
  Statement st(BaseConnection(), meet_id == 0 ? "SELECT * FROM qrtb137 WHERE qrtb139 = 1"
                                              : "SELECT * FROM qrtb137 WHERE qrtb138 = ?");
  if (meet_id != 0) st.Bind(meet_id);
  RegistryRow row;
  if (st.Next()) {
    row.id = st.ReadIntField("qrtb138");
    row.file_name = st.ReadTextField("qrtb140");
  }
  return row;
}

}  // namespace

std::time_t ParseStartDate(const std::string& text) {
  int year = 0, month = 0, day = 0;
  if (std::sscanf(text.c_str(), "%d-%d-%d", &year, &month, &day) != 3) return 0;
  std::tm tm{};
  tm.tm_year = year - 1900;
  tm.tm_mon = month - 1;
  tm.tm_mday = day;
  tm.tm_isdst = -1;
  std::time_t t = std::mktime(&tm);
  return t == static_cast<std::time_t>(-1) ? 0 : t;
}

namespace {

// Copies the settings row of the meet file into the globals of model.
bool LoadSettings(Connection& meet, MeetModel& model) {
  Statement st(meet, "SELECT * FROM qrtb331");
  if (!st.Next()) return false;
  model.CurrentMeetId = st.ReadIntField("qrtb332");
  model.MeetSessionCount = st.ReadIntField("qrtb333");
  model.MorningStart = st.ReadIntField("qrtb334");
  model.AfternoonStart = st.ReadIntField("qrtb336");
  model.OpeningCeremonySlot = st.ReadIntField("qrtb338");
  model.MeetStage = st.ReadIntField("qrtb339");
  model.RegistrationClosed = st.ReadIntField("qrtb341");
  model.AdmitOneLess = st.ReadIntField("qrtb342");
  model.BibWidth = st.ReadIntField("qrtb343");
  model.MeetName = st.ReadTextField("qrtb344");
  model.MeetStartTime = ParseStartDate(st.ReadTextField("qrtb345"));
  model.PrintQueueTop = st.ReadIntField("qrtb337");
  return true;
}

// Marks meet_id as the one current meet of the registry.
bool MarkCurrent(int meet_id) {
  Connection& base = BaseConnection();
  Transaction unit(base);
  Statement on(base, "UPDATE qrtb137 SET qrtb139 = 1 WHERE qrtb138 = ?");
  Statement off(base, "UPDATE qrtb137 SET qrtb139 = 0 WHERE qrtb138 <> ?");
  return unit.ok() && on.Bind(meet_id).Run() && off.Bind(meet_id).Run() && unit.Commit();
}

}  // namespace

int OpenCurrentMeet(int meet_id) {
  DataGuard hold(DataLock);
  FlushRoundCounters();
  MeetModel& model = Model();
  if (!BaseConnection().IsOpen()) return 1;
  RegistryRow row = FindRegistryRow(meet_id);
  if (row.id == 0) {
    if (meet_id != 0) LogServerMessageUtf8("meet " + std::to_string(meet_id) + " is not in the registry");
    return 1;
  }

  // The new meet is opened and loaded beside the open one, which stays in
  // place until everything has been read.
  std::string path = model.DataFolder + "/" + row.file_name;
  Connection meet;
  if (row.file_name.empty() || !OpenMeetFile(meet, path, false)) {
    LogServerMessageUtf8("cannot open the meet file " + path);
    return 2;
  }
  MeetModel fresh;
  fresh.DataFolder = model.DataFolder;
  fresh.OrganiserName = model.OrganiserName;
  if (!LoadSettings(meet, fresh) || LoadMeetLists(meet, BaseConnection(), fresh) != 0) {
    LogServerMessageUtf8("cannot read the meet file " + path);
    return 2;
  }
  if (meet_id != 0 && !MarkCurrent(row.id)) {
    LogServerMessageUtf8("cannot mark the meet current in the base file");
    return 3;
  }

  fresh.MeetFilePath = path;
  MeetConnection().Swap(meet);
  meet.Close();
  model = std::move(fresh);
  if (print_queue_hook) print_queue_hook();
  ShowMeetName();
  return 0;
}

void ShowMeetName() {
  DataGuard hold(DataLock);
  if (meet_name_hook) meet_name_hook(Model().MeetName, Model().CurrentMeetId != 0);
}

void SetMeetNameHook(MeetNameHook hook) {
  DataGuard hold(DataLock);
  meet_name_hook = hook;
}

void SetPrintQueueRebuildHook(MeetOpenedHook hook) {
  DataGuard hold(DataLock);
  print_queue_hook = hook;
}

}  // namespace korva
