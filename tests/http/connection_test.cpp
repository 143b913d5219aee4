// Request assembly and connection handling over loopback: split receives,
// pipelining, keep-alive and the 4xx answers that close a connection.
#include <gtest/gtest.h>

#include <poll.h>

#include "tests/http/server_fixture.h"
#include "web/request_parser.h"

namespace korva {

namespace {

class ConnectionTest : public ServerTest {};

TEST_F(ConnectionTest, RequestsAreAssembledFromSmallAndLargeReceives) {
  TestConnection connection(port_);
  std::string text = RequestText("POST", "/AdminIndex.html", 0, "UserName=admin&PassWord=x");
  for (char c : text) {
    ASSERT_TRUE(connection.Send(std::string_view(&c, 1)));
    if (c == '\n') poll(nullptr, 0, 2);
  }
  EXPECT_NE(std::string::npos, connection.Read().body.find("用户名或密码错误"));
  // Far more than one 5120-byte receive, on the same connection.
  connection.Send(RequestText("POST", "/AdminIndex.html", 0, "UserName=" + std::string(20000, 'a') + "&PassWord=x"));
  EXPECT_NE(std::string::npos, connection.Read().body.find("用户名或密码错误"));
}

TEST_F(ConnectionTest, PipelinedRequestsAreAnsweredInOrderWithWholePages) {
  TestConnection connection(port_);
  connection.Send(RequestText("GET", "/admin.css") + "PUT / HTTP/1.1\r\n\r\n" +
                  RequestText("POST", "/AdminIndex.html", 0, "UserName=a&PassWord=b"));
  EXPECT_EQ("text/css;charset=GB2312", connection.Read().Header("Content-Type"));
  HttpResponse refused = connection.Read();  // another method: the session-expired page
  EXPECT_EQ(std::to_string(refused.body.size()), refused.Header("Content-Length"));
  EXPECT_NE(std::string::npos, refused.body.find("请重新登陆"));
  EXPECT_NE(std::string::npos, connection.Read().body.find("用户名或密码错误"));
}

TEST_F(ConnectionTest, CloseAndHttp10EndTheConnectionAfterTheReply) {
  for (std::string text : {RequestText("GET", "/admin.css", 0, {}, "Connection: close\r\n"),
                           std::string("GET /admin.css HTTP/1.0\r\n\r\n")}) {
    TestConnection connection(port_);
    connection.Send(text);
    EXPECT_EQ(200, connection.Read().status);
    EXPECT_TRUE(connection.IsClosedByServer());
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
