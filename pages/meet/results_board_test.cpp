// The result feed of the results board over print queues made by hand: what
// a board that shows a given number, for a grade, receives.
#include "pages/meet/results_board.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "database/model.h"

namespace korva {

namespace {

struct Entry {
  int sequence;
  int grade;
  int refresh = 0;
};

// A queue, head first; each entry's table is "[T<sequence>]".
std::vector<ResultPrintItem> Queue(const std::vector<Entry>& entries) {
  std::vector<ResultPrintItem> queue;
  for (const Entry& e : entries) {
    ResultPrintItem item;
    item.Sequence = e.sequence;
    item.GradeId = e.grade;
    item.Refresh = e.refresh;
    item.Title = "[T" + std::to_string(e.sequence) + "]";
    item.ResultRows = {{.ClassName = "c"}};
    queue.push_back(item);
  }
  return queue;
}

// The feed with each NowID input written as "#n".
std::string Feed(int seen, int grade) {
  std::string text = BuildResultBoardFeed(seen, grade);
  for (const ResultPrintItem& item : Model().PrintQueue)
    for (std::size_t at = text.find(BuildResultTableBlock(item)); at != std::string::npos;
         at = text.find(BuildResultTableBlock(item)))
      text.replace(at, BuildResultTableBlock(item).size(), item.Title);
  const std::string input = "<input name=\"NowID\" id=\"NowID\" type=\"hidden\" value=\"";
  for (std::size_t at = text.find(input); at != std::string::npos; at = text.find(input)) {
    const std::size_t end = text.find("\">\r\n", at);
    text.replace(at, end + 4 - at, "#" + text.substr(at + input.size(), end - at - input.size()));
  }
  return text;
}

TEST(ResultBoardFeed, AnswersWhatTheBoardHasNotSeen) {
  struct Case {
    const char* name;
    std::vector<Entry> queue;
    int seen;
    int grade;
    std::string expected;
  };
  const std::vector<Entry> three = {{3, 1}, {2, 2}, {1, 1}};
  const std::vector<Entry> flagged = {{4, 2, 1}, {2, 1}, {1, 1}};
  const Case cases[] = {
      {"empty queue, fresh board", {}, 0, 0, "Start"},
      // A number above every one given out: the board's tables are gone.
      {"empty queue, board that has seen 5", {}, 5, 0, "Refresh"},
      {"board above the head", three, 4, 0, "Refresh"},
      {"fresh board, every grade", three, 0, 0, "#3[T3]#2[T2]#1[T1]"},
      {"fresh board of a grade", three, 0, 1, "#3[T3]#1[T1]"},
      {"nothing new", three, 3, 0, ""},
      {"one new entry", three, 2, 0, "#3[T3]"},
      {"fresh board of a grade with nothing", three, 0, 7, "Start"},
      // The walk stops at the first number not above the board's, whatever
      // its grade; the queue's head goes first when it is not the grade's.
      {"other grade's entry only", three, 2, 2, ""},
      {"grade under the head", three, 1, 2, "#3#2[T2]"},
      {"grade entry, head of another grade, fresh", three, 0, 2, "#3#2[T2]"},
      // A removed entry raised and flagged the head.
      {"flag seen by a board with a number", flagged, 2, 1, "Refresh"},
      {"flag seen by a board of every grade", flagged, 1, 0, "Refresh"},
      {"a fresh board never reloads", flagged, 0, 0, "#4[T4]#2[T2]#1[T1]"},
      // After the reload the grade's board holds the head's number and does
      // not reload again at its next poll.
      {"reloaded board of a grade", flagged, 0, 1, "#4#2[T2]#1[T1]"},
      {"next poll of that board", flagged, 4, 1, ""},
  };
  for (const Case& c : cases) {
    Model().PrintQueue = Queue(c.queue);
    EXPECT_EQ(Feed(c.seen, c.grade), c.expected) << c.name;
  }
  Model().PrintQueue.clear();
}

// The rows of counted finals are read off the board in the whole-meet test;
// here a preliminary's qualifiers and a name with markup.
TEST(ResultTableBlock, APreliminaryListsItsQualifiers) {
  ResultPrintItem prelim{.RoundKind = kPrelim, .Title = "t", .Unit = "秒"};
  prelim.ResultRows = {{.BibText = "108", .Name = "<女>", .ClassName = "c", .Result = 1200, .Place = 999, .RecordFlag = 1}};
  EXPECT_NE(BuildResultTableBlock(prelim).find("<td>进入决赛</td>"), std::string::npos);
  EXPECT_NE(BuildResultTableBlock(prelim).find("<td>108</td>\r\n    <td>&lt;女&gt;</td>\r\n    <td>c</td>\r\n"
                                               "    <td>12秒</td>\r\n    <td>录取</td>\r\n\t<td>&nbsp;</td>\r\n"
                                               "    <td>平记录</td>"),
            std::string::npos);
  EXPECT_EQ(BuildResultTableBlock(ResultPrintItem{}), "");
}

}  // namespace

}  // namespace korva
