// The class teacher's results page and password page over loopback, and the
// password change behind them.
#include <gtest/gtest.h>

#include "tests/http/registration_fixture.h"
#include "tests/testing/text_count.h"

namespace korva {

namespace {

class ClassResultsTest : public RegistrationServerTest {};

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
