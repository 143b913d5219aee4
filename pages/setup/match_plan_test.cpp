#include "pages/setup/match_plan.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "database/data_error.h"
#include "database/lookups.h"
#include "database/store_test_support.h"
#include "tests/testing/schedule_meet.h"
#include "web/templates.h"
#include "tests/testing/text_count.h"

namespace korva {

namespace {

using Lines = std::vector<std::string>;

// The options of a select of the page as "<value> <text>", "*" in front of
// a selected one.
Lines Options(const std::string& page, const std::string& list) {
  Lines options;
  std::size_t at = page.find("id=\"" + list + "\"");
  std::size_t end = page.find("</select>", at);
  while (at != std::string::npos && (at = page.find("<option ", at)) < end) {
    std::size_t value = page.find("value=\"", at) + 7;
    std::size_t close = page.find('>', at);
    std::size_t text_end = page.find("</option>", at);
    options.push_back((Has(page.substr(at, close - at), "selected") ? "*" : "") +
                      page.substr(value, page.find('"', value) - value) + " " +
                      page.substr(close + 1, text_end - close - 1));
    at = text_end;
  }
  return options;
}

class MatchPlanTest : public ::testing::Test {
 protected:
  static void SetUpTestSuite() { LoadHtmlTemplateCache(); }

  void Open(const std::string& extra_sql = {}, int ceremony = 2) {
    FixtureMeetSettings settings;
    settings.OpeningCeremony = ceremony;
    fixture_.OpenNewMeet(ScheduleMeetSql() + extra_sql, settings);
  }

  std::string Page(int day, int type, const std::string& selection = {}) {
    std::string reply;
    EXPECT_EQ(ServeMatchPlanPage(admin_, reply, day, type, selection), 0);
    return reply;
  }

  int Post(const std::string& body) { return HandleMatchPlanPost(body, reply_); }

  // "session|order|duration" of a round, the same in the file and in
  // RoundList.
  std::string Slot(int round_id) {
    std::string stored =
        MeetText("SELECT qrtb449, qrtb450, qrtb451 FROM qrtb444 WHERE qrtb445 = " + std::to_string(round_id));
    const RoundNode* r = FindRoundById(round_id);
    EXPECT_EQ(stored, std::to_string(r->Session) + "|" + std::to_string(r->Order) + "|" + std::to_string(r->Duration));
    return stored;
  }

  MeetFixture fixture_;
  LoginNode admin_{.Role = kRoleAdmin};
  std::string reply_;
};

// Names on the page are in the rendered pages' sweep.
TEST_F(MatchPlanTest, PageListsWhatIsLeftWithEstimatesAndTheChosenSession) {
  // Round 5 has a session but no order: listed, not counted.
  Open(PlaceRoundSql(5, 1, 0, 0) + PlaceRoundSql(3, 2, 1, 5) + PlaceRoundSql(4, 2, 2, 5));
  std::string track = Page(2, 1, "YapSel=-4-33-");
  EXPECT_EQ(Options(track, "dablist"),
            (Lines{"1 一年级男子100米[预赛](1分钟)", "2 一年级男子100米[决赛](1分钟)", "7 一年级男子60米[三项全能](1分钟)",
                   "9 一年级男子团体4×100米接力[决赛](3分钟)", "10 一年级混团8×50米迎面接力[决赛](3分钟)"}));
  EXPECT_TRUE(Has(track, "<option title=\"一年级男子100米[预赛](预计需要1分钟)\" value=\"1\">"));
  EXPECT_EQ(Options(track, "yablist"), (Lines{"3 一年级女子100米[决赛]1 12:00", "*4 一年级男子200米[决赛]2 12:05"}));
  EXPECT_EQ(Options(track, "riqi"), (Lines{"1 第1天上午AM", "*2 第1天下午PM", "3 第2天上午AM", "4 第2天下午PM"}));
  EXPECT_TRUE(Has(track, "径赛第1天下午已排比赛列表[已排2项]"));
  EXPECT_TRUE(Has(track, "正在安排径赛(还有5项比赛待安排)"));
  EXPECT_TRUE(Has(track, "href=\"MatchPlan.html?DayID=2&MatchType=2\">田赛(还有2项比赛待安排)"));
  EXPECT_FALSE(Has(track, "<%="));
  EXPECT_EQ(Options(Page(0, 2), "dablist"), (Lines{"6 一年级男子跳高[决赛](16分钟)", "5 一年级男子跳远[决赛](8分钟)",
                                                   "8 一年级男子垒球掷远[三项全能](8分钟)"}));
  // Beyond the meet's sessions: no heading; an unknown kind: the track tab.
  std::string beyond = Page(9, 3);
  EXPECT_FALSE(Has(beyond, "已排比赛列表") || Has(beyond, " selected>"));
  EXPECT_TRUE(Has(beyond, "正在安排径赛("));
}

TEST_F(MatchPlanTest, StartTimesFollowTheSessionStartAndTheRoundLengths) {
  struct Case {
    std::string sql;
    int day, type, ceremony;
    Lines scheduled;
  } cases[] = {
      // Afternoon slot 13: one after another in order.
      {PlaceRoundSql(3, 2, 3, 5) + PlaceRoundSql(4, 2, 2, 15) + PlaceRoundSql(9, 2, 1, 10), 2, 1, 2,
       {"9 一年级男子团体4×100米接力[决赛]1 12:00", "4 一年级男子200米[决赛]2 12:10", "3 一年级女子100米[决赛]3 12:25"}},
      // Morning slot 5 (8:00) after a ceremony of two half hours; an
      // unstored duration counts as the estimate.
      {PlaceRoundSql(1, 1, 1, 0) + PlaceRoundSql(2, 1, 2, 5), 1, 1, 2,
       {"1 一年级男子100米[预赛]1 9:00", "2 一年级男子100米[决赛]2 9:01"}},
      // A ceremony of the whole first morning; later mornings at the slot.
      {PlaceRoundSql(1, 1, 1, 20), 1, 1, 8, {"1 一年级男子100米[预赛]1 12:00"}},
      {PlaceRoundSql(1, 3, 1, 20), 3, 1, 8, {"1 一年级男子100米[预赛]1 8:00"}},
      // Each field venue from the start, the highest venue id first.
      {"UPDATE qrtb306 SET qrtb317 = 4 WHERE qrtb307 = 11;\n" + PlaceRoundSql(8, 1, 3, 10) +
           PlaceRoundSql(6, 1, 2, 16) + PlaceRoundSql(5, 1, 1, 8),
       1, 2, 2, {"6 一年级男子跳高[决赛]2 9:00", "5 一年级男子跳远[决赛]1 9:00", "8 一年级男子垒球掷远[三项全能]3 9:08"}},
  };
  for (const Case& c : cases) {
    Open(c.sql, c.ceremony);
    EXPECT_EQ(Options(Page(c.day, c.type), "yablist"), c.scheduled) << c.sql;
  }
}

TEST_F(MatchPlanTest, EachButtonChangesOrdersAndDurations) {
  // Rounds 5 and 8 share venue 4, round 6 is alone at venue 5; round 4 runs
  // on the round track, which counts as one venue with the straight track.
  Open("UPDATE qrtb306 SET qrtb317 = 4 WHERE qrtb307 = 11;\n" + PlaceRoundSql(1, 1, 1, 1) +
       PlaceRoundSql(4, 1, 2, 2) + PlaceRoundSql(5, 1, 4, 8) + PlaceRoundSql(6, 1, 5, 16) + PlaceRoundSql(8, 1, 6, 8));
  struct Step {
    const char* body;
    const char* query;
    Lines slots;  // rounds 1, 2, 3, 4, 5, 6, 8
  } steps[] = {
      // In, after the highest order, two apart per round; the estimate is
      // stored though no page was built since the meet was loaded.
      {"Isday=1&IsYard=1&CaoZuo=1&dablist=3&dablist=2", "?DayID=1&MatchType=1&YapSel=-3-2-",
       {"1|1|1", "1|9|1", "1|7|1", "1|2|2", "1|4|8", "1|5|16", "1|6|8"}},
      {"Isday=1&IsYard=1&CaoZuo=3&yablist=4", "?DayID=1&MatchType=1&YapSel=-4-",
       {"1|2|1", "1|9|1", "1|7|1", "1|1|2", "1|4|8", "1|5|16", "1|6|8"}},
      {"Isday=1&IsYard=2&CaoZuo=3&yablist=8", nullptr,
       {"1|2|1", "1|9|1", "1|7|1", "1|1|2", "1|6|8", "1|5|16", "1|4|8"}},
      // Without a neighbour at its venue nothing moves, and that is no failure.
      {"Isday=1&IsYard=2&CaoZuo=4&yablist=6", nullptr,
       {"1|2|1", "1|9|1", "1|7|1", "1|1|2", "1|6|8", "1|5|16", "1|4|8"}},
      // A block moves down together, its lowest round first ...
      {"Isday=1&IsYard=1&CaoZuo=4&yablist=4&yablist=1", "?DayID=1&MatchType=1&YapSel=-4-1-",
       {"1|7|1", "1|9|1", "1|1|1", "1|2|2", "1|6|8", "1|5|16", "1|4|8"}},
      // ... and nothing moves when that one is at the bottom.
      {"Isday=1&IsYard=1&CaoZuo=4&yablist=4&yablist=2", nullptr,
       {"1|7|1", "1|9|1", "1|1|1", "1|2|2", "1|6|8", "1|5|16", "1|4|8"}},
      {"Isday=1&IsYard=1&CaoZuo=6&yablist=1&yablist=4", nullptr,
       {"1|7|1", "1|9|1", "1|1|1", "1|2|1", "1|6|8", "1|5|16", "1|4|8"}},
      {"Isday=1&IsYard=2&CaoZuo=5&yablist=6", nullptr,
       {"1|7|1", "1|9|1", "1|1|1", "1|2|1", "1|6|8", "1|5|17", "1|4|8"}},
      {"Isday=1&IsYard=1&CaoZuo=2&yablist=3&yablist=1", "?DayID=1&MatchType=1&YapSel=-3-1-",
       {"0|0|0", "1|9|1", "0|0|0", "1|2|1", "1|6|8", "1|5|17", "1|4|8"}},
  };
  for (const Step& s : steps) {
    EXPECT_EQ(Post(s.body), 0) << s.body;
    if (s.query) {
      EXPECT_EQ(reply_, s.query);
    }
    Lines slots;
    for (int id : {1, 2, 3, 4, 5, 6, 8}) slots.push_back(Slot(id));
    EXPECT_EQ(slots, s.slots) << s.body;
  }
}

TEST_F(MatchPlanTest, RefusedOrFailedPostsChangeNothing) {
  Open(PlaceRoundSql(1, 1, 1, 1));
  const std::string before = Dump({"qrtb444"});
  for (const std::string& body : Lines{"IsYard=1&CaoZuo=1&dablist=2", "Isday=1&CaoZuo=1&dablist=2", "Isday=1&IsYard=1&dablist=2",
                           "Isday=1&IsYard=1&CaoZuo=1&yablist=2", "Isday=1&IsYard=1&CaoZuo=7&yablist=1",
                           "Isday=1&IsYard=1&CaoZuo=2&yablist=1&yablist=99", "Isday=1&IsYard=1&CaoZuo=1&dablist=2&dablist=x",
                           "Isday=1&IsYard=1&CaoZuo=1&dablist=2&dablist=" + std::string(120, '2')}) {
    EXPECT_EQ(Post(body), 1) << body;
    EXPECT_EQ(reply_, "网页提交的数据有错误！") << body;
  }
  EXPECT_EQ(Dump({"qrtb444"}), before);
  FailOn("UPDATE", "qrtb444", "no_rounds");
  EXPECT_EQ(Post("Isday=1&IsYard=1&CaoZuo=1&dablist=3&dablist=2"), 1);
  EXPECT_EQ(reply_, "数据库操作发生错误！[NO.660]");
  DropTrigger("no_rounds");
  EXPECT_EQ(Slot(2), "0|0|0");  // the estimate given to it is taken back too
}

// The loader joins every round with its contest, group and event: a missing
// node is a list that changed under the rounds, taken out here by hand.
TEST_F(MatchPlanTest, MissingDataBuildsNoPage) {
  Open();
  struct Case {
    const char* missing;
    void (*take_out)();
    int logged;
  } cases[] = {
      {"contest", [] { std::erase_if(Model().ContestList, [](auto& c) { return c.Id == 12; }); }, 12550},
      {"group", [] { std::erase_if(Model().GroupList, [](auto& g) { return g.Id == 2; }); }, 123511},
      {"venue", [] { std::erase_if(Model().VenueList, [](auto& v) { return v.Id == 4; }); }, 114},
      {"event", [] { std::erase_if(Model().EventList, [](auto& e) { return e.Id == 8; }); }, 0},
      {"combined event", [] { std::erase_if(Model().EventList, [](auto& e) { return e.Id == 16; }); }, 0},
      {"classes", [] { std::erase_if(Model().ClassList, [](auto& c) { return c.GradeId == 1; }); }, 0},
  };
  for (const Case& c : cases) {
    MeetModel loaded = Model();
    c.take_out();
    ShowDataErrorCode(0);
    std::string reply = "kept";
    EXPECT_EQ(ServeMatchPlanPage(admin_, reply, 3, 2, ""), 1) << c.missing;
    EXPECT_EQ(reply, "kept") << c.missing;
    EXPECT_EQ(LastDataErrorCode(), c.logged) << c.missing;
    Model() = loaded;
  }
  // No rounds at all is no fault: the page asks for the groups' events.
  Model().RoundList.clear();
  std::string page = Page(1, 1);
  EXPECT_TRUE(Has(page, "<div class=\"TabDivHui\">④日程安排</div></td></tr>"
                        "<tr><td><br /><br /><h1>请先安排各年级的比赛，然后再进行日程安排！</h1></td></tr>"));
}

}  // namespace

}  // namespace korva
