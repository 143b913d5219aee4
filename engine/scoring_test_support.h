#pragma once
// Helpers of the scoring tests: uploads as the score-entry page sends them,
// and a round's places read back from the file (checked against LaneList
// on the way).
#include <gtest/gtest.h>

#include <string>
#include <tuple>
#include <vector>

#include "database/data_lock.h"
#include "database/store_test_support.h"
#include "engine/score_upload.h"
#include "tests/testing/scoring_meet.h"

namespace korva {

struct UploadReply {
  int code = -1;
  std::string text;
  UploadQuestion question = UploadQuestion::kNone;
  TieChoice ties;
};

// One upload; record is the standing record as the page shows it.
inline UploadReply Upload(int round, int athlete, const std::string& text, int status = 0, int mode = 1,
                          int record = kNoResult) {
  DataGuard hold(DataLock);
  ScoreUpload upload{.RoundId = round, .AthleteId = athlete, .Status = status, .Mode = mode, .RecordValue = record,
                     .ScoreText = text};
  ScoreOutcome outcome;
  UploadReply reply;
  reply.code = SaveScore(upload, outcome);
  reply.text = outcome.Text;
  reply.question = outcome.Question;
  reply.ties = outcome.Ties;
  return reply;
}

// Athlete, place, points and record flag of a lane.
using Placing = std::tuple<int, int, int, int>;

// The placings of a round's lanes from the file, by athlete; LaneList must
// hold the same.
inline std::vector<Placing> RoundPlacings(int round) {
  DataGuard hold(DataLock);
  std::vector<Placing> stored;
  std::string rows = Rows("SELECT qrtb484, IFNULL(qrtb487, 0), IFNULL(qrtb488, 0), IFNULL(qrtb489, 0) FROM qrtb479"
                          " WHERE qrtb481 = " + std::to_string(round) + " ORDER BY qrtb484");
  std::vector<Placing> in_memory;
  for (const LaneNode& lane : Model().LaneList)
    if (lane.RoundId == round) in_memory.emplace_back(lane.AthleteId, lane.Place, lane.Points, lane.RecordFlag);
  std::sort(in_memory.begin(), in_memory.end());
  std::string listed;
  for (const auto& [athlete, place, points, flag] : in_memory) {
    if (!listed.empty()) listed += "\n";
    listed += std::to_string(athlete) + "|" + std::to_string(place) + "|" + std::to_string(points) + "|" +
              std::to_string(flag);
  }
  EXPECT_EQ(listed, rows) << "LaneList and the file differ for round " << round;
  return in_memory;
}

}  // namespace korva
