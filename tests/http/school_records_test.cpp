// The school records page and the save of one cell.
#include <gtest/gtest.h>

#include <string>

#include "database/gbk_text.h"
#include "tests/http/server_fixture.h"
#include "tests/testing/scoring_meet.h"

namespace korva {

namespace {

class SchoolRecordsServer : public ServerTest {
 protected:
  void SetUp() override {
    ServerTest::SetUp();
    OpenScoringMeet(*meet_,
                    "INSERT INTO base.qrtb188 (qrtb190, qrtb191, qrtb192, qrtb193, qrtb196, qrtb199, qrtb202, qrtb208,"
                    " qrtb209, qrtb210) VALUES (1, '一年级', 2, '跳远', 4500, '<李>', '一年级01班', '米', '春季运动会', 2);");
    admin_ = LoginAdmin();
  }
  SessionCookie admin_;
};

TEST_F(SchoolRecordsServer, EveryEventGradeAndSexHasItsCellAndACellSavesItself) {
  HttpResponse page = Get("/ShowTopScore.html", admin_);
  ASSERT_EQ(page.status, 200);
  const std::string& body = page.body;
  // Five events, one grade: ten cells; the girls' long jump shows its record
  // with its holder, escaped.
  EXPECT_NE(body.find("<div class=\"TabDivHui\">最高纪录设置</div>"), std::string::npos);
  EXPECT_NE(body.find("【4x100米接力】比赛项目最高纪录成绩"), std::string::npos);
  EXPECT_NE(body.find("id=\"MaxI\" value=\"10\""), std::string::npos);
  EXPECT_NE(body.find("<td title=\"在春季运动会中由一年级01班&lt;李&gt;创造！\">"), std::string::npos) << GbkToUtf8(body);
  EXPECT_NE(body.find("id=\"OldScore4\" value=\"4.50\">一年级女子：<input type=\"text\" name=\"TopScore4\" "
                      "id=\"TopScore4\" value=\"4.50\" size=\"12\" maxlength=\"12\" onblur=\"Tblueme(4);\" "
                      "onkeydown=\"Tpanduankey(4);\" onfocus=\"Tselme(4);\">"),
            std::string::npos);

  EXPECT_EQ(Get("/uptopcj.html?Dstr=1=902=2=4.60=%C3%D7", admin_).body, "14.60");
  EXPECT_EQ(Get("/uptopcj.html", admin_).body, "2");
  EXPECT_NE(Get("/ShowTopScore.html", admin_).body.find("value=\"4.60\""), std::string::npos);
  // Without a staff login nothing is saved: the session-expired page.
  EXPECT_EQ(Get("/uptopcj.html?Dstr=1=902=2=").body.substr(0, 1), "<");
}

}  // namespace

}  // namespace korva
