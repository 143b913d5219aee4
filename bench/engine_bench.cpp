// The draw of every round of a large meet and the numbering of every
// athlete: 60 classes in 6 grades, 3,000 athletes entered in 3 contests of
// their group each, 200 contests of the 15 catalogue events with a
// preliminary and a final each (400 rounds). Timed in memory and with the
// rows written to the meet file; then the search for undrawn entrants.
#include <benchmark/benchmark.h>

#include <cstdlib>
#include <stdexcept>

#include "database/connections.h"
#include "database/data_lock.h"
#include "database/model.h"
#include "engine/bib_numbers.h"
#include "engine/draw.h"
#include "engine/draw_steps.h"
#include "bench/large_meet.h"
#include "tests/testing/meet_fixture.h"

namespace korva {

namespace {

// The large meet, opened; its lists as loaded.
struct LargeMeet {
  MeetFixture fixture;
  MeetModel loaded;
  LargeMeet() {
    const int meet = fixture.AddMeet();
    if (!fixture.MeetSql(meet, kLargeMeetSql)) throw std::runtime_error("large meet SQL failed");
    if (fixture.Open(meet) != 0) throw std::runtime_error("large meet did not open");
    loaded = Model();
    if (loaded.AthleteList.size() != 3000 || loaded.RoundList.size() != 400)
      throw std::runtime_error("the large meet did not load whole");
  }
};

void Report(benchmark::State& state) {
  state.counters["lanes"] = static_cast<double>(Model().LaneList.size());
  int numbered = 0;
  for (const AthleteNode& a : Model().AthleteList) numbered += a.Bib != 0;
  state.counters["numbered"] = numbered;
}

void BM_DrawAndNumberInMemory(benchmark::State& state) {
  LargeMeet meet;
  DataGuard hold(DataLock);
  for (auto _ : state) {
    state.PauseTiming();
    Model() = meet.loaded;
    FreeLaneMemoryList();
    std::srand(1);
    state.ResumeTiming();
    int next_id = 1;
    auto& rounds = Model().RoundList;
    for (std::size_t i = 0; i < rounds.size(); ++i)
      if (rounds[i].Kind != kFinalAfterPrelim) DrawRoundLanes(rounds[i], next_id);
    NumberAthletesInModel();
  }
  Report(state);
}
BENCHMARK(BM_DrawAndNumberInMemory)->Unit(benchmark::kMillisecond);

void BM_DrawAndNumberWithRows(benchmark::State& state) {
  LargeMeet meet;
  DataGuard hold(DataLock);
  for (auto _ : state) {
    state.PauseTiming();
    if (!MeetConnection().ExecScript(kUndrawSql)) state.SkipWithError("reset failed");
    Model() = meet.loaded;
    FreeLaneMemoryList();
    state.ResumeTiming();
    if (DrawAllRounds(1u) != 0 || AssignBibNumbers() != 0) state.SkipWithError("draw or numbering failed");
  }
  Report(state);
}
BENCHMARK(BM_DrawAndNumberWithRows)->Unit(benchmark::kMillisecond);

// The order book's second pass over a drawn meet: every athlete's every
// contest is checked for a missing lane, and none is found.
void BM_FindUndrawnInDrawnMeet(benchmark::State& state) {
  LargeMeet meet;
  DataGuard hold(DataLock);
  if (DrawAllRounds(1u) != 0) state.SkipWithError("draw failed");
  const std::size_t lanes = Model().LaneList.size();
  for (auto _ : state) {
    if (RedrawUndrawnContests(1u) != 0) state.SkipWithError("redraw failed");
  }
  if (Model().LaneList.size() != lanes) state.SkipWithError("a drawn contest was drawn again");
  Report(state);
}
BENCHMARK(BM_FindUndrawnInDrawnMeet)->Unit(benchmark::kMillisecond);

}  // namespace

}  // namespace korva
