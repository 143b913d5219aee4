// The class teacher's results page and password page over loopback, and the
// password change behind them.
#include <gtest/gtest.h>

#include "tests/http/registration_fixture.h"
#include "tests/testing/text_count.h"

namespace korva {

namespace {

class ClassResultsTest : public RegistrationServerTest {};


// 100米 of the boys with a preliminary (5001) and its final (5002, counted
// on 3 May at 09:05); the boys' relay (5005, counted at 14:30) with class
// 101's team of two in one lane; the mixed relay (5006) not run yet.
const char* kResultsSql = R"sql(
UPDATE qrtb425 SET qrtb429 = 1, qrtb430 = 8 WHERE qrtb426 = 1101;
INSERT INTO qrtb444 (qrtb445, qrtb446, qrtb447, qrtb448, qrtb452, qrtb453, qrtb458) VALUES
  (5001, 1101, 1, 0, 3, 8, 0), (5002, 1101, 2, 0, 2, 6, 5030905), (5005, 1105, 3, 0, 2, 6, 5031430),
  (5006, 1206, 3, 0, 1, 6, 0);
INSERT INTO qrtb479 (qrtb480, qrtb481, qrtb482, qrtb483, qrtb484, qrtb485, qrtb486, qrtb487, qrtb488, qrtb489) VALUES
  (1, 5001, 1, 3, 1, 1234, 0, 999, 0, 0), (2, 5001, 1, 4, 2, 1300, 0, 0, 0, 0), (3, 5001, 1, 5, 4, 1250, 0, 999, 0, 0),
  (4, 5002, 1, 4, 1, 1200, 0, 1, 700, 0), (5, 5002, 1, 5, 4, 1240, 0, 2, 500, 0),
  (6, 5005, 1, 3, 1, 5000, 0, 2, 550, 0), (7, 5005, 1, 3, 2, 5000, 0, 2, 550, 0),
  (8, 5006, 1, 4, 3, NULL, 0, 0, 0, 0);
)sql";

TEST_F(ClassResultsTest, ThePasswordChangesOnlyWithTheOldOneToAGoodNewOne) {
  OpenMeet();
  const SessionCookie teacher = LoginTeacher();
  const std::string form = Get("/ChangPass.html", teacher).body;
  for (const char* part : {"请输入原密码：", "id=\"oldpassword\"", "请输入新密码：", "id=\"newpassword\"",
                           "请重新输入新密码：", "id=\"newpassword2\"", "onclick=\"bjchangpass()\"", "name=\"quxiao\""}) {
    EXPECT_TRUE(Has(form, part)) << part;
  }
  EXPECT_FALSE(Has(form, "<%="));

  // Wrong old password, empty, too short, emptied by the field filter.
  for (const char* query : {"oldword=9999&newword=abcd", "oldword=1111&newword=", "oldword=1111&newword=abc",
                            "oldword=1111&newword=ab%27cd"}) {
    EXPECT_EQ(Get(std::string("/ChangTeacPW.html?") + query, teacher).body, "ER") << query;
  }
  EXPECT_EQ(Stored("SELECT qrtb10 FROM qrtb7 WHERE qrtb16 = 101"), std::vector<std::string>{"1111"});
  EXPECT_EQ(Get("/ChangTeacPW.html?oldword=1111&newword=abcd", teacher).body, "OK");
  EXPECT_EQ(Stored("SELECT qrtb10 FROM qrtb7 WHERE qrtb16 = 101"), std::vector<std::string>{"abcd"});
  LoginTeacher(101, "abcd");
}

}  // namespace

}  // namespace korva
