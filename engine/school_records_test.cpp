#include "engine/school_records.h"

#include <gtest/gtest.h>

#include <string>
#include <tuple>
#include <vector>

#include "database/loaders.h"
#include "engine/scoring_test_support.h"

namespace korva {

namespace {

// Records standing before this meet: boys' 200米 25.00 and girls' 100米 12.00.
const char* kOldRecords =
    "INSERT INTO base.qrtb188 (qrtb190, qrtb191, qrtb192, qrtb193, qrtb194, qrtb195, qrtb196, qrtb199, qrtb202,"
    " qrtb205, qrtb208, qrtb209, qrtb210) VALUES"
    " (1, '一年级', 1, '200米', 1, 1, 2500, '老张', '旧班', '2020年5月1日', '秒', '旧运动会', 2),"
    " (1, '一年级', 2, '100米', 1, 1, 1200, '老李', '旧班', '2020年5月1日', '秒', '旧运动会', 2);";

class Records : public ::testing::Test {
 protected:
  void SetUp() override { OpenScoringMeet(fixture_, kOldRecords); }
  // The boys' 200米 (double points, no ties), measured against 25.00.
  UploadReply Run200(const std::vector<std::string>& texts, int mode = 1) {
    UploadReply reply;
    for (std::size_t i = 0; i < texts.size(); ++i) reply = Upload(3, static_cast<int>(i) + 1, texts[i], 0, mode, 2500);
    return reply;
  }
  // The rows of the base file's records: value, kind, holder, class, meet.
  static std::string Stored() {
    return Rows("SELECT qrtb196, qrtb210, qrtb199, qrtb202, qrtb209 FROM base.qrtb188 ORDER BY qrtb189");
  }
  MeetFixture fixture_;
  const std::string meet_ = FixtureMeetSettings{}.Name;
};

TEST_F(Records, AFinalKeepsTheMeetsRecordInStepWithItsBestResult) {
  ASSERT_EQ(Run200({"24.90", "25.10", "25.20", "25.30", "25.40", "25.50", "25.60", "25.70"}).code, kReplyCounted);
  const std::string old = "2500|2|老张|旧班|旧运动会\n1200|2|老李|旧班|旧运动会";
  EXPECT_EQ(Stored(), old + "\n2490|2|男1|一年级02班|" + meet_);
  // The page measures the next count against the record standing before it.
  DataGuard hold(DataLock);
  EXPECT_EQ(FindRecordNode("一年级", 1, 1, "200米", kDirectFinal)->Value, 2500);
  EXPECT_EQ(FindRecordNode("一年级", 1, 2, "200米", kDirectFinal)->Value, 2490);

  // A better mark by another athlete moves the record, holder and all.
  EXPECT_EQ(Upload(3, 2, "24.70", 0, kUploadConfirmed, 2500).code, kReplyCounted);
  EXPECT_EQ(Stored(), old + "\n2470|2|男2|一年级03班|" + meet_);
  ASSERT_EQ(LoadRecords(), 0);
  EXPECT_EQ(Model().RecordList.front().HolderName, "男2");
  // A recount measured against the same record keeps it.
  EXPECT_EQ(Upload(3, 0, "0", 0, kUploadRecount, 2500).code, kReplyCounted);
  EXPECT_EQ(Stored(), old + "\n2470|2|男2|一年级03班|" + meet_);

  // Nobody under 25.00 any more: the meet's record goes.
  Upload(3, 1, "25.80", 0, kUploadConfirmed, 2500);
  EXPECT_EQ(Upload(3, 2, "25.90", 0, kUploadConfirmed, 2500).code, kReplyCounted);
  EXPECT_EQ(Stored(), old);
  EXPECT_EQ(Model().RecordList.size(), 2u);
}

TEST_F(Records, APreliminaryRecordAndTheFinalsBonusGoOncePerAthlete) {
  // Girl 101 equals 12.00 in the preliminary: no record.
  const char* equal[] = {"12.00", "12.10", "12.20", "12.30", "12.40", "12.50", "12.60", "12.70", "12.80", "12.90"};
  for (int i = 0; i < 10; ++i) Upload(6, 101 + i, equal[i], 0, 1, 1200);
  EXPECT_EQ(Model().RecordList.size(), 2u);
  EXPECT_EQ(RoundPlacings(6)[0], Placing(101, 0, 200, 1));
  // She breaks it: a preliminary record, then breaks it again in the final,
  // where the bonus is paid once: the preliminary lane gives its flag up.
  EXPECT_EQ(Upload(6, 101, "11.90", 0, kUploadConfirmed, 1200).code, kReplyCounted);
  EXPECT_EQ(Model().RecordList.front().Value, 1190);
  EXPECT_EQ(Model().RecordList.front().RoundKind, 1);
  UploadReply reply;
  for (int i = 0; i < 8; ++i) reply = Upload(7, 101 + i, i == 0 ? "11.80" : equal[i], 0, 1, 1200);
  ASSERT_EQ(reply.code, kReplyCounted);
  EXPECT_EQ(RoundPlacings(7)[0], Placing(101, 1, 1200, 2));
  EXPECT_EQ(RoundPlacings(6)[0], Placing(101, 0, 0, 0));
  EXPECT_EQ(Rows("SELECT qrtb196, qrtb210 FROM base.qrtb188 WHERE qrtb209 = '" + meet_ + "' ORDER BY qrtb189"),
            "1190|1\n1180|2");
}

TEST_F(Records, TheRecordsPageCellByCell) {
  struct Step {
    std::string query;
    int code;
    std::string text;
    ScoreValue found;  // the record found first afterwards
  };
  const std::vector<Step> steps = {
      {"1=903=1=24.5=%C3%EB", kTopScoreAdded, "24.05", 2405},
      {"1=903=1=24.05", kTopScoreSameValue, "24.05", 2405},
      {"1=903=1=24.00", kTopScoreAdded, "24", 2400},  // a new node, found first
      {"1=903=1", kTopScoreDeleted, "", 2405},         // three fields clear the cell
      {"1=903=1=", kTopScoreDeleted, "", 2500},
      {"1=902=1", kTopScoreDeleted, "", 2500},         // nothing to clear: nothing written
      {"1=903=3=24.00", kTopScoreBadInput, "", 2500},
      {"1=999=1=24.00", kTopScoreBadInput, "", 2500},
      {"1=903=1=24x", kTopScoreBadInput, "", 2500},
      {"1=903=1=" + std::string(50, '2'), kTopScoreBadInput, "", 2500},
  };
  DataGuard hold(DataLock);
  for (const Step& s : steps) {
    std::string text;
    EXPECT_EQ(UpdateTopScore(s.query, text), s.code) << s.query;
    EXPECT_EQ(text, s.text) << s.query;
    EXPECT_EQ(FindRecordNode("一年级", 1, 0, "200米", 0)->Value, s.found) << s.query;
  }
  // Only the records standing before remain, the unit from the event.
  EXPECT_EQ(Rows("SELECT qrtb193, qrtb196, qrtb208 FROM base.qrtb188"), "200米|2500|秒\n100米|1200|秒");

  std::string text;
  FailOn("INSERT", "base.qrtb188", "no_records");
  EXPECT_EQ(UpdateTopScore("1=901=1=12.00", text), kTopScoreFailed);
  EXPECT_EQ(Model().RecordList.size(), 2u);
}

TEST_F(Records, ARecordSetAtThisMeetIsClearedOnlyWithItsResult) {
  Run200({"24.90", "25.10", "25.20", "25.30", "25.40", "25.50", "25.60", "25.70"});
  DataGuard hold(DataLock);
  std::string text;
  EXPECT_EQ(UpdateTopScore("1=903=1", text), kTopScoreSetHere);
  EXPECT_EQ(Model().RecordList.size(), 3u);
}

}  // namespace

}  // namespace korva
