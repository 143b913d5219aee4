#include "pages/meet/order_book_generation.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

#include "database/data_lock.h"
#include "database/gbk_text.h"
#include "database/model.h"
#include "tests/testing/order_book_meet.h"
#include "web/templates.h"

namespace korva {

namespace {

std::vector<int> seen_states;
void RecordState(int state) { seen_states.push_back(state); }

bool NoThread(void (*)()) { return false; }

class OrderBookGenerationTest : public ::testing::Test {
 protected:
  void SetUp() override {
    LoadHtmlTemplateCache();
    OrderBookState = kBookNotRun;
    OrderBookProgressObserver = RecordState;
  }
  void TearDown() override { OrderBookProgressObserver = nullptr; }
  // Runs the worker on this thread; the states it went through.
  std::vector<int> Run() {
    seen_states.clear();
    OrderBookThread();
    return seen_states;
  }

  int Start(bool check_entries, WorkerLauncher launch) {
    std::string list;
    int code = StartOrderBook(check_entries, list, launch);
    list_ = list;
    return code;
  }

  // The recorded order book's path in the data folder (UTF-8), empty when none.
  std::string BookPath() {
    DataGuard hold(DataLock);
    for (const DocumentNode& d : Model().DocumentList)
      if (d.Kind == 1) return fixture_.folder() + "/" + GbkToUtf8(d.FilePath);
    return {};
  }

  MeetFixture fixture_;
  std::string list_;
};

TEST(OrderBookFileName, MonthDayHourMinuteSecondUnpadded) {
  std::tm when{};
  when.tm_year = 2024 - 1900;
  when.tm_mon = 4;
  when.tm_mday = 3;
  when.tm_hour = 9;
  when.tm_min = 5;
  when.tm_sec = 7;
  when.tm_isdst = -1;
  EXPECT_EQ(OrderBookFileName(std::mktime(&when)), "秩序册(53957).doc");
}

// A run numbers, draws, writes and records the book (the HTTP tests read it
// as XML, print it and download it); a second run moves the one record and
// keeps the draw and the numbers.
TEST_F(OrderBookGenerationTest, ARunRecordsTheBookAndASecondMovesTheRecordAndKeepsTheDraw) {
  OpenOrderBookMeet(fixture_);
  const std::vector<int> states = {kBookNumbering, kBookDrawing, kBookRoster, kBookSchedule, kBookWritingFile,
                                   kBookFinished};
  EXPECT_EQ(Run(), states);
  EXPECT_FALSE(BookPath().empty());
  std::vector<LaneNode> lanes;
  {
    DataGuard hold(DataLock);
    for (const AthleteNode& a : Model().AthleteList) EXPECT_NE(a.Bib, 0) << a.Name;
    lanes = Model().LaneList;
    ASSERT_EQ(Model().DocumentList.size(), 1u);
    Model().DocumentList[0].Downloads = 4;
  }
  EXPECT_EQ(Run(), states);
  DataGuard hold(DataLock);
  ASSERT_EQ(Model().DocumentList.size(), 1u);
  EXPECT_EQ(Model().DocumentList[0].Downloads, 0);
  ASSERT_EQ(Model().LaneList.size(), lanes.size());
  for (std::size_t i = 0; i < lanes.size(); ++i) EXPECT_EQ(Model().LaneList[i].Lane, lanes[i].Lane);
}

TEST_F(OrderBookGenerationTest, RunsThatEndWithoutABookLeaveNothingBehind) {
  // No athlete at all.
  OpenOrderBookMeet(fixture_, "DELETE FROM qrtb397; DELETE FROM qrtb409;");
  EXPECT_EQ(Run(), std::vector<int>{kBookNoAthletes});
  EXPECT_TRUE(BookPath().empty());

  // A data folder the file cannot go into.
  OpenOrderBookMeet(fixture_);
  std::string folder;
  {
    DataGuard hold(DataLock);
    folder = Model().DataFolder;
    Model().DataFolder = folder + "/missing";
  }
  EXPECT_EQ(Run(), (std::vector<int>{kBookNumbering, kBookDrawing, kBookRoster, kBookSchedule, kBookWritingFile,
                                     kBookFailed}));
  DataGuard hold(DataLock);
  Model().DataFolder = folder;
  EXPECT_TRUE(Model().DocumentList.empty());
  EXPECT_EQ(OrderBookState, kBookFailed);
}

// The starts that never reach a thread (this program holds DataLock, so a
// worker would wait for it; the HTTP tests start real ones).
TEST_F(OrderBookGenerationTest, StartsAreRefusedUntilTheMeetIsReadyAndWhileARunIsUnderWay) {
  OpenOrderBookMeet(fixture_, {}, 0);
  EXPECT_EQ(Start(false, NoThread), kStartNotReady);  // registration open
  OpenOrderBookMeet(fixture_, "UPDATE qrtb444 SET qrtb450 = 0 WHERE qrtb445 = 6;");
  EXPECT_EQ(Start(false, NoThread), kStartNotReady);  // a round without its order
  OpenOrderBookMeet(fixture_);
  for (int running : {kBookStarting, kBookDrawing, kBookWritingFile}) {
    OrderBookState = running;
    EXPECT_EQ(Start(false, NoThread), kStartBusy) << running;
  }
  // Without a thread the start fails and the state is as it was, so the
  // next start is not refused.
  for (int ended : {kBookNotRun, kBookNoAthletes, kBookFailed, kBookFinished}) {
    OrderBookState = ended;
    EXPECT_EQ(Start(false, NoThread), kStartNoThread) << ended;
    EXPECT_EQ(OrderBookState, ended);
  }
}

TEST_F(OrderBookGenerationTest, PreCheckListsGradesWithoutAthletesAndClassesWithoutATeam) {
  OpenOrderBookMeet(fixture_,
                    "DELETE FROM qrtb397 WHERE qrtb399 = 1105 AND qrtb400 > 4;"
                    "DELETE FROM qrtb397 WHERE qrtb400 > 10; DELETE FROM qrtb409 WHERE qrtb411 > 10;");
  EXPECT_EQ(Start(true, NoThread), kStartEntriesMissing);
  EXPECT_EQ(list_, "二年级100米没有运动员报名！<br />\r\n"
                   "4x100米接力团队赛一年级02班还无人报名，请提醒班主任报名。<br />\r\n");
  EXPECT_EQ(OrderBookState, kBookNotRun);
}

}  // namespace

}  // namespace korva
