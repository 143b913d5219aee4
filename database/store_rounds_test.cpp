#include "database/store_rounds.h"

#include <gtest/gtest.h>

#include "database/store_test_support.h"

namespace korva {

namespace {

TEST(EstimateRoundMinutes, HeatsOrAthletesTimesTheEventsMinutes) {
  VenueNode track{.Size = 8};
  GroupNode group{.EntrantsPerEvent = 2, .PlacesRanked = 6};
  EventNode sprint{.MatchTime = 3};
  EventNode jump{.BiSaiType = 2, .MatchTime = 2};
  EventNode relay{.TuanTiType = 2, .MatchTime = 3};

  // A field event: minutes per athlete times every entrant.
  EXPECT_EQ(EstimateRoundMinutes(track, group, jump, 6, kDirectFinal), 2 * 2 * 6);
  // 12 sprinters in 8 lanes: 2 heats; 8 sprinters: 1 heat.
  EXPECT_EQ(EstimateRoundMinutes(track, group, sprint, 6, kDirectFinal), 3 * 2);
  EXPECT_EQ(EstimateRoundMinutes(track, group, sprint, 4, kPrelim), 3 * 1);
  EXPECT_EQ(EstimateRoundMinutes(track, group, relay, 6, kDirectFinal), 3);
  // A final after preliminaries: max(lanes, places) athletes, min(classes,
  // places) teams.
  EXPECT_EQ(EstimateRoundMinutes(track, group, sprint, 6, kFinalAfterPrelim), 3);
  group.PlacesRanked = 10;
  EXPECT_EQ(EstimateRoundMinutes(track, group, sprint, 6, kFinalAfterPrelim), 6);
  EXPECT_EQ(EstimateRoundMinutes(track, group, relay, 12, kFinalAfterPrelim), 6);
  // A venue of size 0 counts as one lane instead of dividing by zero.
  track.Size = 0;
  EXPECT_EQ(EstimateRoundMinutes(track, group, sprint, 6, kDirectFinal), 3 * 12);
  EXPECT_EQ(EstimateRoundMinutes(track, group, relay, 6, kFinalAfterPrelim), 3 * 6);
}

}  // namespace

}  // namespace korva
