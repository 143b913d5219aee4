// Deleting ticked athletes through POST /DelST.html over loopback.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "tests/http/server_fixture.h"

namespace korva {

namespace {

using ::testing::ElementsAre;
using ::testing::HasSubstr;

class RegistrationDeleteTest : public RegistrationServerTest {
 protected:
  // Boys 甲 乙 丙 and girl 丁 of class 101, boy 戊 of class 102; 乙 has a
  // result, 甲 a lane without one.
  SessionCookie Open(int closed = 0) {
    OpenMeet(AthleteSql(1, "甲", 1, 101, 1, {1101}) + AthleteSql(2, "乙", 1, 101, 1, {1101}) +
                 AthleteSql(3, "丙", 1, 101, 1, {}) + AthleteSql(4, "丁", 1, 101, 2, {}) +
                 AthleteSql(5, "戊", 1, 102, 1, {}) +
                 "INSERT INTO qrtb444 (qrtb445, qrtb446, qrtb447, qrtb448, qrtb449, qrtb450) VALUES (1, 1101, 3, 0, 1, 1);"
                 "INSERT INTO qrtb479 (qrtb480, qrtb481, qrtb482, qrtb483, qrtb484, qrtb485, qrtb486) VALUES"
                 " (1, 1, 1, 1, 1, NULL, 0), (2, 1, 1, 2, 2, 1234, 0);",
             closed);
    return LoginTeacher();
  }
  std::vector<std::string> StoredNames() { return Stored("SELECT qrtb410 FROM qrtb409 ORDER BY qrtb411"); }
};

TEST_F(RegistrationDeleteTest, DeletesTheTickedAthletesAndKeepsThoseWithAResult) {
  SessionCookie session = Open();
  HttpResponse reply = Post("/DelST.html", "sex=1&manc1=1&manc1=2&manc1=3", session);
  EXPECT_THAT(reply.body, HasSubstr("<tr><td class=\"bstdd\"><img src=\"error.jpg\" /><br>"
                                    "[乙]已经有成绩，不允许删除！<br />\r\n</td></tr>"));
  EXPECT_THAT(reply.body, HasSubstr("请返回班级首页查看！"));
  EXPECT_THAT(ListedNames(), ElementsAre("乙", "丁", "戊"));
  EXPECT_THAT(StoredNames(), ElementsAre("乙", "丁", "戊"));
  EXPECT_THAT(Stored("SELECT qrtb400 FROM qrtb397"), ElementsAre("2"));
  EXPECT_THAT(Stored("SELECT qrtb484 FROM qrtb479"), ElementsAre("2"));  // 甲's lane went with him

  // Unknown ids are passed over; all gone answers the redirect home.
  HttpResponse done = Post("/DelST.html", "sex=2&mmc1=99&mmc1=4", session);
  EXPECT_THAT(done.body, HasSubstr("window.location.href='/ShowClass.html';"));
  EXPECT_THAT(StoredNames(), ElementsAre("乙", "戊"));
}

TEST_F(RegistrationDeleteTest, RefusedRequests) {
  SessionCookie session = Open();
  // 丙 goes first; the request stops at 戊 of class 102.
  EXPECT_THAT(Post("/DelST.html", "sex=1&manc1=3&manc1=5&manc1=1", session).body,
              HasSubstr("<br>非法的操作</td></tr>"));
  EXPECT_THAT(Post("/DelST.html", "sex=1&manc1=4", session).body, HasSubstr("<br>非法的操作</td></tr>"));
  for (const char* body : {"sex=3&manc1=1", "sex=1", "sex=2&manc1=4", "manc1=1"})
    EXPECT_THAT(Post("/DelST.html", body, session).body, HasSubstr("<br>网页提交的数据有错误！</td></tr>")) << body;
  EXPECT_THAT(StoredNames(), ElementsAre("甲", "乙", "丁", "戊"));

  // Once registration has closed nothing is deleted, whatever the request.
  session = Open(1);
  EXPECT_THAT(Post("/DelST.html", "sex=1&manc1=3", session).body, HasSubstr("<br>运动员报名已经截止！</td></tr>"));
  EXPECT_THAT(StoredNames(), ElementsAre("甲", "乙", "丙", "丁", "戊"));
}

}  // namespace

}  // namespace korva
