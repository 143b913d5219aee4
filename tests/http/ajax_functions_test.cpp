// The administrative AJAX functions over loopback: preliminaries added and
// removed per contest, qualifiers, places and schemes stepped, and the lists
// following the file after every answer, a refusal and a failed write.
#include <gtest/gtest.h>

#include "database/lookups.h"
#include "tests/http/server_fixture.h"
#include "tests/testing/sql_file.h"

namespace korva {

namespace {

class AjaxFunctionTest : public ServerTest {
 protected:
  void OpenScoringMeet(const std::string& extra_sql = {}) {
    OpenMeetAndSignIn(ReadTestingSql("scoring_meet.sql") + extra_sql);
  }

  std::string Ajax(const std::string& dstr) { return Page("/ajaxfun.html?Dstr=" + dstr); }

  void ExpectListsFollowTheFile() {
    EXPECT_EQ(ListedRounds(), StoredRounds());
    EXPECT_EQ(ListedContests(), StoredContests());
    DataGuard hold(DataLock);
    EXPECT_EQ(static_cast<int>(Model().LaneList.size()), MeetInt("SELECT count(*) FROM qrtb479"));
  }

  static void SetHeats(int event_id, int yu_jue) {
    DataGuard hold(DataLock);
    RunMeetSql("UPDATE qrtb306 SET qrtb312 = " + std::to_string(yu_jue) +
               " WHERE qrtb307 = " + std::to_string(event_id));
    FindEventById(event_id)->YuJueType = yu_jue;
  }
};

// The girls' 100米 runs a preliminary (round 6) and a final (round 7) while
// the event asks for none; the boys' runs one final (round 1).
TEST_F(AjaxFunctionTest, PreliminariesFollowTheEventsHeatsSetting) {
  OpenScoringMeet();
  EXPECT_EQ(Ajax("1%20901%200%200%200"), "一年级女子100米[预赛] 已删除;<br>\r\n");
  // The preliminary took the final's slot and places; the final went with
  // its lanes.
  EXPECT_EQ(MeetText("SELECT qrtb447, qrtb449, qrtb450, qrtb453 FROM qrtb444 WHERE qrtb445 = 6"), "3|2|1|6");
  EXPECT_EQ(MeetInt("SELECT count(*) FROM qrtb444 WHERE qrtb445 = 7"), 0);
  EXPECT_EQ(MeetInt("SELECT qrtb429 FROM qrtb425 WHERE qrtb426 = 1201"), 0);
  EXPECT_EQ(MeetInt("SELECT count(*) FROM qrtb479 WHERE qrtb481 = 6"), 10);
  ExpectListsFollowTheFile();
  EXPECT_EQ(Ajax("1%20901"), "");  // every contest matches now

  SetHeats(901, 1);
  EXPECT_EQ(Ajax("1+901"),
            "一年级男子100米[预赛] 已添加，请转至“日程安排”安排比赛;<br>\r\n"
            "一年级女子100米[预赛] 已添加，请转至“日程安排”安排比赛;<br>\r\n");
  // The single finals became preliminaries with the contests' qualifiers;
  // new finals with the contests' places wait for the schedule.
  EXPECT_EQ(StoredRounds(),
            "1|1101|1|1|1|10|0\n2|1102|3|1|2|6|3\n3|1103|3|1|3|8|6\n4|1104|3|1|4|2|6\n5|1105|3|1|5|3|6\n"
            "6|1201|1|2|1|10|8\n8|1202|3|2|2|21|20\n9|1101|2|0|0|0|6\n10|1201|2|0|0|0|6");
  ExpectListsFollowTheFile();
  {
    DataGuard hold(DataLock);
    const auto& rounds = Model().RoundList;
    auto at = [&](int id) {
      return std::find_if(rounds.begin(), rounds.end(), [&](const RoundNode& r) { return r.Id == id; });
    };
    EXPECT_EQ(at(1) + 1, at(9));  // a new final follows its preliminary
    EXPECT_EQ(at(6) + 1, at(10));
  }
}

TEST_F(AjaxFunctionTest, RoundsWithResultsKeepTheirPreliminaries) {
  struct Case {
    const char* name;
    const char* sql;
    const char* reply;
  } cases[] = {
      {"final result",
       "INSERT INTO qrtb479 (qrtb480, qrtb481, qrtb482, qrtb483, qrtb484, qrtb485, qrtb486)"
       " VALUES (900, 7, 1, 1, 101, 1234, 0);",
       "一年级女子100米已有决赛成绩，无法删除预赛！"},
      {"final status",
       "INSERT INTO qrtb479 (qrtb480, qrtb481, qrtb482, qrtb483, qrtb484, qrtb486)"
       " VALUES (900, 7, 1, 1, 101, 2);",
       "一年级女子100米已有决赛成绩，无法删除预赛！"},
      {"preliminary result", "UPDATE qrtb479 SET qrtb485 = 1234 WHERE qrtb480 = 601;",
       "一年级女子100米已有预赛成绩，无法删除预赛！"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    TearDown();
    SetUp();
    OpenScoringMeet(c.sql);
    const std::string before = MeetFileRows();
    EXPECT_EQ(Ajax("1%20901"), c.reply);
    EXPECT_EQ(MeetFileRows(), before);
    ExpectListsFollowTheFile();
  }
  EXPECT_EQ(Ajax("1%20999"), "找不到比赛项目！");
}

// The boys' 100米 also runs preliminaries (rounds 1 and 9): the second
// contest's final can't be deleted. The first contest keeps its change;
// the second is as it was, in the file and in the lists.
TEST_F(AjaxFunctionTest, AFailedWriteUndoesItsContestOnly) {
  OpenScoringMeet(
      "UPDATE qrtb425 SET qrtb429 = 1, qrtb430 = 8 WHERE qrtb426 = 1101;"
      "UPDATE qrtb444 SET qrtb447 = 1 WHERE qrtb445 = 1;"
      "INSERT INTO qrtb444 (qrtb445, qrtb446, qrtb447, qrtb448, qrtb449, qrtb450, qrtb451, qrtb452, qrtb453)"
      " VALUES (9, 1101, 2, 0, 2, 3, 10, 0, 6);");
  const std::string girls_before = Rows("SELECT * FROM qrtb444 WHERE qrtb446 = 1201") +
                                   Rows("SELECT * FROM qrtb425 WHERE qrtb426 = 1201") +
                                   Rows("SELECT * FROM qrtb479 WHERE qrtb481 IN (6, 7)");
  {
    DataGuard hold(DataLock);
    RunMeetSql(
        "CREATE TEMP TRIGGER keep_round_7 BEFORE DELETE ON qrtb444 WHEN OLD.qrtb445 = 7"
        " BEGIN SELECT RAISE(ABORT, 'forced failure'); END;");
  }
  EXPECT_EQ(Ajax("1%20901"),
            "一年级男子100米[预赛] 已删除;<br>\r\n数据库操作失败，错误号00922，无法删除预赛，请联系开发者！");
  DropTrigger("keep_round_7");
  EXPECT_EQ(MeetText("SELECT qrtb447, qrtb449, qrtb450 FROM qrtb444 WHERE qrtb445 = 1"), "3|2|3");
  EXPECT_EQ(MeetInt("SELECT count(*) FROM qrtb444 WHERE qrtb445 = 9"), 0);
  EXPECT_EQ(Rows("SELECT * FROM qrtb444 WHERE qrtb446 = 1201") + Rows("SELECT * FROM qrtb425 WHERE qrtb426 = 1201") +
                Rows("SELECT * FROM qrtb479 WHERE qrtb481 IN (6, 7)"),
            girls_before);
  ExpectListsFollowTheFile();

  // An addition whose new final can't be stored changes nothing.
  SetHeats(902, 1);
  const std::string before = MeetFileRows();
  FailOn("INSERT", "qrtb444", "no_rounds");
  EXPECT_EQ(Ajax("1%20902"), "数据库操作失败，错误号00922，无法添加预赛，请联系开发者！");
  DropTrigger("no_rounds");
  EXPECT_EQ(MeetFileRows(), before);
  ExpectListsFollowTheFile();
}

TEST_F(AjaxFunctionTest, QualifiersPlacesAndSchemesStepByStep) {
  // Contest 1104 ranks one place; round 7 (the girls' final) has no
  // entrants yet.
  OpenScoringMeet("UPDATE qrtb425 SET qrtb431 = 1 WHERE qrtb426 = 1104;");
  struct Step {
    const char* dstr;
    const char* reply;
    const char* contest;  // "prelims|qualifiers|places|scheme" of the contest afterwards
    int contest_id;
    int round_id;  // whose places follow the count
    int round_places;
  } steps[] = {
      {"11%201201%2031%200%200", "31-7", "1|7|6|0", 1201, 6, 7},
      {"12%201201%2031%200%200", "31-8", "1|8|6|0", 1201, 6, 8},
      {"12%201201%2031%200%200", "31-9", "1|9|6|0", 1201, 6, 9},
      {"12%201201%2031%200%200", "31-10", "1|10|6|0", 1201, 6, 10},
      {"12%201201%2031%200%200", "31-10", "1|10|6|0", 1201, 6, 10},  // as many as the entrants
      {"13%201101%2012%200%200", "12-5", "0|0|5|0", 1101, 1, 5},
      {"14%201101%2012%200%200", "12-6", "0|0|6|0", 1101, 1, 6},
      {"14%201201%2022%200%200", "22-7", "1|10|7|0", 1201, 7, 7},  // a final without entrants yet
      {"13%201104%2042%200%200", "42-1", "0|0|1|0", 1104, 4, 6},   // at 1: nothing saved
      {"15%202%201101%200%200", "一年级男子100米比赛的分制被成功定义为“二十名制”！", "0|0|6|2", 1101, 1, 6},
      {"15%201%201202%200%200", "一年级女子跳远比赛的分制被成功定义为“八名制”！", "0|0|20|0", 1202, 8, 20},
  };
  for (const Step& step : steps) {
    SCOPED_TRACE(step.dstr);
    EXPECT_EQ(Ajax(step.dstr), step.reply);
    EXPECT_EQ(MeetText("SELECT qrtb429, qrtb430, qrtb431, qrtb436 FROM qrtb425 WHERE qrtb426 = " +
                       std::to_string(step.contest_id)),
              step.contest);
    EXPECT_EQ(MeetInt("SELECT qrtb453 FROM qrtb444 WHERE qrtb445 = " + std::to_string(step.round_id)),
              step.round_places);
    ExpectListsFollowTheFile();
  }

  const std::string before = MeetFileRows();
  const struct {
    std::string dstr;
    const char* reply;
  } refusals[] = {
      {"11%201101%2011%200%200", "error"},  // no preliminary
      {"13%20999%2011%200%200", "error"},
      {"15%209%201101%200%200", "error"},  // no such scheme
      {"15%201%20999%200%200", "error"},
      {"2%201%201", ""},
      {"", "数据发生错误，错误号：09221，请联系开发者！"},
      {"x11%201101", "数据发生错误，错误号：09221，请联系开发者！"},
      {"11%201201%2031%200%200&pad=" + std::string(80, 'x'), "数据发生错误，错误号：09221，请联系开发者！"},
  };
  for (const auto& refusal : refusals) EXPECT_EQ(Ajax(refusal.dstr), refusal.reply) << refusal.dstr;
  FailOn("UPDATE", "qrtb425", "no_contests");
  EXPECT_EQ(Ajax("11%201201%2031%200%200"), "error");
  EXPECT_EQ(Ajax("15%202%201202%200%200"), "error");
  DropTrigger("no_contests");
  EXPECT_EQ(MeetFileRows(), before);
  ExpectListsFollowTheFile();
}

}  // namespace

}  // namespace korva
