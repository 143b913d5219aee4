#pragma once
// A fresh data folder, the in-process server on a free loopback port, and
// helpers to talk to it. Each test starts with an empty session list, no
// failed logins and the default server limits.
#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "host/routes.h"
#include "tests/http/http_client.h"
#include "tests/testing/meet_fixture.h"
#include "web/login.h"
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

  // Signs a new session in as a staff account; returns its cookie.
  SessionCookie SignInStaff(const std::string& name, const std::string& password) {
    SessionCookie session = CookieNumber(Get("/AdminIndex.html"));
    HttpResponse reply = Post("/AdminIndex.html", "UserName=" + name + "&PassWord=" + password, session);
    EXPECT_NE(std::string::npos, reply.body.find("/Admin.html")) << reply.body;
    return CookieNumber(reply);
  }
  SessionCookie LoginAdmin() { return SignInStaff("admin", meet_->admin_password()); }

  // One result as the score-entry page sends it (record: the standing
  // record's value the page holds, -65535 for none).
  HttpResponse Upload(SessionCookie session, int round, int athlete, const std::string& text, int mode = 1,
                      int status = 0, int record = -65535) {
    return Get("/upcj.html?Dstr=" + std::to_string(round) + "=" + std::to_string(athlete) + "=" +
                   std::to_string(status) + "=" + std::to_string(record) + "=-65535=-65535=" + std::to_string(mode) +
                   "=" + text,
               session);
  }

  std::unique_ptr<MeetFixture> meet_;
  int port_ = 0;
};

}  // namespace korva
