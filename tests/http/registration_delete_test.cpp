// Deleting ticked athletes through POST /DelST.html over loopback.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "tests/http/registration_fixture.h"

namespace {

using ::testing::ElementsAre;
using ::testing::HasSubstr;
using ::testing::Not;

class RegistrationDeleteTest : public RegistrationServerTest {
 protected:
  int StoredLaneCount() {
    DataGuard hold(DataLock);
    Statement st(MeetConnection(), "SELECT count(*) FROM qrtb479");
    return st.Next() ? st.ReadIntField(0) : -1;
  }
};

// Boys 甲 乙 丙 and girl 丁 of class 101, boy 戊 of class 102; 乙 has a
// result, 甲 a lane without one.
std::string ThreeBoys() {
  return AthleteSql(1, "甲", 1, 101, 1, {1101}) + AthleteSql(2, "乙", 1, 101, 1, {1101}) +
         AthleteSql(3, "丙", 1, 101, 1, {}) + AthleteSql(4, "丁", 1, 101, 2, {}) +
         AthleteSql(5, "戊", 1, 102, 1, {}) +
         "INSERT INTO qrtb444 (qrtb445, qrtb446, qrtb447, qrtb448, qrtb449, qrtb450) VALUES (1, 1101, 3, 0, 1, 1);"
         "INSERT INTO qrtb479 (qrtb480, qrtb481, qrtb482, qrtb483, qrtb484, qrtb485, qrtb486) VALUES"
         " (1, 1, 1, 1, 1, NULL, 0), (2, 1, 1, 2, 2, 1234, 0);";
}

TEST_F(RegistrationDeleteTest, DeletesTheTickedAthletesAndKeepsThoseWithAResult) {
  OpenMeet(ThreeBoys());
  int session = LoginTeacher();
  HttpResponse reply = Post("/DelST.html", "sex=1&manc1=1&manc1=2&manc1=3", session);
  EXPECT_THAT(reply.body, HasSubstr("<tr><td class=\"bstdd\"><img src=\"error.jpg\" /><br>[乙]已经有成绩，不允许删除！<br />\r\n</td></tr>"));
  EXPECT_THAT(reply.body, HasSubstr("请返回班级首页查看！"));
  EXPECT_THAT(ListedNames(), ElementsAre("乙", "丁", "戊"));
  EXPECT_EQ(StoredAthleteId("甲"), 0);
  EXPECT_EQ(StoredAthleteId("丙"), 0);
  EXPECT_TRUE(StoredEntries(1).empty());
  EXPECT_EQ(StoredLaneCount(), 1);  // 甲's lane went with him

  HttpResponse done = Post("/DelST.html", "sex=2&mmc1=4", session);
  EXPECT_THAT(done.body, HasSubstr("/ShowClass.html"));
  EXPECT_THAT(done.body, Not(HasSubstr("error.jpg")));
  EXPECT_EQ(StoredAthleteId("丁"), 0);
}

TEST_F(RegistrationDeleteTest, AnotherClassOrSexIsRefusedAsIllegal) {
  OpenMeet(ThreeBoys());
  int session = LoginTeacher();
  // 丙 goes first; the request stops at 戊 of class 102.
  HttpResponse reply = Post("/DelST.html", "sex=1&manc1=3&manc1=5&manc1=1", session);
  EXPECT_THAT(reply.body, HasSubstr("<br>非法的操作</td></tr>"));
  EXPECT_EQ(StoredAthleteId("丙"), 0);
  EXPECT_GT(StoredAthleteId("戊"), 0);
  EXPECT_GT(StoredAthleteId("甲"), 0);
  EXPECT_THAT(Post("/DelST.html", "sex=1&manc1=4", session).body, HasSubstr("<br>非法的操作</td></tr>"));
  EXPECT_GT(StoredAthleteId("丁"), 0);
  // Unknown ids are passed over.
  EXPECT_THAT(Post("/DelST.html", "sex=1&manc1=99", session).body, HasSubstr("/ShowClass.html"));
}

TEST_F(RegistrationDeleteTest, MalformedRequestsAreRefused) {
  OpenMeet(ThreeBoys());
  int session = LoginTeacher();
  for (const char* body : {"sex=3&manc1=1", "sex=1", "sex=2&manc1=4", "manc1=1"}) {
    EXPECT_THAT(Post("/DelST.html", body, session).body, HasSubstr("<br>网页提交的数据有错误！</td></tr>")) << body;
  }
  EXPECT_EQ(StoredAthleteCount(), 5);
}

TEST_F(RegistrationDeleteTest, NothingIsDeletedOnceRegistrationHasClosed) {
  OpenMeet(ThreeBoys(), 1);
  int session = LoginTeacher();
  HttpResponse reply = Post("/DelST.html", "sex=1&manc1=3", session);
  EXPECT_THAT(reply.body, HasSubstr("<br>运动员报名已经截止！</td></tr>"));
  EXPECT_EQ(StoredAthleteCount(), 5);
  EXPECT_THAT(ListedNames(), ElementsAre("甲", "乙", "丙", "丁", "戊"));
}

}  // namespace
