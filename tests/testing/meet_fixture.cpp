#include "tests/testing/meet_fixture.h"

#include <stdexcept>

#include "database/connections.h"
#include "database/data_folder.h"
#include "database/data_lock.h"
#include "database/gbk_text.h"
#include "database/loaders.h"
#include "database/model.h"
#include "database/open_meet.h"
#include "database/sqlite_db.h"
#include "resources/embedded.h"

namespace korva {

namespace {

void ResetModel() {
  DataGuard hold(DataLock);
  CloseDatabases();
  Model() = MeetModel{};
}

bool RunOnMeetFile(const std::string& path, bool create, std::string_view utf8_sql) {
  Connection conn;
  return OpenMeetFile(conn, path, create) && conn.ExecScript(utf8_sql);
}

}  // namespace

MeetFixture::MeetFixture() {
  ResetModel();
  if (OpenDataFolder(folder_.path(), &admin_password_) != 0)
    throw std::runtime_error("OpenDataFolder failed");
}

MeetFixture::~MeetFixture() { ResetModel(); }

std::string MeetFixture::MeetFile(int meet_id) const {
  return folder_.File("ydh" + std::to_string(meet_id) + ".dat");
}

int MeetFixture::AddMeet(const FixtureMeetSettings& s, bool current) {
  DataGuard hold(DataLock);
  int id = GetNextId("qrtb137", "qrtb138", true);
  std::string file = "ydh" + std::to_string(id) + ".dat";
  {
    Connection& base = BaseConnection();
    if (current && !base.ExecScript("UPDATE qrtb137 SET qrtb139 = 0"))
      throw std::runtime_error("registry update failed");
    Statement st(base,
                 "INSERT INTO qrtb137 (qrtb138, qrtb139, qrtb140, qrtb141, qrtb142)"
                 " VALUES (?, ?, ?, ?, ?)");
    st.Bind(id).Bind(current ? 1 : 0).Bind(file).Bind(s.Name).Bind(s.StartDate);
    if (id == 0 || !st.Run()) throw std::runtime_error("registry insert failed");
  }
  std::string sql(EmbeddedResource("schema/meet.sql"));
  sql += EmbeddedResource("schema/copy_catalogue.sql");
  if (!RunOnMeetFile(MeetFile(id), true, sql)) throw std::runtime_error("meet file failed");
  Connection conn;
  conn.Open(MeetFile(id), false);
  Statement st(conn,
               "INSERT INTO qrtb331 (qrtb332, qrtb333, qrtb334, qrtb335, qrtb336, qrtb337,"
               " qrtb338, qrtb339, qrtb340, qrtb341, qrtb342, qrtb343, qrtb344, qrtb345)"
               " VALUES (?, ?, ?, 0, ?, 0, ?, 1, 1, ?, ?, ?, ?, ?)");
  st.Bind(id).Bind(s.Sessions).Bind(s.MorningStart).Bind(s.AfternoonStart)
      .Bind(s.OpeningCeremony).Bind(s.RegistrationClosed).Bind(s.AdmitOneLess)
      .Bind(s.BibWidth).Bind(s.Name).Bind(s.StartDate);
  if (!st.Run()) throw std::runtime_error("settings insert failed");
  return id;
}

bool MeetFixture::MeetSql(int meet_id, std::string_view gbk_sql) {
  DataGuard hold(DataLock);
  return RunOnMeetFile(MeetFile(meet_id), false, GbkToUtf8(gbk_sql));
}

bool MeetFixture::BaseSql(std::string_view gbk_sql) {
  DataGuard hold(DataLock);
  return BaseConnection().ExecScript(GbkToUtf8(gbk_sql));
}

int MeetFixture::Open(int meet_id) { return OpenCurrentMeet(meet_id); }

int MeetFixture::OpenNewMeet(std::string_view gbk_sql, const FixtureMeetSettings& settings) {
  int id = AddMeet(settings, true);
  if (!gbk_sql.empty() && !MeetSql(id, gbk_sql)) throw std::runtime_error("meet SQL failed");
  if (Open(id) != 0) throw std::runtime_error("OpenCurrentMeet failed");
  return id;
}

}  // namespace korva
