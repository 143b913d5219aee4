// The rehearsal of the large meet (bench/large_meet.h without its athletes):
// 3,000 generated athletes with their entries written in one transaction,
// then deleted again; and the renumbering of all of them.
#include <benchmark/benchmark.h>

#include <string>

#include "bench/large_meet.h"
#include "database/data_lock.h"
#include "database/model.h"
#include "pages/setup/advanced_operations.h"
#include "tests/testing/meet_fixture.h"

namespace korva {

namespace {

// Every group offers the events of its contests.
const std::string kRehearsalSql = std::string(kLargeMeetSql) +
                                  "DELETE FROM qrtb397; DELETE FROM qrtb409;"
                                  "INSERT INTO qrtb467 (qrtb469, qrtb470) SELECT DISTINCT qrtb427, qrtb428 FROM qrtb425;";

void BM_RehearsalMadeAndDeleted(benchmark::State& state) {
  MeetFixture f;
  f.OpenNewMeet(kRehearsalSql);
  std::size_t athletes = 0;
  for (auto _ : state) {
    DataGuard hold(DataLock);
    if (SimulateRegistration() != 1) state.SkipWithError("no rehearsal");
    athletes = Model().AthleteList.size();
    if (DeleteSimulatedRegistration() != 10) state.SkipWithError("not deleted");
  }
  state.counters["athletes"] = static_cast<double>(athletes);
}
BENCHMARK(BM_RehearsalMadeAndDeleted)->Unit(benchmark::kMillisecond);

void BM_RenumberAthletes(benchmark::State& state) {
  MeetFixture f;
  f.OpenNewMeet(kRehearsalSql);
  {
    DataGuard hold(DataLock);
    if (SimulateRegistration() != 1) state.SkipWithError("no rehearsal");
  }
  for (auto _ : state) {
    DataGuard hold(DataLock);
    if (RenumberAthletes() != 8) state.SkipWithError("not renumbered");
  }
  state.counters["athletes"] = static_cast<double>(Model().AthleteList.size());
}
BENCHMARK(BM_RenumberAthletes)->Unit(benchmark::kMillisecond);

}  // namespace

}  // namespace korva
