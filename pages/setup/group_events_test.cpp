#include "pages/setup/group_events.h"

#include <gtest/gtest.h>

#include <string>

#include "database/data_lock.h"
#include "tests/testing/meet_fixture.h"

namespace korva {

namespace {

TEST(BuildGroupEventsForm, OneTablePerGroupWithItsChosenEvents) {
  MeetFixture f;
  f.OpenNewMeet(
      "INSERT INTO qrtb373 (qrtb374, qrtb375, qrtb376, qrtb381, qrtb382) VALUES (1, 1, 1, 6, 2), (2, 1, 2, 5, 1);"
      "UPDATE qrtb331 SET qrtb341 = 1;"
      "INSERT INTO qrtb467 (qrtb469, qrtb470) VALUES (1, 3), (1, 15);"
      "UPDATE qrtb306 SET qrtb308 = '<b>跳远' WHERE qrtb307 = 9;");
  DataReadGuard hold(DataLock);
  const std::string form = BuildGroupEventsForm();
  for (const char* part : {
           "<input type=\"hidden\" name=\"jszid\" value=\"1\" />",
           "id=\"BsLb1\" readonly=\"readonly\" size=\"90\" value=\"100米;8×50米迎面接力;\"",
           "name=\"bsidz1\" value=\"3\" checked=\"checked\" class=\"setupbs\" onclick=\"setupbs(1,1)\"",
           "name=\"bsidz2\" value=\"3\" class=\"setupbs\" onclick=\"setupbs(2,2)\"",
           "name=\"bsidz1\" value=\"15\" checked=\"checked\" class=\"setupHunTuanbs\" onclick=\"setupHunTuanbs(1,15,1)\"",
           "onclick=\"setupHunTuanbs(2,15,-1)\"", "<table name=\"girljsz\"", "&lt;b&gt;跳远",
           "value=\"\" onfocus=\"HideMatchSelect(2)\"", "<table name=\"allbslb\" id=\"allbslb1\" width=\"100%\">",
           "<table name=\"allbslb\" id=\"allbslb2\" width=\"100%\" style=\"display:none\">"})
    EXPECT_NE(form.find(part), std::string::npos) << part;
  EXPECT_EQ(form.find("<b>"), std::string::npos);
}

}  // namespace

}  // namespace korva
