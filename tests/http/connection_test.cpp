// Request assembly and connection handling over loopback: split receives,
// pipelining, keep-alive and the 4xx answers that close a connection.
#include <gtest/gtest.h>

#include <poll.h>

#include "tests/http/server_fixture.h"
#include "web/request_parser.h"

namespace {

class ConnectionTest : public ServerTest {};

TEST_F(ConnectionTest, RequestSplitIntoManySmallSendsIsAssembled) {
  TestConnection connection(port_);
  std::string text = RequestText("POST", "/AdminIndex.html", 0, "UserName=admin&PassWord=x");
  for (char c : text) {
    ASSERT_TRUE(connection.Send(std::string_view(&c, 1)));
    if (c == '\n') poll(nullptr, 0, 2);
  }
  HttpResponse reply = connection.Read();
  EXPECT_EQ(200, reply.status);
  EXPECT_NE(std::string::npos, reply.body.find("用户名或密码错误"));
}

TEST_F(ConnectionTest, BodyLargerThanOneReceiveArrivesWhole) {
  // Far more than one 5120-byte receive; the value is read whole.
  std::string body = "UserName=" + std::string(20000, 'a') + "&PassWord=x";
  TestConnection connection(port_);
  connection.Send(RequestText("POST", "/AdminIndex.html", 0, body));
  HttpResponse reply = connection.Read();
  EXPECT_EQ(200, reply.status);
  // The connection stays usable for the next request.
  connection.Send(RequestText("GET", "/admin.css"));
  EXPECT_EQ(200, connection.Read().status);
}

TEST_F(ConnectionTest, PipelinedRequestsAreAnsweredInOrderOnOneConnection) {
  TestConnection connection(port_);
  std::string three = RequestText("GET", "/admin.css") + RequestText("GET", "/nothing.html") +
                      RequestText("POST", "/AdminIndex.html", 0, "UserName=a&PassWord=b");
  connection.Send(three);
  HttpResponse css = connection.Read();
  HttpResponse unknown = connection.Read();
  HttpResponse login = connection.Read();
  EXPECT_EQ("text/css;charset=GB2312", css.Header("Content-Type"));
  EXPECT_EQ(200, unknown.status);
  EXPECT_NE(std::string::npos, unknown.body.find("请重新登陆"));
  EXPECT_NE(std::string::npos, login.body.find("用户名或密码错误"));
  EXPECT_FALSE(login.closed);
}

TEST_F(ConnectionTest, ConnectionCloseIsHonoured) {
  TestConnection connection(port_);
  connection.Send(RequestText("GET", "/admin.css", 0, {}, "Connection: close\r\n"));
  EXPECT_EQ(200, connection.Read().status);
  EXPECT_TRUE(connection.IsClosedByServer());
}

struct BadRequest {
  const char* name;
  std::string text;
  int status;
};

TEST_F(ConnectionTest, UnacceptableRequestsGetA4xxAndTheConnectionCloses) {
  const BadRequest cases[] = {
      {"no version", "GET /\r\n\r\n", 400},
      {"lower-case method", "get / HTTP/1.1\r\n\r\n", 400},
      {"path without slash", "GET index.html HTTP/1.1\r\n\r\n", 400},
      {"unknown version", "GET / HTTP/2.5\r\n\r\n", 400},
      {"length not a number", "POST /index.html HTTP/1.1\r\nContent-Length: 12x\r\n\r\n", 400},
      {"negative length", "POST /index.html HTTP/1.1\r\nContent-Length: -1\r\n\r\n", 400},
      {"two lengths", "POST /index.html HTTP/1.1\r\nContent-Length: 1\r\nContent-Length: 2\r\n\r\n", 400},
      {"body too large", "POST /index.html HTTP/1.1\r\nContent-Length: 99999999\r\n\r\n", 413},
      {"chunked", "POST /index.html HTTP/1.1\r\nTransfer-Encoding: chunked\r\n\r\n", 501},
      {"header without name", "GET / HTTP/1.1\r\n: x\r\n\r\n", 400},
      {"head too large", "GET / HTTP/1.1\r\nX-Big: " + std::string(kMaxRequestHead + 10, 'a') + "\r\n\r\n", 431},
      {"endless head", "GET / HTTP/1.1\r\nX-Big: " + std::string(kMaxRequestHead + 10, 'a'), 431},
  };
  for (const BadRequest& c : cases) {
    SCOPED_TRACE(c.name);
    TestConnection connection(port_);
    connection.Send(c.text);
    HttpResponse reply = connection.Read();
    EXPECT_EQ(c.status, reply.status);
    EXPECT_EQ("close", reply.Header("Connection"));
    EXPECT_TRUE(connection.IsClosedByServer());
  }
}

TEST_F(ConnectionTest, OtherMethodsAndUnknownPathsStillGetAWholePage) {
  for (const char* method : {"PUT", "DELETE", "OPTIONS"}) {
    HttpResponse reply = Ask(std::string(method) + " / HTTP/1.1\r\n\r\n");
    EXPECT_EQ(200, reply.status) << method;
    EXPECT_EQ(std::to_string(reply.body.size()), reply.Header("Content-Length"));
    EXPECT_NE(std::string::npos, reply.body.find("请重新登陆"));
  }
}

TEST_F(ConnectionTest, Http10ClosesAfterTheReply) {
  TestConnection connection(port_);
  connection.Send("GET /admin.css HTTP/1.0\r\n\r\n");
  EXPECT_EQ(200, connection.Read().status);
  EXPECT_TRUE(connection.IsClosedByServer());
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
