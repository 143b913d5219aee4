// The server as its own process, killed with SIGKILL at random moments
// while class teachers register or clerks upload results that move a school
// record, and started again on the same data folder; then a disk that fills
// under it. Everything it acknowledged must be in the files afterwards, the
// meet file and the base file must agree, both must pass SQLite's integrity
// check, and the meet must open with every list.
#include <gtest/gtest.h>
#include <signal.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <atomic>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <map>
#include <mutex>
#include <random>
#include <set>
#include <string>
#include <thread>
#include <vector>

#include "database/connections.h"
#include "database/data_folder.h"
#include "database/data_lock.h"
#include "database/gbk_text.h"
#include "database/model.h"
#include "database/open_meet.h"
#include "database/sqlite_db.h"
#include "engine/score_text.h"
#include "tests/http/http_client.h"
#include "tests/testing/meet_fixture.h"
#include "tests/testing/order_book_meet.h"
#include "tests/testing/print_meet.h"
#include "tests/testing/registration_meet.h"
#include "tests/testing/report_meet.h"
#include "tests/testing/scoring_meet.h"

namespace korva {

namespace {

// korva_test_server serving a data folder, in a process of its own.
class ServerProcess {
 public:
  // file_size_limit > 0: the process may not write files beyond that many
  // bytes (a disk that is full), and a write past it fails, or kills the
  // process when killed_at_limit is set. trace names a file where strace
  // writes the process's syncs, file writes and listening socket.
  explicit ServerProcess(const std::string& folder, rlim_t file_size_limit = 0, bool killed_at_limit = false,
                         const std::string& trace = {}) {
    const char* binary = std::getenv("KORVA_TEST_SERVER");
    if (binary == nullptr) return;
    int to_child[2], from_child[2];
    if (pipe(to_child) != 0 || pipe(from_child) != 0) return;
    pid_ = fork();
    if (pid_ == 0) {
      dup2(to_child[0], STDIN_FILENO);
      dup2(from_child[1], STDOUT_FILENO);
      close(to_child[1]);
      close(from_child[0]);
      if (file_size_limit > 0) {
        rlimit limit{file_size_limit, file_size_limit};
        setrlimit(RLIMIT_FSIZE, &limit);
        if (!killed_at_limit) signal(SIGXFSZ, SIG_IGN);
      }
      if (!trace.empty())
        execlp("strace", "strace", "-f", "-y", "-e", "trace=fdatasync,pwrite64,listen", "-o", trace.c_str(), binary,
               "--data", folder.c_str(), static_cast<char*>(nullptr));
      execl(binary, binary, "--data", folder.c_str(), static_cast<char*>(nullptr));
      _exit(127);
    }
    close(to_child[0]);
    close(from_child[1]);
    stdin_ = to_child[1];
    std::string out;
    char chunk[256];
    ssize_t got;
    while (out.find("ready") == std::string::npos && (got = read(from_child[0], chunk, sizeof chunk)) > 0)
      out.append(chunk, static_cast<std::size_t>(got));
    close(from_child[0]);
    std::size_t at = out.find("port=");
    if (at != std::string::npos) port_ = std::atoi(out.c_str() + at + 5);
  }
  ~ServerProcess() { Kill(); }
  ServerProcess(const ServerProcess&) = delete;
  ServerProcess& operator=(const ServerProcess&) = delete;

  int port() const { return port_; }

  // Whether the process ended by itself within ten seconds.
  bool Ended() {
    for (int i = 0; waitpid(pid_, nullptr, WNOHANG) != pid_; ++i) {
      if (i == 1000) return false;
      usleep(10000);
    }
    close(stdin_);
    pid_ = 0;
    return true;
  }

  // A normal stop (SIGTERM); whether the process ended within ten seconds.
  bool Stop() { return kill(pid_, SIGTERM) == 0 && Ended(); }

  void Kill() {
    if (pid_ <= 0) return;
    kill(pid_, SIGKILL);
    waitpid(pid_, nullptr, 0);
    close(stdin_);
    pid_ = 0;
  }

 private:
  pid_t pid_ = 0;
  int stdin_ = -1;
  int port_ = 0;
};

HttpResponse Ask(int port, const std::string& text) {
  TestConnection connection(port);
  if (!connection.ok() || !connection.Send(text)) return {};
  return connection.Read();
}

SessionCookie LoginStaff(int port, const std::string& user, const std::string& password) {
  SessionCookie session = CookieNumber(Ask(port, RequestText("GET", "/AdminIndex.html")));
  return CookieNumber(
      Ask(port, RequestText("POST", "/AdminIndex.html", session, "UserName=" + user + "&PassWord=" + password)));
}

SessionCookie LoginAdmin(int port, const std::string& password) { return LoginStaff(port, "admin", password); }

// Classes 101 and 102 of the registration meet, with their passwords.
SessionCookie LoginTeacher(int port, int class_id) {
  const char* password = class_id == 101 ? "1111" : "2222";
  SessionCookie session = CookieNumber(Ask(port, RequestText("GET", "/")));
  // Signing in gives the session a new number.
  return CookieNumber(
      Ask(port, RequestText("POST", "/index.html", session, "BanJi=" + std::to_string(class_id) + "&PassWord=" + password)));
}

// Registers athletes named prefix0, prefix1, ... one after the other until
// the server stops answering; the names it acknowledged go into stored.
void Register(int port, int class_id, const std::string& prefix, std::set<std::string>& stored,
              std::mutex& stored_mutex, std::atomic<bool>& stop) {
  SessionCookie session = LoginTeacher(port, class_id);
  for (int i = 0; !stop; ++i) {
    std::string name = prefix + std::to_string(i);
    HttpResponse reply = Ask(port, RequestText("GET", "/AddStudent.html?stid=0&stxb=" + std::to_string(1 + i % 2) +
                                                          "&Tname1=" + name + "&NjId=1&BjId=" +
                                                          std::to_string(class_id) + "&an=1",
                                               session));
    if (reply.status == 0) return;  // the server is gone
    if (reply.body.find("报名成功") != std::string::npos) {
      std::lock_guard<std::mutex> hold(stored_mutex);
      stored.insert(name);
    }
  }
}

// One clerk's lane of the scoring meet: the result last acknowledged and
// one sent but not answered, either of which the file may hold.
struct Clerk {
  int round, athlete;
  std::string acknowledged, unanswered;
  int sent = 0;
};

// Uploads results to the clerk's lane until the server stops answering.
// The boys' 跳远 (round 2, counted) is sent with its standing record, 4.00:
// each result beats every earlier one, so each recounts the round and moves
// this meet's record in the base file. Round 6 is never complete.
void UploadResults(int port, SessionCookie session, Clerk& clerk, const std::atomic<bool>& stop,
                   std::atomic<int>& acknowledged) {
  const bool record = clerk.round == 2;
  while (!stop) {
    const int n = clerk.sent++;
    const std::string text = Hundredths(record ? 470 + 3 * n + clerk.athlete : 1100 + (n * 37 + clerk.athlete) % 800);
    clerk.unanswered = text;
    const std::string path = "/upcj.html?Dstr=" + std::to_string(clerk.round) + "=" + std::to_string(clerk.athlete) +
                             "=0=" + (record ? "4000" : "-65535") + "=-65535=-65535=" + (record ? "2=" : "1=") + text;
    HttpResponse reply = Ask(port, RequestText("GET", path, session));
    if (reply.status == 0) return;  // the server is gone
    const std::string code = reply.body.substr(0, 2);
    if (code == "00" || code == "02" || code == "07") return ADD_FAILURE() << path << " answered " << reply.body;
    clerk.acknowledged = text;
    clerk.unanswered.clear();
    ++acknowledged;
  }
}

// What the files hold after the runs, read with the server stopped.
struct Stored {
  std::string base_check, meet_check;
  std::set<std::string> names;
  bool opens = false;
  std::map<std::pair<int, int>, std::pair<ScoreValue, int>> lanes;  // result and record flag
  std::string record;  // this meet's records in the base file: "value|holder"
  int pending = -1;    // base-file changes left in the meet file
};

Stored ReadBack(const std::string& folder) {
  Stored out;
  DataGuard hold(DataLock);
  CloseDatabases();
  EXPECT_EQ(OpenDataFolder(folder, nullptr), 0);
  out.opens = OpenCurrentMeet(0) == 0;
  Statement base(BaseConnection(), "PRAGMA integrity_check");
  if (base.Next()) out.base_check = base.ReadTextField(0);
  Statement meet(MeetConnection(), "PRAGMA main.integrity_check");
  if (meet.Next()) out.meet_check = meet.ReadTextField(0);
  for (const AthleteNode& athlete : Model().AthleteList) out.names.insert(athlete.Name);
  Statement lanes(MeetConnection(), "SELECT qrtb481, qrtb484, qrtb485, qrtb489 FROM qrtb479");
  while (lanes.Next())
    out.lanes[{lanes.ReadIntField(0), lanes.ReadIntField(1)}] = {lanes.ReadIntOr("qrtb485", kNoResult), lanes.ReadIntField(3)};
  Statement records(BaseConnection(), "SELECT qrtb196 || '|' || qrtb199 FROM qrtb188 WHERE qrtb209 <> ''");
  while (records.Next()) out.record += records.ReadTextField(0) + "\n";
  Statement pending(MeetConnection(), "SELECT count(*) FROM pending_base_rows");
  if (pending.Next()) out.pending = pending.ReadIntField(0);
  return out;
}

// The size of the current meet's file, opened as a server opens it and
// closed again.
off_t MeetFileSize(const MeetFixture& fixture) {
  DataGuard hold(DataLock);
  EXPECT_EQ(OpenDataFolder(fixture.folder(), nullptr), 0);
  EXPECT_EQ(OpenCurrentMeet(0), 0);
  struct stat st{};
  const off_t size = stat(Model().MeetFilePath.c_str(), &st) == 0 ? st.st_size : 0;
  CloseDatabases();
  return size;
}

class CrashTest : public ::testing::Test {
 protected:
  void SetUp() override {
    if (std::getenv("KORVA_TEST_SERVER") == nullptr) GTEST_SKIP() << "KORVA_TEST_SERVER is not set";
    // Room for every registration the runs can make.
    OpenRegistrationMeet(fixture_, "UPDATE qrtb373 SET qrtb377 = 100000;");
    DataGuard hold(DataLock);
    CloseDatabases();
  }

  MeetFixture fixture_;
};

TEST_F(CrashTest, KilledAtRandomMomentsNothingAcknowledgedIsLost) {
  std::mt19937 random(7);
  std::set<std::string> acknowledged;
  std::mutex acknowledged_mutex;
  for (int run = 0; run < 5; ++run) {
    ServerProcess server(fixture_.folder());
    ASSERT_GT(server.port(), 0) << "run " << run;
    std::atomic<bool> stop{false};
    std::vector<std::thread> teachers;
    for (int t = 0; t < 3; ++t) {
      std::string prefix = "r" + std::to_string(run) + "t" + std::to_string(t) + "n";
      teachers.emplace_back(Register, server.port(), 101 + t % 2, prefix, std::ref(acknowledged),
                            std::ref(acknowledged_mutex), std::ref(stop));
    }
    // Killed once this run has had some registrations acknowledged (a
    // loaded machine may take a while), at a random moment after that.
    const std::size_t before = acknowledged.size();
    for (int waited = 0; waited < 1500; ++waited) {
      {
        std::lock_guard<std::mutex> hold(acknowledged_mutex);
        if (acknowledged.size() >= before + 5) break;
      }
      usleep(10000);
    }
    usleep(random() % 300000);
    server.Kill();
    stop = true;
    for (std::thread& teacher : teachers) teacher.join();
  }
  Stored stored = ReadBack(fixture_.folder());
  EXPECT_TRUE(stored.opens);
  EXPECT_EQ(stored.base_check, "ok");
  EXPECT_EQ(stored.meet_check, "ok");
  EXPECT_GE(acknowledged.size(), 25u);
  for (const std::string& name : acknowledged) EXPECT_TRUE(stored.names.count(name)) << name << " was lost";
}

TEST(CrashScoring, KilledWhileClerksMoveARecordTheFilesAgreeAndKeepEveryAcknowledgedResult) {
  if (std::getenv("KORVA_TEST_SERVER") == nullptr) GTEST_SKIP() << "KORVA_TEST_SERVER is not set";
  MeetFixture fixture;
  OpenScoringMeet(fixture, "INSERT INTO base.qrtb188 (qrtb190, qrtb191, qrtb192, qrtb193, qrtb196, qrtb208, qrtb209,"
                           " qrtb210) VALUES (0, '一年级', 1, '跳远', 4000, '米', '', 0);");
  {
    DataGuard hold(DataLock);
    CloseDatabases();
  }
  std::vector<Clerk> clerks;
  for (int athlete = 1; athlete <= 6; ++athlete) clerks.push_back({2, athlete, Hundredths(400 + 10 * athlete)});
  for (int athlete = 101; athlete <= 105; ++athlete) clerks.push_back({6, athlete});
  std::mt19937 random(11);
  for (int run = 0; run < 5; ++run) {
    ServerProcess server(fixture.folder());
    ASSERT_GT(server.port(), 0) << "run " << run;
    const SessionCookie admin = LoginAdmin(server.port(), fixture.admin_password());
    // First the whole round, which counts it and sets this meet's record.
    for (int i = 0; run == 0 && i < 6; ++i)
      ASSERT_NE(Ask(server.port(), RequestText("GET", "/upcj.html?Dstr=2=" + std::to_string(i + 1) +
                                                          "=0=4000=-65535=-65535=1=" + clerks[i].acknowledged, admin))
                    .body.substr(0, 2),
                "00");
    std::atomic<bool> stop{false};
    std::atomic<int> acknowledged{0};
    std::vector<std::thread> threads;
    for (Clerk& clerk : clerks) {
      if (clerk.round == 6 || clerk.athlete <= 3)
        threads.emplace_back(UploadResults, server.port(), admin, std::ref(clerk), std::cref(stop),
                             std::ref(acknowledged));
    }
    for (int waited = 0; waited < 1500 && acknowledged < 20; ++waited) usleep(10000);
    usleep(random() % 300000);
    server.Kill();
    stop = true;
    for (std::thread& thread : threads) thread.join();
  }
  {
    // A restarted server shows on its records page what the lanes hold.
    ServerProcess server(fixture.folder());
    ASSERT_GT(server.port(), 0);
    const std::string page =
        Ask(server.port(), RequestText("GET", "/ShowTopScore.html", LoginAdmin(server.port(), fixture.admin_password())))
            .body;
    server.Kill();
    Stored stored = ReadBack(fixture.folder());
    auto value = [](std::string text, int round) {
      ScoreValue parsed = kNoResult;
      ParseScoreText(text, round == 2 ? "米" : "秒", parsed);
      return parsed;
    };
    ScoreValue best = 0;
    int holder = 0;
    for (const Clerk& clerk : clerks) {
      const ScoreValue held = stored.lanes[{clerk.round, clerk.athlete}].first;
      EXPECT_TRUE(held == value(clerk.acknowledged, clerk.round) ||
                  (!clerk.unanswered.empty() && held == value(clerk.unanswered, clerk.round)))
          << clerk.round << "/" << clerk.athlete << " holds " << held << ", acknowledged " << clerk.acknowledged;
      if (clerk.round == 2 && held > best) best = held, holder = clerk.athlete;
    }
    EXPECT_EQ((stored.lanes[{2, holder}].second), 2) << "the holder's lane is not marked";
    EXPECT_EQ(stored.record, std::to_string(best) + "|男" + std::to_string(holder) + "\n");
    EXPECT_NE(page.find("id=\"OldScore3\" value=\"" + FormatScoreText(best, "米") + "\""), std::string::npos);
    EXPECT_EQ(stored.pending, 0);
    EXPECT_EQ(stored.base_check, "ok");
    EXPECT_EQ(stored.meet_check, "ok");
  }
}

// A print counted on a server that does nothing else reaches the file a
// second later, and at once when the server is stopped normally.
TEST(CrashPrinting, ACountedPrintReachesTheFileWithinASecondOrAtANormalStop) {
  if (std::getenv("KORVA_TEST_SERVER") == nullptr) GTEST_SKIP() << "KORVA_TEST_SERVER is not set";
  MeetFixture fixture;
  OpenPrintMeet(fixture);
  {
    DataGuard hold(DataLock);
    CloseDatabases();
  }
  const struct {
    const char* ending;
    int waited_ms;
    bool killed;
  } rows[] = {{"killed after two and a half seconds", 2500, true}, {"stopped at once", 0, false}};
  int printed = 0;
  for (const auto& row : rows) {
    ServerProcess server(fixture.folder());
    ASSERT_GT(server.port(), 0);
    const SessionCookie printer = LoginStaff(server.port(), "printer", "print123");
    const std::string sheet = Ask(server.port(), RequestText("GET", "/ViewTable.html?str=1-2-0-0", printer)).body;
    ASSERT_NE(sheet.find("检 录 表"), std::string::npos) << row.ending;
    ++printed;
    usleep(row.waited_ms * 1000);
    if (row.killed) {
      server.Kill();
    } else {
      ASSERT_TRUE(server.Stop());
    }
    DataGuard hold(DataLock);
    ASSERT_EQ(OpenDataFolder(fixture.folder(), nullptr), 0);
    ASSERT_EQ(OpenCurrentMeet(0), 0);
    Statement counter(MeetConnection(), "SELECT qrtb456 FROM qrtb444 WHERE qrtb445 = 2");
    ASSERT_TRUE(counter.Next());
    EXPECT_EQ(counter.ReadIntField(0), printed) << row.ending;
    CloseDatabases();
  }
}

// The crash fell after the meet file took a change of both files and before
// the base file did: the meet's next opening gives the base rows their values.
TEST_F(CrashTest, BaseRowsLeftBehindTakeTheirValuesWhenTheMeetOpens) {
  DataGuard hold(DataLock);
  ASSERT_EQ(OpenDataFolder(fixture_.folder(), nullptr), 0);
  ASSERT_TRUE(fixture_.BaseSql("INSERT INTO qrtb188 (qrtb189, qrtb193, qrtb196) VALUES (7, '跳远', 4000), (8, '跳高', 1200)"));
  ASSERT_TRUE(fixture_.MeetSql(1, "INSERT INTO pending_base_rows VALUES"
                                  " (3, 'qrtb188', 7, json_array(1, '一年级', 1, '跳远', 2, 1, 4650, NULL, NULL, '男2', "
                                  " '一年级03班', '', '米', '运动会', 2)), (3, 'qrtb188', 8, NULL)"));
  ASSERT_EQ(OpenCurrentMeet(0), 0);
  Statement rows(BaseConnection(), "SELECT group_concat(qrtb189 || qrtb193 || qrtb196 || qrtb199, ',') FROM qrtb188 WHERE qrtb189 > 6");
  ASSERT_TRUE(rows.Next());
  EXPECT_EQ(rows.ReadTextField(0), "7跳远4650男2");
  Statement pending(MeetConnection(), "SELECT count(*) FROM pending_base_rows");
  ASSERT_TRUE(pending.Next());
  EXPECT_EQ(pending.ReadIntField(0), 0);
  CloseDatabases();
}

// A process killed after its commit leaves them in the -wal file, perhaps
// only in the page cache. The next one puts them on disk before it writes
// the base file's rows from an intent they hold, and before it listens.
TEST_F(CrashTest, WhatAKilledServerLeftIsOnDiskBeforeItIsUsed) {
  {
    DataGuard hold(DataLock);
    ASSERT_EQ(OpenDataFolder(fixture_.folder(), nullptr), 0);
    ASSERT_TRUE(fixture_.BaseSql("INSERT INTO qrtb188 (qrtb189, qrtb193, qrtb196) VALUES (8, '跳高', 1200)"));
    CloseDatabases();
  }
  // The intent committed by a process that ends without closing the file.
  const std::string meet_file = fixture_.MeetFile(1);
  if (pid_t child = fork(); child == 0) {
    Connection conn;
    _exit(conn.Open(meet_file, false) && conn.ExecScript("INSERT INTO pending_base_rows VALUES (3, 'qrtb188', 8, NULL)")
              ? 0 : 1);
  } else {
    int status = -1;
    waitpid(child, &status, 0);
    ASSERT_EQ(status, 0);
  }
  const std::string trace = fixture_.folder() + "/trace";
  ServerProcess server(fixture_.folder(), 0, false, trace);
  ASSERT_GT(server.port(), 0);
  server.Kill();
  std::ifstream in(trace);
  std::vector<std::string> calls;
  for (std::string line; std::getline(in, line);) calls.push_back(line);
  // The first call naming both texts.
  auto first = [&](const std::string& call, const std::string& file) {
    return std::find_if(calls.begin(), calls.end(), [&](const std::string& line) {
             return line.find(call) != std::string::npos && line.find(file) != std::string::npos;
           }) - calls.begin();
  };
  const auto meet_synced = first("fdatasync(", "ydh1.dat-wal>");
  ASSERT_LT(meet_synced, std::ssize(calls)) << "the meet's -wal file was never synced";
  EXPECT_LT(meet_synced, first("pwrite64(", "PBD.DAT-wal>")) << "the base file was written first";
  EXPECT_LT(meet_synced, first("listen(", ""));
  Stored stored = ReadBack(fixture_.folder());
  EXPECT_EQ(stored.pending, 0);
}

TEST_F(CrashTest, AFullDiskRefusesWritesAndKeepsServingWhatItHolds) {
  std::set<std::string> acknowledged;
  std::mutex acknowledged_mutex;
  {
    // A few pages more than the meet file holds now.
    const off_t size = MeetFileSize(fixture_);
    ServerProcess server(fixture_.folder(), static_cast<rlim_t>(size + 16 * 1024));
    ASSERT_GT(server.port(), 0);
    std::atomic<bool> stop{false};
    std::thread teacher([&] {
      Register(server.port(), 101, "f", acknowledged, acknowledged_mutex, stop);
    });
    // Registrations go on until the file can't grow; then they are refused.
    SessionCookie session = LoginTeacher(server.port(), 102);
    int refused = 0;
    for (int i = 0; i < 400 && refused == 0; ++i) {
      HttpResponse reply = Ask(server.port(), RequestText("GET", "/AddStudent.html?stid=0&stxb=1&Tname1=g" +
                                                                     std::to_string(i) + "&NjId=1&BjId=102&an=1",
                                                          session));
      ASSERT_EQ(reply.status, 200);
      if (reply.body.find("报名成功") == std::string::npos) ++refused;
    }
    stop = true;
    teacher.join();
    EXPECT_GT(refused, 0) << "the file never filled";
    // Pages that only read are still served whole.
    HttpResponse home = Ask(server.port(), RequestText("GET", "/ShowClass.html", session));
    EXPECT_EQ(home.status, 200);
    EXPECT_NE(home.body.find("</html>"), std::string::npos);
    server.Kill();
  }
  Stored stored = ReadBack(fixture_.folder());
  EXPECT_TRUE(stored.opens);
  EXPECT_EQ(stored.meet_check, "ok");
  for (const std::string& name : acknowledged) EXPECT_TRUE(stored.names.count(name)) << name << " was lost";
}

TEST_F(CrashTest, AnOrderBookKilledWhileWrittenLeavesNoPartOfItBehind) {
  auto book_files = [&] {
    int n = 0;
    for (const auto& entry : std::filesystem::directory_iterator(fixture_.folder()))
      n += entry.path().filename().string().starts_with(GbkToUtf8("秩序册"));
    return n;
  };
  {
    DataGuard hold(DataLock);
    EXPECT_EQ(OpenDataFolder(fixture_.folder(), nullptr), 0);
    // Two hundred more boys in the 100米: a book far larger than the meet.
    OpenOrderBookMeet(fixture_,
                      "INSERT INTO qrtb409 (qrtb411, qrtb410, qrtb412, qrtb413, qrtb414, qrtb415, qrtb416)"
                      " WITH RECURSIVE n(i) AS (SELECT 100 UNION ALL SELECT i + 1 FROM n WHERE i < 299)"
                      " SELECT i, 'b' || i, 0, 1, 101 + i % 2, 1, 0 FROM n;"
                      "INSERT INTO qrtb397 (qrtb399, qrtb400) SELECT 1101, qrtb411 FROM qrtb409 WHERE qrtb411 >= 100;");
    CloseDatabases();
  }
  const off_t size = MeetFileSize(fixture_);
  {
    // Room for the meet file's draw, not for the whole book (about 0.8 MB).
    ServerProcess server(fixture_.folder(), static_cast<rlim_t>(size + 256 * 1024), true);
    ASSERT_GT(server.port(), 0);
    const SessionCookie admin = LoginAdmin(server.port(), fixture_.admin_password());
    EXPECT_EQ(Ask(server.port(), RequestText("GET", "/MakeCXC1991.html", admin)).body, "1");
    ASSERT_TRUE(server.Ended());
    ASSERT_EQ(book_files(), 1) << "not killed while writing the book";
  }
  ServerProcess restarted(fixture_.folder());
  ASSERT_GT(restarted.port(), 0);
  EXPECT_EQ(book_files(), 0);
}

}  // namespace

}  // namespace korva
