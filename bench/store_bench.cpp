// Two bulk writes of the store functions on a large meet: the lanes of a
// whole draw (12,000 rows in one InsertLaneList) and 3,000 athletes with
// three entries each saved one by one with SaveAthlete, each in its own
// transaction (as registration does) and all inside one outer transaction
// (as a bulk handler that chains them does).
#include <benchmark/benchmark.h>

#include <optional>
#include <stdexcept>
#include <vector>

#include "database/connections.h"
#include "database/data_lock.h"
#include "database/model.h"
#include "database/store_athletes.h"
#include "database/store_lanes.h"
#include "tests/testing/meet_fixture.h"

namespace korva {

namespace {

// Twelve groups: grades 1 to 6, boys and girls.
const char* kGroupsSql = R"sql(
WITH RECURSIVE n(i) AS (SELECT 0 UNION ALL SELECT i + 1 FROM n WHERE i < 11)
INSERT INTO qrtb373 (qrtb374, qrtb375, qrtb376, qrtb381, qrtb382)
    SELECT i + 1, i / 2 + 1, i % 2 + 1, 8, 1 FROM n;
)sql";

void ClearTable(const char* sql) {
  DataGuard hold(DataLock);
  if (!MeetConnection().ExecScript(sql)) throw std::runtime_error("clear failed");
}

void BM_InsertLaneList(benchmark::State& state) {
  MeetFixture f;
  f.OpenNewMeet(kGroupsSql);
  std::vector<LaneNode> lanes(12000);
  for (int i = 0; i < 12000; ++i) {
    LaneNode& l = lanes[i];
    l.Id = i + 1;
    l.RoundId = i / 30 + 1;
    l.Heat = i % 30 / 8 + 1;
    l.Lane = i % 8 + 1;
    l.AthleteId = i % 3000 + 1;
  }
  for (auto _ : state) {
    if (InsertLaneList(lanes) != 0) state.SkipWithError("InsertLaneList failed");
    state.PauseTiming();
    ClearTable("DELETE FROM qrtb479");
    state.ResumeTiming();
  }
}
BENCHMARK(BM_InsertLaneList)->Unit(benchmark::kMillisecond)->Iterations(3);

std::vector<AthleteNode> ThreeThousandAthletes() {
  std::vector<AthleteNode> athletes(3000);
  for (int i = 0; i < 3000; ++i) {
    AthleteNode& a = athletes[i];
    a.Name = "运动员" + std::to_string(i);
    a.GradeId = i % 60 / 10 + 1;
    a.ClassId = i % 60 + 1;
    a.Sex = i / 60 % 2 + 1;
    a.ContestIds = {i % 200 + 1, (i + 7) % 200 + 1, (i + 13) % 200 + 1};
  }
  return athletes;
}

void SaveAll(benchmark::State& state, bool outer_transaction) {
  MeetFixture f;
  f.OpenNewMeet(kGroupsSql);
  for (auto _ : state) {
    state.PauseTiming();
    std::vector<AthleteNode> athletes = ThreeThousandAthletes();
    state.ResumeTiming();
    {
      DataGuard hold(DataLock);
      std::optional<Transaction> unit;
      if (outer_transaction) unit.emplace(MeetConnection());
      for (AthleteNode& a : athletes)
        if (SaveAthlete(a) == 0) state.SkipWithError("SaveAthlete failed");
      if (unit && !unit->Commit()) state.SkipWithError("commit failed");
    }
    state.PauseTiming();
    ClearTable("DELETE FROM qrtb409; DELETE FROM qrtb397;");
    state.ResumeTiming();
  }
}

void BM_SaveAthleteEach(benchmark::State& state) { SaveAll(state, false); }
void BM_SaveAthleteInOneUnit(benchmark::State& state) { SaveAll(state, true); }
BENCHMARK(BM_SaveAthleteEach)->Unit(benchmark::kMillisecond)->Iterations(1);
BENCHMARK(BM_SaveAthleteInOneUnit)->Unit(benchmark::kMillisecond)->Iterations(3);

}  // namespace

}  // namespace korva
