// The reports and the class points board over the reports' meet, scored
// through the engine upload by upload; the expected totals were worked out
// by hand (tests/testing/report_meet.h).
#include "pages/meet/reports.h"

#include <gtest/gtest.h>

#include <string>

#include "database/gbk_text.h"
#include "engine/scoring_test_support.h"
#include "tests/testing/report_meet.h"
#include "tests/testing/text_count.h"

namespace korva {

namespace {

class ReportsTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(meet_.BaseSql(kReportMeetBaseSql));
    OpenScoringMeet(meet_, kReportMeetSql);
  }
  // Uploads the meet's results from begin up to end (all by default).
  void Score(std::size_t begin = 0, std::size_t end = SIZE_MAX) {
    std::vector<ReportUpload> uploads = ReportMeetUploads();
    for (std::size_t i = begin; i < uploads.size() && i < end; ++i) {
      const ReportUpload& u = uploads[i];
      UploadReply reply = Upload(u.Round, u.Athlete, u.Text, u.Status, 1, u.Record);
      ASSERT_TRUE(reply.code != kReplyFailed && reply.code != kReplyBadScore && reply.code != kReplyAsk)
          << reply.code << " round " << u.Round << " athlete " << u.Athlete << ": " << GbkToUtf8(reply.text);
    }
  }
  MeetFixture meet_;
};

TEST_F(ReportsTest, ResultTablesListEveryFinalTrackThenField) {
  Score();
  const std::string tables = BuildResultTables();
  const std::size_t field = tables.find("田 赛 成 绩 表");
  ASSERT_NE(field, std::string::npos);
  const std::string track = tables.substr(0, field);
  for (const char* heading : {"一年级女子组100米<br>", "一年级男子组100米<br>", "一年级男子组200米<br>",
                              "一年级男子组团队4x100米接力<br>"})
    EXPECT_NE(track.find(heading), std::string::npos) << heading;
  EXPECT_NE(tables.find("一年级男子组跳远<br>", field), std::string::npos);
  EXPECT_NE(tables.find("一年级女子组跳远<br>", field), std::string::npos);
  // Preliminaries and the combined event are not listed.
  EXPECT_EQ(CountOf(tables, "<table"), 6);
  EXPECT_EQ(tables.find("五项全能"), std::string::npos);
  EXPECT_EQ(tables.find("第999名"), std::string::npos);
  // The relay: one row per team with no number or name, the disqualified
  // team not at all.
  const std::string relay = tables.substr(tables.find("4x100米接力<br>"));
  const std::string relay_table = relay.substr(0, relay.find("</table>"));
  EXPECT_EQ(CountOf(relay_table, "<tr>\r\n"), 2);
  EXPECT_NE(relay_table.find("<td align=\"center\">&nbsp;</td>\r\n    <td align=\"center\">&nbsp;</td>\r\n"
                             "    <td align=\"center\">一年级03班</td>\r\n    <td align=\"center\">50秒</td>\r\n"
                             "\t<td align=\"center\">第1名</td>\r\n\t<td align=\"center\">9分</td>"),
            std::string::npos)
      << GbkToUtf8(relay_table);
  // The boys' 100米 with its record.
  EXPECT_NE(tables.find("<td align=\"center\">12.10秒</td>\r\n\t<td align=\"center\">第1名</td>\r\n"
                        "\t<td align=\"center\">12分</td>\r\n    <td align=\"center\">破记录</td>"),
            std::string::npos);
  // The girls' 跳远 lists its twenty placed athletes; 21 and more rows fit
  // as well as 20.
  const std::string jump = tables.substr(tables.find("一年级女子组跳远<br>"));
  EXPECT_EQ(CountOf(jump.substr(0, jump.find("</table>")), "<tr>\r\n"), 20);
}

TEST_F(ReportsTest, ResultTablesShowAnUncountedFinalAsNotFinished) {
  Score(0, 10);  // the 100米 only
  const std::string tables = BuildResultTables();
  EXPECT_NE(tables.find("1、一年级女子组100米<br>\r\n【比赛未完成】<br>\r\n"), std::string::npos) << GbkToUtf8(tables);
  EXPECT_EQ(CountOf(tables, "<table"), 1);
}

TEST_F(ReportsTest, StudentListWaitsForEveryResultAndLeavesQualifiersOut) {
  const std::string refused = "当前运动会未全部完成，还有部分运动员成绩未录入，无法生成学生成绩清单！";
  const std::size_t last = ReportMeetUploads().size() - 1;
  Score(0, last);
  EXPECT_EQ(BuildStudentScoreList(), refused);
  Score(last);
  const std::string list = BuildStudentScoreList();
  ASSERT_NE(list, refused);
  EXPECT_EQ(list.find("第999名"), std::string::npos);
  EXPECT_NE(list.find("<tr><td>一年级</td><td>一年级01班</td><td>003</td><td>男3</td><td>100米</td><td>12.30秒</td>"
                      "<td>第3名</td></tr>\r\n"),
            std::string::npos)
      << GbkToUtf8(list);
  // Every member of a placed team is listed with the team's place.
  EXPECT_EQ(CountOf(list, "<td>4x100米接力</td><td>50秒</td><td>第1名</td>"), 4);
  // Placed lanes: 100米 6, 跳远 3, 200米 6, relay 2 x 4, final 6 (and 2
  // unplaced), girls' 跳远 20.
  EXPECT_EQ(CountOf(list, "<tr><td>一年级</td>"), 6 + 3 + 6 + 8 + 6 + 20);
  // A girl of the final: her preliminary qualifier (999) is not a row.
  EXPECT_EQ(CountOf(list, "<td>女108</td><td>100米</td>"), 1);
}

}  // namespace

}  // namespace korva
