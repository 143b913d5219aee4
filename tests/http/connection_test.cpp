// Request assembly and connection handling over loopback: split receives,
// pipelining, keep-alive, the 4xx answers that close a connection, and what
// a flood of slow clients may hold of the server.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <poll.h>
#include <sys/resource.h>
#include <sys/wait.h>

#include <algorithm>
#include <cstdio>
#include <memory>
#include <vector>

#include "host/host.h"
#include "tests/http/server_fixture.h"
#include "web/listener.h"
#include "web/request_parser.h"

namespace korva {

namespace {

using ::testing::HasSubstr;

class ConnectionTest : public ServerTest {};

// Waits up to 10 s for the server's connection count to come to count.
bool ConnectionsReach(int count) {
  for (int tries = 0; tries < 1000 && ActiveConnectionCount() != count; ++tries) poll(nullptr, 0, 10);
  return ActiveConnectionCount() == count;
}

// A flood of slow clients in a child process, so that its descriptors are
// not this process's (the server's): count connections, per_address from
// each of the loopback addresses 127.0.0.<first_host> on, each sending one
// byte of a request and nothing more. They stay open until the object goes.
// The child makes only system calls: the parent has threads.
class SlowFlood {
 public:
  SlowFlood(int port, int count, int per_address, int first_host) {
    int ready[2], hold[2];
    if (pipe(ready) != 0 || pipe(hold) != 0) return;
    pid_ = fork();
    if (pid_ == 0) {
      close(ready[0]);
      close(hold[1]);
      rlimit files{};
      getrlimit(RLIMIT_NOFILE, &files);
      files.rlim_cur = files.rlim_max;
      setrlimit(RLIMIT_NOFILE, &files);
      for (int i = 0; i < count; ++i) {
        int fd = socket(AF_INET, SOCK_STREAM, 0);
        sockaddr_in from{}, to{};
        from.sin_family = to.sin_family = AF_INET;
        from.sin_addr.s_addr = htonl(0x7F000000u + static_cast<uint32_t>(first_host + i / per_address));
        to.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
        to.sin_port = htons(static_cast<uint16_t>(port));
        bind(fd, reinterpret_cast<sockaddr*>(&from), sizeof from);
        connect(fd, reinterpret_cast<sockaddr*>(&to), sizeof to);
        send(fd, "G", 1, MSG_NOSIGNAL);
      }
      char byte = 1;
      if (write(ready[1], &byte, 1) == 1) read(hold[0], &byte, 1);  // until the parent closes its end
      _exit(0);
    }
    close(ready[1]);
    close(hold[0]);
    hold_ = hold[1];
    char byte = 0;
    started_ = read(ready[0], &byte, 1) == 1;
    close(ready[0]);
  }
  ~SlowFlood() {
    if (hold_ >= 0) close(hold_);
    if (pid_ > 0) waitpid(pid_, nullptr, 0);
  }
  SlowFlood(const SlowFlood&) = delete;
  SlowFlood& operator=(const SlowFlood&) = delete;
  bool started() const { return started_; }

 private:
  pid_t pid_ = -1;
  int hold_ = -1;
  bool started_ = false;
};

// The open-file limit of this process set to the common default of 1,024
// while alive.
class CommonFileLimit {
 public:
  CommonFileLimit() {
    getrlimit(RLIMIT_NOFILE, &saved_);
    rlimit low = saved_;
    low.rlim_cur = 1024;
    setrlimit(RLIMIT_NOFILE, &low);
  }
  ~CommonFileLimit() { setrlimit(RLIMIT_NOFILE, &saved_); }

 private:
  rlimit saved_{};
};

class FloodTest : public RegistrationServerTest {};

TEST_F(FloodTest, SlowConnectionsNeitherShutOutOthersNorTakeTheDatabasesFiles) {
  OpenMeet();
  CommonFileLimit common;
  ServerLimits limits;
  limits.request_ms = 5000;
  SetServerLimits(limits);
  // Half the descriptors left after the database's reserve: each
  // connection may be sending a file too.
  ASSERT_EQ((1024 - 128) / 2, ConnectionLimit());
  SessionCookie teacher = LoginTeacher();
  TestConnection kept(port_);  // the teacher's browser keeps its connection open
  kept.Send(RequestText("GET", "/ShowClass.html", teacher));
  ASSERT_EQ(200, kept.Read().status);
  ASSERT_TRUE(ConnectionsReach(1));

  {
    // One address gets 16 connections; the rest are answered at once.
    SlowFlood one(port_, 100, 100, 2);
    ASSERT_TRUE(one.started());
    EXPECT_TRUE(ConnectionsReach(1 + 16));
    EXPECT_EQ(200, Ask(RequestText("GET", "/admin.css"), "127.0.0.90").status);
  }
  ASSERT_TRUE(ConnectionsReach(1));

  {
    // 1,100 from 55 addresses fill the server to its bound, and no further.
    SlowFlood many(port_, 1100, 20, 10);
    ASSERT_TRUE(many.started());
    EXPECT_TRUE(ConnectionsReach(ConnectionLimit()));
    // A newcomer is told at once, not left to time out.
    HttpResponse refused = Ask(RequestText("GET", "/"), "127.0.0.91");
    EXPECT_EQ(503, refused.status);
    // The signed-in teacher still registers: the database opens its journal.
    kept.Send(RequestText("GET", AddPath(0, 1, "乙", {902}), teacher));
    EXPECT_THAT(kept.Read().body, HasSubstr("报名成功"));
    EXPECT_EQ(1u, Stored("SELECT qrtb411 FROM qrtb409 WHERE qrtb410 = '乙'").size());
    // The slow requests end at their deadline and the site is open again.
    EXPECT_TRUE(ConnectionsReach(1));
    EXPECT_EQ(200, Ask(RequestText("GET", "/"), "127.0.0.91").status);
  }

  // One byte at a time does not stretch the deadline of a request's head,
  // which comes well before the whole request's.
  ServerLimits heads;
  heads.head_ms = 2000;
  SetServerLimits(heads);
  TestConnection trickle(port_, "127.0.0.3");
  trickle.Send("GET / HTTP/1.1\r\nX-Slow: ");
  HttpResponse late;
  for (int i = 0; i < 100 && late.status == 0; ++i) {
    trickle.Send("a");
    pollfd waiting{trickle.fd(), POLLIN, 0};
    if (poll(&waiting, 1, 100) > 0) late = trickle.Read();
  }
  EXPECT_EQ(408, late.status);
}

// The threads of this process (the server's, in these tests).
int ThreadCount() {
  std::FILE* status = std::fopen("/proc/self/status", "r");
  if (status == nullptr) return -1;
  char line[256];
  int threads = -1;
  while (std::fgets(line, sizeof line, status)) {
    if (std::sscanf(line, "Threads: %d", &threads) == 1) break;
  }
  std::fclose(status);
  return threads;
}

TEST_F(FloodTest, ASchoolNetworkOfSlowClientsTakesNoThreadAndLeavesRoom) {
  OpenMeet();
  SessionCookie teacher = LoginTeacher();
  ASSERT_TRUE(ConnectionsReach(0));
  const int before = ThreadCount();
  {
    // 254 addresses, each one connection past its share.
    SlowFlood flood(port_, 254 * 17, 17, 2);
    ASSERT_TRUE(flood.started());
    EXPECT_TRUE(ConnectionsReach(254 * 16));
    // Waiting for the rest of a request holds no thread.
    EXPECT_LE(ThreadCount(), before + 2);
    // Other browsers are answered meanwhile.
    EXPECT_EQ(200, Ask(RequestText("GET", "/admin.css"), "127.0.1.1").status);
    EXPECT_THAT(Get("/ShowClass.html", teacher).body, HasSubstr("退出登陆"));
  }
  EXPECT_TRUE(ConnectionsReach(0));
}

TEST_F(ConnectionTest, UnfinishedBodiesHoldBoundedMemoryForABoundedTime) {
  ServerLimits limits;
  limits.unfinished_bytes = 4 << 20;
  limits.unfinished_bytes_per_address = 2 << 20;
  // Long enough that a loaded machine still sends every body before it ends.
  limits.request_ms = 8000;
  SetServerLimits(limits);
  const std::string start = "POST /index.html HTTP/1.1\r\nContent-Length: 900000\r\n\r\n" + std::string(1000, 'a');
  std::vector<std::unique_ptr<TestConnection>> held;
  for (const char* from : {"127.0.0.2", "127.0.0.2", "127.0.0.3", "127.0.0.3"}) {
    held.push_back(std::make_unique<TestConnection>(port_, from));
    held.back()->Send(start);
  }
  // Counted: what each holds beyond the room of a head.
  const std::size_t counted = 4 * (900000 - 32 * 1024);
  for (int tries = 0; tries < 500 && UnfinishedRequestBytes() < counted; ++tries) poll(nullptr, 0, 10);
  EXPECT_GE(UnfinishedRequestBytes(), counted);
  // A third body from one address, and one more from anywhere past the total.
  for (const char* from : {"127.0.0.2", "127.0.0.4"}) {
    TestConnection refused(port_, from);
    refused.Send(start);
    EXPECT_EQ(503, refused.Read().status) << from;
  }
  EXPECT_LE(UnfinishedRequestBytes(), 4u << 20);
  // Small requests still pass.
  EXPECT_EQ(200, Ask(RequestText("GET", "/admin.css"), "127.0.0.5").status);
  // Bodies that never finish end at the deadline, and give their memory back.
  for (auto& connection : held) EXPECT_EQ(408, connection->Read().status);
  EXPECT_TRUE(ConnectionsReach(0));
  EXPECT_EQ(0u, UnfinishedRequestBytes());
}

// One connection carries requests sent byte by byte, far larger than one
// 5120-byte receive, and several at once, answered in order with whole
// pages; HEAD gets the GET's headers alone, and "close" or HTTP/1.0 ends the
// connection after the reply.
TEST_F(ConnectionTest, RequestsInPiecesInARowAndTheConnectionsEnd) {
  TestConnection connection(port_);
  std::string text = RequestText("POST", "/AdminIndex.html", {}, "UserName=admin&PassWord=x", kOwnOrigin);
  for (char c : text) {
    ASSERT_TRUE(connection.Send(std::string_view(&c, 1)));
    if (c == '\n') poll(nullptr, 0, 2);
  }
  EXPECT_THAT(connection.Read().body, HasSubstr("用户名或密码错误"));
  connection.Send(RequestText("POST", "/AdminIndex.html", {}, "UserName=" + std::string(20000, 'a') + "&PassWord=x",
                              kOwnOrigin) +
                  RequestText("GET", "/admin.css") + "PUT / HTTP/1.1\r\n\r\n");
  EXPECT_THAT(connection.Read().body, HasSubstr("用户名或密码错误"));
  const std::string css = connection.Read().body;
  EXPECT_THAT(css, HasSubstr(".TabDivBai"));
  HttpResponse refused = connection.Read();  // another method: the session-expired page
  EXPECT_EQ(std::to_string(refused.body.size()), refused.Header("Content-Length"));
  EXPECT_THAT(refused.body, HasSubstr("请重新登陆"));

  for (std::string ending : {std::string("HEAD /admin.css HTTP/1.1\r\nConnection: close\r\n\r\n"),
                             std::string("GET /admin.css HTTP/1.0\r\n\r\n")}) {
    TestConnection last(port_);
    last.Send(ending);
    const std::string all = last.ReadAll();
    EXPECT_THAT(all, HasSubstr("\r\nContent-Length: " + std::to_string(css.size()) + "\r\n"));
    EXPECT_EQ(all.size(), all.find("\r\n\r\n") + 4 + (ending.starts_with("GET") ? css.size() : 0));
    EXPECT_TRUE(last.IsClosedByServer());
  }
}

TEST_F(ConnectionTest, UnacceptableRequestsGetA4xxAndTheConnectionCloses) {
  const std::pair<std::string, int> cases[] = {
      {"GET /\r\n\r\n", 400},
      {"get / HTTP/1.1\r\n\r\n", 400},
      {"GET index.html HTTP/1.1\r\n\r\n", 400},
      {"GET / HTTP/2.5\r\n\r\n", 400},
      {"POST /index.html HTTP/1.1\r\nContent-Length: 12x\r\n\r\n", 400},
      {"POST /index.html HTTP/1.1\r\nContent-Length: -1\r\n\r\n", 400},
      {"POST /index.html HTTP/1.1\r\nContent-Length: 1\r\nContent-Length: 2\r\n\r\n", 400},
      {"POST /index.html HTTP/1.1\r\nContent-Length: 99999999\r\n\r\n", 413},
      {"POST /index.html HTTP/1.1\r\nTransfer-Encoding: chunked\r\n\r\n", 501},
      {"GET / HTTP/1.1\r\n: x\r\n\r\n", 400},
      // A blank before the colon would hide the length and let the body
      // through as a request of its own.
      {"POST /index.html HTTP/1.1\r\nContent-Length : 23\r\n\r\nGET /Admin.html HTTP/1.1", 400},
      {"GET / HTTP/1.1\r\nHost\t: a\r\n\r\n", 400},
      {"GET / HTTP/1.1\r\nX Y: a\r\n\r\n", 400},
      {"GET / HTTP/1.1\r\nX-Big: " + std::string(kMaxRequestHead + 10, 'a') + "\r\n\r\n", 431},
      {"GET / HTTP/1.1\r\nX-Big: " + std::string(kMaxRequestHead + 10, 'a'), 431},  // a head without end
  };
  for (const auto& [text, status] : cases) {
    SCOPED_TRACE(text.substr(0, 60));
    TestConnection connection(port_);
    connection.Send(text);
    HttpResponse reply = connection.Read();
    EXPECT_EQ(status, reply.status);
    EXPECT_EQ("close", reply.Header("Connection"));
    EXPECT_TRUE(connection.IsClosedByServer());
  }
}

// Of the site's ports, the server passes over those that browsers refuse.
TEST(SitePorts, BrowsersRefuse87_95And101) {
  std::vector<int> refused;
  for (int port = 80; port <= 8101; port = port == 101 ? 8080 : port + 1)
    if (BrowsersRefusePort(port)) refused.push_back(port);
  EXPECT_EQ(refused, (std::vector<int>{87, 95, 101}));
}

TEST_F(ConnectionTest, StoppingTheServerEndsOpenConnections) {
  TestConnection idle(port_);
  ASSERT_TRUE(idle.ok());
  idle.Send("GET / HTTP/1.1\r\n");  // half a request
  poll(nullptr, 0, 50);
  EXPECT_EQ(1, ActiveConnectionCount());
  StopWebServer();
  EXPECT_EQ(0, ActiveConnectionCount());
  EXPECT_TRUE(idle.IsClosedByServer());
}

}  // namespace

}  // namespace korva
