// The search tab's look-ups over HTTP: athletes by bib and name, one
// athlete's finals, one class's placed results, and the certificates of
// the ticked results in the print frame.
#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "tests/http/server_fixture.h"

namespace korva {

namespace {

// The third cell (name) of every result row of a search, sorted.
std::vector<std::string> FoundNames(const std::string& body) {
  std::vector<std::string> names;
  for (std::size_t at = body.find("<tr align=\"center\"><td>1</td>"); at != std::string::npos;
       at = body.find("<tr align=\"center\"><td>", at + 1)) {
    std::size_t cell = at;
    for (int i = 0; i < 3; ++i) cell = body.find("<td>", cell) + 4;
    names.push_back(body.substr(cell, body.find("</td>", cell) - cell));
  }
  std::sort(names.begin(), names.end());
  return names;
}

class SingleItemPrints : public ScoringServerTest {
 protected:
  void SetUp() override {
    ScoringServerTest::SetUp();
    // Athlete 1's name holds markup; athlete 2's first character ends in
    // the byte of 'b'; athlete 24 has no bib yet.
    OpenMeet(
        "UPDATE qrtb409 SET qrtb410 = '<b>王&</b>' WHERE qrtb411 = 1;"
        "UPDATE qrtb409 SET qrtb410 = '俠2' WHERE qrtb411 = 2;"
        "UPDATE qrtb409 SET qrtb412 = NULL WHERE qrtb411 = 24;");
  }
  std::string Ask(const std::string& path) {
    HttpResponse reply = Get(path, printer_);
    EXPECT_EQ(reply.status, 200) << path;
    return reply.body;
  }
  // Counts the long jump (athletes 1 to 3 placed 1 to 3, 4 to 6 not) and
  // the relay (lanes 1 to 3 placed 1 to 3).
  void CountLongJumpAndRelay() {
    const char* jumps[] = {"6.15", "5.95", "5.85", "5.75", "5.65", "5.55"};
    for (int athlete = 1; athlete <= 6; ++athlete) Upload(2, athlete, jumps[athlete - 1]);
    Upload(5, 13, "50.15");
    Upload(5, 17, "51.15");
    ASSERT_EQ(Upload(5, 21, "52.15").substr(0, 2), "04");
  }
};

TEST_F(SingleItemPrints, TheSearchFindsBibsAndNamesWithTheirMarkupEscaped) {
  struct Case {
    const char* text;
    std::vector<std::string> names;
  } cases[] = {
      // A bib finds its athlete and every name holding the digits.
      {"7", {"男7", "男17", "女107", "女117", "女127", "女137"}},
      // A text that is no number also finds athletes without a bib; 'b' is
      // no character of 俠2.
      {"%3Cb%3E", {"&lt;b&gt;王&amp;&lt;/b&gt;", "男24"}},
      {"b", {"&lt;b&gt;王&amp;&lt;/b&gt;", "男24"}},
      {"%82%62", {"俠2", "男24"}},
      {"99", {}},
  };
  for (Case& c : cases) {
    const std::string body = Ask("/FindStudent.html?str=" + std::string(c.text));
    std::sort(c.names.begin(), c.names.end());
    EXPECT_EQ(FoundNames(body), c.names) << c.text << "\n" << GbkToUtf8(body);
    if (c.names.empty()) {
      EXPECT_EQ(body, "<table border=\"1px\" width=\"99%\">\r\n<tr><td>当前检索结果：无<br /><br /><br /><br /><br /></td>"
                      "</tr></table>");
    }
  }
  EXPECT_EQ(Ask("/FindStudent.html?str="), "");
  // Visitors have no search.
  EXPECT_EQ(Get("/FindStudent.html?str=7").body.find("男7"), std::string::npos);
}

TEST_F(SingleItemPrints, AnAthletesListHoldsHisIndividualFinalsOnly) {
  CountLongJumpAndRelay();
  // Athlete 1: 100米, 跳远 (first), 200米 and 五项全能; athlete 13 only
  // runs the relay.
  const std::string first = Ask("/ViewOneST.html?str=1");
  EXPECT_NE(first.find("<input id=\"bssl2\" type=\"checkbox\" value=\"201\" checked></td><td>2</td>"
                       "<td>一年级 男子 跳远</td><td>6.15米</td><td>第1名</td><td>"),
            std::string::npos)
      << GbkToUtf8(first);
  EXPECT_EQ(CountOf(first, "<td>比赛还未进行</td>"), 3);
  EXPECT_NE(first.find("<input name=\"MaxL\" type=\"hidden\" id=\"MaxL\" value=\"4\">"), std::string::npos);

  EXPECT_NE(Ask("/ViewOneST.html?str=5").find("value=\"205\" disabled></td><td>2</td><td>一年级 男子 跳远</td><td>5.65</td>"),
            std::string::npos);
  EXPECT_NE(Ask("/ViewOneST.html?str=13").find("id=\"MaxL\" value=\"0\""), std::string::npos);
  // A preliminary is left out: girl 101 has only her long jump.
  EXPECT_NE(Ask("/ViewOneST.html?str=101").find("id=\"MaxL\" value=\"1\""), std::string::npos);
  for (const char* bad : {"999", "x", ""}) EXPECT_EQ(Ask(std::string("/ViewOneST.html?str=") + bad), "检索不到数据；");
}

TEST_F(SingleItemPrints, TheTickedResultsPrintOneCertificateEachUntilAnIdFails) {
  CountLongJumpAndRelay();
  struct Case {
    const char* cjid;
    int certificates;
  } cases[] = {
      {"201-202-", 2},
      {"201-202", 1},          // text after the last '-' is ignored
      {"201--202-", 1},        // an empty id ends the reading
      {"201-999-202-", 1},     // so does a result that is not there
      {"201-0000000202-", 1},  // and an id of more than nine digits
      {"201-99999999999999999999-202-", 1},
      {"201-x202-", 1},
      {"", 0},
  };
  for (const Case& c : cases) {
    const std::string body = Ask(std::string("/PrintOne.html?cjid=") + c.cjid);
    EXPECT_EQ(CountOf(body, "<div class=\"jzline1\">"), c.certificates) << c.cjid;
    EXPECT_NE(body.find("parent.printhtml(0);"), std::string::npos) << c.cjid;
    EXPECT_NE(body.find("view.css?U=printer1"), std::string::npos) << c.cjid;
  }
  EXPECT_NE(Ask("/PrintOne.html?cjid=201-").find("&lt;b&gt;王&amp;&lt;/b&gt;"), std::string::npos);
  // Without "=" nothing is printed: the header alone.
  EXPECT_EQ(Ask("/PrintOne.html"), "");
}

}  // namespace

}  // namespace korva
