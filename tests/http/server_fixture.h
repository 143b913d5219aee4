#pragma once
// A fresh data folder, the in-process server on a free loopback port, and
// helpers to talk to it. Each test starts with an empty session list.
#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "host/routes.h"
#include "tests/http/http_client.h"
#include "tests/testing/meet_fixture.h"
#include "web/login_list.h"
#include "web/web_server.h"

namespace korva {

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
    WebSuspended = 0;
    FreeLoginList();
    meet_.reset();
  }

  // One request on a connection of its own.
  HttpResponse Ask(const std::string& request_text) {
    TestConnection connection(port_);
    EXPECT_TRUE(connection.ok());
    connection.Send(request_text);
    return connection.Read();
  }
  HttpResponse Get(const std::string& path, int session = 0) { return Ask(RequestText("GET", path, session)); }
  HttpResponse Post(const std::string& path, const std::string& body, int session = 0) {
    return Ask(RequestText("POST", path, session, body));
  }

  // Logs in as the built-in administrator; returns the session number.
  int LoginAdmin() {
    int session = CookieNumber(Get("/AdminIndex.html"));
    HttpResponse reply = Post("/AdminIndex.html", "UserName=admin&PassWord=" + meet_->admin_password(), session);
    EXPECT_NE(std::string::npos, reply.body.find("/Admin.html")) << reply.body;
    return session;
  }

  std::unique_ptr<MeetFixture> meet_;
  int port_ = 0;
};

}  // namespace korva
