#include "pages/meet/certificates.h"

#include <gtest/gtest.h>

#include "database/lookups.h"
#include "tests/testing/print_meet.h"
#include "tests/testing/text_count.h"

namespace korva {

namespace {

// The text of one line of the first certificate in html.
std::string Line(const std::string& html, int line, std::size_t from = 0) {
  const std::string start = "<div class=\"jzline" + std::to_string(line) + "\"><nobr>";
  const std::size_t at = html.find(start, from);
  if (at == std::string::npos) return "<none>";
  const std::size_t begin = at + start.size();
  return html.substr(begin, html.find("</nobr>", begin) - begin);
}

std::string Pads(int n) {
  std::string pads;
  for (int i = 0; i < n; ++i) pads += "&nbsp;";
  return pads;
}

TEST(CertificateMeetLine, CentredWithPadsAndTheOrganiserLeftOutWhenTooLong) {
  const struct {
    std::size_t organiser, meet;
    int pads;
    bool organiser_shown;
  } cases[] = {{16, 20, 1, true}, {20, 20, 0, true}, {10, 10, 9, true}, {0, 0, 19, true},
               {30, 20, 10, false}, {1, 40, 0, false}, {0, 60, 0, false}, {30, 11, 14, false}};
  for (const auto& c : cases) {
    const std::string organiser(c.organiser, 'o');
    const std::string meet(c.meet, 'm');
    const std::string middle = c.organiser_shown ? organiser + " " + meet : meet;
    EXPECT_EQ(FormatCertificateMeetLine(organiser, meet), "在" + Pads(c.pads) + middle + Pads(c.pads) + "中")
        << c.organiser << "+" << c.meet;
  }
  // The lengths are the names' own; what is shown is escaped.
  EXPECT_EQ(FormatCertificateMeetLine("a<b", "运动会"), "在" + Pads(15) + "a&lt;b 运动会" + Pads(15) + "中");
}

class Certificates : public ::testing::Test {
 protected:
  void SetUp() override { OpenPrintMeet(meet_); }
  const EventNode& Event(int round_id) { return *FindEventOfRound(*FindRoundById(round_id)); }
  const GroupNode& Group(int group_id) { return *FindGroupById(group_id); }
  MeetFixture meet_;
};

TEST_F(Certificates, ARoundGivesOneCertificatePerPlacedEntryTheFirstWithoutAPageBreak) {
  std::string out;
  BuildRoundCertificates(LanesOfRound(2), out, Event(2), Group(11));
  EXPECT_EQ(CountOf(out, "<div class=\"jz16ksupaikuang\">"), 1);
  EXPECT_EQ(CountOf(out, "<div class=\"jzfy16ksupaikuang\">"), 5);
  EXPECT_EQ(out.find("<div class=\"jz16ksupaikuang\">\r\n\t<div class=\"zj16kdiv\">\r\n<div class=\"jzline1\">"), 0u);
  // Ascending stored result: boy 1 ran 11.91. The lines' texts are read off
  // the printed certificates in the whole-meet test.
  EXPECT_EQ(Line(out, 1), "<strong>一年级02班 男1</strong>同学：");
  EXPECT_EQ(Line(out, 7), FormatCertificateDate(std::time(nullptr)));
  EXPECT_EQ(Line(out, 4, out.rfind("jzfy16k")), "第 六 名");
}

TEST_F(Certificates, EveryPlacedEntryOfALargeRoundGetsOneAndAMissingAthleteEndsTheRound) {
  std::string out;
  BuildRoundCertificates(LanesOfRound(7), out, Event(7), Group(12));
  EXPECT_EQ(CountOf(out, "class=\"zj16kdiv\""), 120);
  EXPECT_EQ(Line(out, 4, out.rfind("jzfy16k")), "第 120 名");
  out.clear();
  BuildRoundCertificates(LanesOfRound(4), out, Event(4), Group(12));  // not counted yet
  EXPECT_EQ(out, "");
  // The third by result is gone: two certificates, then nothing.
  std::erase_if(Model().AthleteList, [](const AthleteNode& a) { return a.Id == 3; });
  BuildRoundCertificates(LanesOfRound(2), out, Event(2), Group(11));
  EXPECT_EQ(CountOf(out, "class=\"zj16kdiv\""), 2);
}

TEST_F(Certificates, ASingleResultCarriesItsPlaceSpacedAndSharesTheJobsFlag) {
  std::string out;
  int first_done = 0;
  const std::span<LaneNode> lanes = LanesOfRound(3);
  BuildCertificateText(first_done, Event(3), out, lanes[4], Group(11));
  BuildCertificateText(first_done, Event(3), out, lanes[0], Group(11));
  EXPECT_EQ(first_done, 1);
  EXPECT_EQ(out.find("<div class=\"jz16ksupaikuang\">"), 0u);
  EXPECT_EQ(Line(out, 1), "<strong>一年级03班 男5</strong>同学：");
  EXPECT_EQ(Line(out, 4), "第&nbsp;&nbsp;四&nbsp;&nbsp;名");
  EXPECT_EQ(Line(out, 4, out.find("jzfy16k")), "第&nbsp;&nbsp;一&nbsp;&nbsp;名");
  FindAthleteById(1)->Name = "<i>";
  out.clear();
  BuildCertificateText(first_done, Event(3), out, lanes[0], Group(11));
  EXPECT_EQ(Line(out, 1), "<strong>一年级02班 &lt;i&gt;</strong>同学：");
}

}  // namespace

}  // namespace korva
