#include "pages/setup/regroup.h"

#include <gtest/gtest.h>

#include "database/data_lock.h"
#include "database/store_test_support.h"
#include "tests/testing/scoring_meet.h"

namespace korva {

namespace {

TEST(Regroup, OneSentencePerRoundInRequestOrder) {
  MeetFixture fixture;
  OpenScoringMeet(fixture,
                  "UPDATE qrtb444 SET qrtb448 = 1 WHERE qrtb445 = 6;"
                  "INSERT INTO qrtb397 (qrtb399, qrtb400) SELECT 1103, qrtb411 FROM qrtb409 WHERE qrtb411 <= 9;");
  DataGuard hold(DataLock);
  // A number of more than seven bytes starts over ("89", unknown), and one
  // not ended by '-' is left out.
  EXPECT_EQ(RegroupSentences("6-123456789-3-5"),
            "<p>一年级 女子  100米 预赛 为被禁用的预赛，无法重新分组分道；</p>\r\n"
            "<p>一年级 男子  200米 决赛 已成功重新分组分道！现为：2组 共9人</p>\r\n");
}

}  // namespace

}  // namespace korva
