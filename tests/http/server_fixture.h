#pragma once
// A fresh data folder, the in-process server on a free loopback port, and
// helpers to talk to it and to read back what the files and the lists hold.
// Each test starts with an empty session list, no failed logins and the
// default server limits. SQL given to the helpers is GBK, like every
// literal of the program.
#include <gtest/gtest.h>
#include <unistd.h>

#include <algorithm>
#include <cstdio>
#include <initializer_list>
#include <memory>
#include <string>
#include <vector>

#include "database/connections.h"
#include "database/data_lock.h"
#include "database/gbk_text.h"
#include "database/model.h"
#include "database/open_meet.h"
#include "database/sqlite_db.h"
#include "database/store_test_support.h"
#include "host/routes.h"
#include "tests/http/http_client.h"
#include "tests/testing/meet_fixture.h"
#include "tests/testing/registration_meet.h"
#include "tests/testing/scoring_meet.h"
#include "tests/testing/text_count.h"
#include "web/login.h"
#include "web/login_list.h"
#include "web/web_server.h"

namespace korva {

// Form values as a browser sends them from a gb2312 page: every byte but
// ASCII letters and digits as %XX.
inline std::string FormEncode(const std::string& gbk) {
  std::string out;
  for (unsigned char c : gbk) {
    if ((c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9')) {
      out += static_cast<char>(c);
    } else {
      char hex[4];
      std::snprintf(hex, sizeof hex, "%%%02X", c);
      out += hex;
    }
  }
  return out;
}

// A path as a browser sends it: the bytes outside ASCII as %XX.
inline std::string BrowserPath(const std::string& bytes) {
  std::string path;
  for (unsigned char c : bytes) {
    char hex[4];
    std::snprintf(hex, sizeof hex, "%%%02X", c);
    path += c < 0x80 ? std::string(1, static_cast<char>(c)) : std::string(hex);
  }
  return path;
}

// A copy of the session with that cookie number; Role -1 when there is none.
inline LoginNode SessionOf(SessionCookie cookie) {
  LoginGuard hold(LoginListLock);
  for (const LoginPtr& s : LoginList())
    if (s->SessionId == cookie.number) return *s;
  LoginNode none;
  none.Role = -1;
  return none;
}
inline int RoleOf(SessionCookie cookie) { return SessionOf(cookie).Role; }

// The administration result page's failure line.
inline std::string Failed(const std::string& reason) {
  return "<font color=\"#FF0000\">Sorry:操作失败，原因是：<br>" + reason + "</font>";
}

// A boys' group 11 of grade 1 holding 100米 (3) and 三项全能 (16, parts 60米,
// 跳远 and 垒球掷远), each with a contest and a direct final, the combined
// event's parts as rounds of their own; scheme 1.
inline constexpr const char* kGroupSql =
    "INSERT INTO qrtb373 (qrtb374, qrtb375, qrtb376, qrtb377, qrtb378, qrtb379, qrtb380, qrtb381, qrtb382)"
    " VALUES (11, 1, 1, 6, 2, 2, 2, 6, 1);"
    "INSERT INTO qrtb467 (qrtb469, qrtb470) VALUES (11, 3), (11, 16);"
    "INSERT INTO qrtb425 (qrtb426, qrtb427, qrtb428, qrtb429, qrtb430, qrtb431, qrtb434, qrtb436)"
    " VALUES (1103, 11, 3, 0, 0, 6, 1, 0), (1116, 11, 16, 0, 0, 6, 1, 0);"
    "INSERT INTO qrtb444 (qrtb445, qrtb446, qrtb447, qrtb448, qrtb449, qrtb450, qrtb454)"
    " VALUES (1, 1103, 3, 0, 0, 0, 0), (2, 1116, 3, 0, 0, 0, 2), (3, 1116, 3, 0, 0, 0, 9),"
    " (4, 1116, 3, 0, 0, 0, 11);";

// Boys (sex 1) and girls (2) of grades 1 and 2, ids grade * 10 + sex.
inline const std::string kTwoGradesSql =
    "INSERT INTO qrtb373 (qrtb374, qrtb375, qrtb376, qrtb377, qrtb378, qrtb379, qrtb380, qrtb381, qrtb382,"
    " qrtb383, qrtb384, qrtb385, qrtb386, qrtb387, qrtb388) VALUES"
    " (11, 1, 1, 3, 2, 2, 2, 6, 1, 0, 0, 0, 0, 0, 0), (12, 1, 2, 3, 2, 2, 2, 6, 1, 0, 0, 0, 0, 0, 0),"
    " (21, 2, 1, 3, 2, 2, 2, 6, 1, 0, 0, 0, 0, 0, 0), (22, 2, 2, 3, 2, 2, 2, 6, 1, 0, 0, 0, 0, 0, 0);\n";

// Group 1 (grade 1 boys) holding 200米 (event 4): its group event, contest
// 1 and round 1 (a direct final) in session and order as given.
inline std::string OneRoundSql(int session, int order) {
  return "INSERT INTO qrtb373 (qrtb374, qrtb375, qrtb376, qrtb377, qrtb378, qrtb379, qrtb380, qrtb381, qrtb382)"
         " VALUES (1, 1, 1, 3, 2, 2, 2, 6, 1);\n"
         "INSERT INTO qrtb467 (qrtb469, qrtb470) VALUES (1, 4);\n"
         "INSERT INTO qrtb425 (qrtb426, qrtb427, qrtb428, qrtb429, qrtb430, qrtb431, qrtb434, qrtb436)"
         " VALUES (1, 1, 4, 0, 0, 6, 1, 0);\n"
         "INSERT INTO qrtb444 (qrtb445, qrtb446, qrtb447, qrtb448, qrtb449, qrtb450, qrtb451, qrtb452, qrtb453,"
         " qrtb454, qrtb455, qrtb456, qrtb457, qrtb458) VALUES (1, 1, 3, 0, " +
         std::to_string(session) + ", " + std::to_string(order) + ", 10, 0, 6, 0, 0, 0, 0, 0);\n";
}

// ---- form bodies as the setup pages send them ----

inline std::string GradeBody(int id, const std::string& name, const std::string& short_name, int classes = 0) {
  return "GDID=" + std::to_string(id) + "&GradeName=" + FormEncode(name) + "&GradeStName=" + FormEncode(short_name) +
         (classes ? "&BanJiShuLiang=" + std::to_string(classes) : "");
}

// A track event as the form sends it.
inline std::string TrackBody(int id, const std::string& name, int prelim = 0) {
  return "bsID=" + std::to_string(id) + "&BiSaiName=" + FormEncode(name) +
         "&BiSaiType=1&DeFenJiSuan=1&TuanTiType=1&YuJueType=" + std::to_string(prelim) +
         "&FZFDType=1&JiLuBiaoType=1&PaiXuType=1&BingLieType=1&UnitType=" + FormEncode("秒") +
         "&ChangDi=2&MatchTime=3&BoyGS=&GirlGS=";
}

inline std::string CombinedBody(int id, const std::string& name, int type, int parts, int first_part = 1) {
  std::string body = "bsID=" + std::to_string(id) + "&BiSaiName=" + FormEncode(name) + "&BiSaiType=" +
                     std::to_string(type) + "&DeFenJiSuan=2&FZFDType=1&ChangDi=4&UnitType=" + FormEncode("米");
  for (int i = 0; i < parts; ++i) body += "&qnfxbs=" + std::to_string(first_part + i);
  return body;
}

inline std::string VenueBody(int id, const std::string& name, int size, const std::string& unit = "人",
                      const std::string& info = "说明") {
  return "CDID=" + std::to_string(id) + "&ChangDiName=" + FormEncode(name) + "&CDGuiGe=" + std::to_string(size) +
         "&GuiGeDanWei=" + FormEncode(unit) + "&ChangDiInfo=" + FormEncode(info);
}

// A track's form as sent with the lanes in use switched on.
inline std::string LaneBody(int id, std::initializer_list<int> lanes) {
  std::string body = "CDID=" + std::to_string(id) + "&ChangDiName=x&CDGuiGe=40";
  for (int k = 1; k <= 12; ++k) {
    bool on = std::find(lanes.begin(), lanes.end(), k) != lanes.end();
    body += "&SYHD" + std::to_string(k) + "=" + (on ? "1" : "0");
  }
  return body;
}

inline std::string SchemeBody(int id, const std::string& name, const std::vector<int>& points) {
  std::string body = "FZID=" + std::to_string(id) + "&FZName=" + FormEncode(name);
  for (int p : points) body += "&SDF=" + std::to_string(p);
  return body;
}

inline std::string InfoBody(const std::string& gbk_name, int sessions, int morning, int afternoon, int opening,
                            int admit_one_less, const std::string& year = "2025") {
  return "wydhname=" + FormEncode(gbk_name) + "&wyear=" + year + "&wyue=9&wri=30&wshichang=" +
         std::to_string(sessions) + "&shangwutime=" + std::to_string(morning) + "&xiawutime=" +
         std::to_string(afternoon) + "&KaiMuShi=" + std::to_string(opening) +
         (admit_one_less ? "&jianyiluqu=1" : "") + "&postname=x";
}

inline const std::string kLimits = "&wmzxb=4&wmxxb=2&wmrxb=3&wqnxb=2&wqmc=8&wfz=2";

inline std::string GradeRow(int grade, bool boys, bool girls, const std::string& limits = kLimits) {
  std::string id = std::to_string(grade);
  return "wnjsel=" + id + (boys ? "&wboysel=" + id : "") + (girls ? "&wgirlsel=" + id : "") + limits + "&";
}

inline std::string GroupsBody(const std::string& rows) { return rows + "wpjf1=1&wpjf2=3&postgrade=x"; }

// One group's section of the form: its id and the ticked events (box name
// "bsidz" + position).
inline std::string Selection(int position, int group, const std::vector<int>& events) {
  std::string s = "jszid=" + std::to_string(group) + "&BsLb=&";
  for (int event : events) s += "bsidz" + std::to_string(position) + "=" + std::to_string(event) + "&";
  return s;
}

// While alive, the open meet's -wal file cannot be synced: its name leads to
// a device without sync, while SQLite goes on writing the file it holds
// open. The name is given back to the file after.
class UnsyncableMeetWal {
 public:
  UnsyncableMeetWal() {
    {
      DataReadGuard hold(DataLock);
      wal_ = Model().MeetFilePath + "-wal";
    }
    EXPECT_EQ(std::rename(wal_.c_str(), (wal_ + ".held").c_str()), 0);
    EXPECT_EQ(symlink("/dev/null", wal_.c_str()), 0);
  }
  ~UnsyncableMeetWal() {
    EXPECT_EQ(std::remove(wal_.c_str()), 0);
    EXPECT_EQ(std::rename((wal_ + ".held").c_str(), wal_.c_str()), 0);
  }
  UnsyncableMeetWal(const UnsyncableMeetWal&) = delete;
  UnsyncableMeetWal& operator=(const UnsyncableMeetWal&) = delete;

 private:
  std::string wal_;
};

// Runs SQL on the open meet's file behind the lists' back.
inline void RunMeetSql(const std::string& sql) {
  DataGuard hold(DataLock);
  ASSERT_TRUE(MeetConnection().ExecScript(GbkToUtf8(sql))) << sql;
}

// The first column of a query on the open meet's file (base attached),
// read through a connection of its own, so only what was committed shows.
inline std::vector<std::string> Stored(const std::string& sql) {
  std::string path;
  {
    DataReadGuard hold(DataLock);
    path = Model().MeetFilePath;
  }
  Connection conn;
  EXPECT_TRUE(OpenMeetFile(conn, path, false)) << path;
  std::vector<std::string> rows;
  Statement st(conn, GbkToUtf8(sql));
  while (st.Next()) rows.push_back(st.ReadTextField(0));
  EXPECT_TRUE(st.ok()) << sql;
  return rows;
}
inline std::string StoredValue(const std::string& sql) {
  std::vector<std::string> rows = Stored(sql);
  return rows.empty() ? std::string() : rows.front();
}
// A query's rows in the meet file and in the base file, side by side.
inline std::string Both(const std::string& columns, const std::string& meet_table, const std::string& base_table,
                 const std::string& where) {
  return Rows("SELECT " + columns + " FROM " + meet_table + " WHERE " + where) + " / " +
         Rows("SELECT " + columns + " FROM base." + base_table + " WHERE " + where);
}
inline std::vector<std::string> Split(const std::string& lines) {
  std::vector<std::string> out;
  for (std::size_t start = 0; start < lines.size();) {
    std::size_t end = std::min(lines.find('\n', start), lines.size());
    out.push_back(lines.substr(start, end - start));
    start = end + 1;
  }
  return out;
}
// Every row of every table of the meet file ("base" for the base file),
// table by table.
inline std::string MeetFileRows(const std::string& schema = "main") {
  std::string out;
  for (const std::string& table :
       Split(Rows("SELECT name FROM " + schema + ".sqlite_master WHERE type = 'table' ORDER BY name")))
    out += table + ":\n" + Rows("SELECT * FROM " + schema + "." + table + " ORDER BY rowid") + "\n";
  return out;
}
// The athletes, lanes, rounds and contests of the lists, the number of
// documents and whether registration is closed, a line each.
inline std::string ListsAsText() {
  DataGuard hold(DataLock);
  const MeetModel& m = Model();
  std::vector<std::string> lines = {"closed " + std::to_string(m.RegistrationClosed),
                                    "documents " + std::to_string(m.DocumentList.size())};
  auto line = [&](const char* kind, std::initializer_list<int> values, const std::string& text = {}) {
    std::string out = kind;
    for (int v : values) out += " " + std::to_string(v);
    lines.push_back(out + " " + text);
  };
  for (const AthleteNode& a : m.AthleteList) {
    std::string entries = a.Name + " " + a.BibText;
    for (int contest : a.ContestIds) entries += " " + std::to_string(contest);
    line("athlete", {a.Id, a.Bib, a.GradeId, a.ClassId, a.Sex}, entries);
  }
  for (const LaneNode& l : m.LaneList) line("lane", {l.Id, l.RoundId, l.Heat, l.Lane, l.AthleteId, l.Result, l.Status});
  for (const RoundNode& r : m.RoundList) line("round", {r.Id, r.ContestId, r.Kind, r.Session, r.Order, r.Entrants, r.Places});
  std::sort(lines.begin(), lines.end());
  // The contests in the list's order, which the loader's order must match.
  for (const ContestNode& c : m.ContestList) line("contest", {c.Id, c.HasPrelim, c.Qualifiers, c.Places, c.SchemeId});
  std::string text;
  for (const std::string& l : lines) text += l + "\n";
  return text;
}
// The lists hold what the file holds: the meet opened again from its file
// gives the same lists.
inline void ExpectListsFollowTheFile() {
  const std::string held = ListsAsText();
  ASSERT_EQ(OpenCurrentMeet(0), 0);
  EXPECT_EQ(ListsAsText(), held);
}
// The names of AthleteList in its order.
inline std::vector<std::string> ListedNames() {
  DataGuard hold(DataLock);
  std::vector<std::string> names;
  for (const AthleteNode& athlete : Model().AthleteList) names.push_back(athlete.Name);
  return names;
}

class ServerTest : public ::testing::Test {
 protected:
  void SetUp() override {
    meet_ = std::make_unique<MeetFixture>();
    InstallAllRoutes();
    ASSERT_EQ(0, StartWebServerForTest(meet_->folder(), 0, &port_));
    ASSERT_GT(port_, 0);
  }

  void TearDown() override {
    StopWebServer();
    SetServerLimits({});
    WebSuspended = 0;
    FreeLoginList();
    ClearLoginFailures();
    meet_.reset();
  }

  // One request on a connection of its own (from another loopback address
  // when from is given).
  HttpResponse Ask(const std::string& request_text, const char* from = nullptr) {
    TestConnection connection(port_, from);
    EXPECT_TRUE(connection.ok());
    connection.Send(request_text);
    return connection.Read();
  }
  HttpResponse Get(const std::string& path, SessionCookie session = {}) { return Ask(RequestText("GET", path, session)); }
  HttpResponse Post(const std::string& path, const std::string& body, SessionCookie session = {}) {
    return Ask(RequestText("POST", path, session, body));
  }
  // A new meet of the default catalogue, extra SQL run on it, opened, and
  // the administrator signed in as admin_.
  void OpenMeetAndSignIn(const std::string& sql = {}, const FixtureMeetSettings& settings = {}) {
    meet_->OpenNewMeet(sql, settings);
    admin_ = LoginAdmin();
  }
  // What the signed-in administrator (admin_) is answered.
  std::string Page(const std::string& path) { return Get(path, admin_).body; }
  std::string Send(const std::string& path, const std::string& body) { return Post(path, body, admin_).body; }

  // A new session's staff sign-in: the page answered, and through session
  // its cookie (a new number once signed in).
  std::string StaffSignIn(const std::string& name, const std::string& password, SessionCookie* session = nullptr) {
    SessionCookie before = CookieNumber(Get("/AdminIndex.html"));
    HttpResponse reply =
        Post("/AdminIndex.html", "UserName=" + FormEncode(name) + "&PassWord=" + FormEncode(password), before);
    if (session) *session = CookieNumber(reply).number ? CookieNumber(reply) : before;
    return reply.body;
  }
  SessionCookie SignInStaff(const std::string& name, const std::string& password) {
    SessionCookie session;
    EXPECT_TRUE(Has(StaffSignIn(name, password, &session), "/Admin.html")) << name;
    return session;
  }
  SessionCookie LoginAdmin() { return SignInStaff("admin", meet_->admin_password()); }
  // Signs in as the teacher of a class (of the registration meet by
  // default); signing in gives the session a new number.
  SessionCookie LoginTeacher(int class_id = 101, const std::string& password = "1111") {
    SessionCookie session = CookieNumber(Get("/"));
    HttpResponse reply = Post("/index.html", "BanJi=" + std::to_string(class_id) + "&PassWord=" + password, session);
    EXPECT_NE(std::string::npos, reply.body.find("/ShowClass.html")) << reply.body;
    return CookieNumber(reply);
  }
  // A staff account of the base file: "id, name, password, role, fixed
  // address, meet days only, last address".
  void AddStaff(const std::string& values) {
    ASSERT_TRUE(meet_->BaseSql("insert into qrtb7 (qrtb8, qrtb9, qrtb10, qrtb14, qrtb20, qrtb21, qrtb25) values (" +
                               values + ")"));
  }

  // One result as the score-entry page sends it (record: the standing
  // record's value the page holds, -65535 for none).
  HttpResponse Upload(SessionCookie session, int round, int athlete, const std::string& text, int mode = 1,
                      int status = 0, int record = -65535) {
    return Get("/upcj.html?Dstr=" + std::to_string(round) + "=" + std::to_string(athlete) + "=" +
                   std::to_string(status) + "=" + std::to_string(record) + "=-65535=-65535=" + std::to_string(mode) +
                   "=" + text,
               session);
  }

  // Runs SQL on the open meet's file and opens it again, so every list
  // follows.
  void ChangeMeet(const std::string& sql) {
    int id = 0;
    {
      DataGuard hold(DataLock);
      id = Model().CurrentMeetId;
    }
    ASSERT_TRUE(meet_->MeetSql(id, sql));
    ASSERT_EQ(meet_->Open(id), 0);
  }
  std::unique_ptr<MeetFixture> meet_;
  int port_ = 0;
  SessionCookie admin_;
};

// The registration meet (teachers of classes 101, 102 and 201 with the
// passwords 1111, 2222 and 3333), and the registration form's request.
class RegistrationServerTest : public ServerTest {
 protected:
  void OpenMeet(const std::string& extra_sql = {}, int closed = 0) { OpenRegistrationMeet(*meet_, extra_sql, closed); }
  static std::string AddPath(int stid, int sex, const std::string& gbk_name, std::initializer_list<int> events,
                             int class_id = 101) {
    std::string path = "/AddStudent.html?stid=" + std::to_string(stid) + "&stxb=" + std::to_string(sex) +
                       "&Tname1=" + FormEncode(gbk_name) + "&NjId=1&BjId=" + std::to_string(class_id) + "&";
    for (int event : events) path += "STBC1=" + std::to_string(event) + "&";
    return path + "an=123";
  }
};

// The scoring meet with a session of each staff role: the administrator, a
// score-entry clerk and a print administrator.
class ScoringServerTest : public ServerTest {
 protected:
  void SetUp() override {
    ServerTest::SetUp();
    AddStaff("2, 'clerk1', 'clerk123', 7, 0, 0, ''");
    AddStaff("3, 'printer1', 'print123', 6, 0, 0, ''");
  }
  // Opens the scoring meet with extra SQL and signs the three staff in.
  void OpenMeet(const std::string& extra_sql = {}) {
    OpenScoringMeet(*meet_, extra_sql);
    SignInAll();
  }
  void SignInAll() {
    admin_ = LoginAdmin();
    clerk_ = SignInStaff("clerk1", "clerk123");
    printer_ = SignInStaff("printer1", "print123");
  }
  // One result as the score-entry page sends it; the reply body.
  std::string Upload(int round, int athlete, const std::string& text, int mode = 1, int status = 0) {
    return ServerTest::Upload(admin_, round, athlete, text, mode, status).body;
  }
  // The session of a page mode: 0 print administrator, 1 administrator,
  // 2 clerk.
  SessionCookie SessionOfMode(int mode) const { return mode == 0 ? printer_ : mode == 1 ? admin_ : clerk_; }

  SessionCookie clerk_;
  SessionCookie printer_;
};

}  // namespace korva
