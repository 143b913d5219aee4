// The order book of the large meet (bench/large_meet.h): the whole run of
// the worker, under DataLock as every browser waits for it, from an undrawn
// meet (numbering, draw, document, file, record) and again on the drawn
// meet (document, file, record). Reports the document's size and the
// process's peak memory.
#include <benchmark/benchmark.h>
#include <sys/resource.h>

#include <filesystem>
#include <stdexcept>

#include "bench/large_meet.h"
#include "database/connections.h"
#include "database/data_lock.h"
#include "database/gbk_text.h"
#include "database/model.h"
#include "pages/meet/order_book_generation.h"
#include "tests/testing/meet_fixture.h"
#include "web/templates.h"

namespace korva {

namespace {

struct LargeMeet {
  MeetFixture fixture;
  int meet = 0;
  LargeMeet() {
    FixtureMeetSettings settings;
    settings.Sessions = 8;
    settings.RegistrationClosed = 1;
    meet = fixture.AddMeet(settings);
    if (!fixture.MeetSql(meet, kLargeMeetSql)) throw std::runtime_error("large meet SQL failed");
    if (fixture.Open(meet) != 0) throw std::runtime_error("large meet did not open");
    LoadHtmlTemplateCache();
  }
};

void Report(benchmark::State& state, const LargeMeet& meet) {
  std::uintmax_t bytes = 0;
  {
    DataGuard hold(DataLock);
    if (OrderBookState != kBookFinished || Model().DocumentList.empty()) {
      state.SkipWithError("the order book was not made");
      return;
    }
    bytes = std::filesystem::file_size(meet.fixture.folder() + "/" + GbkToUtf8(Model().DocumentList[0].FilePath));
    state.counters["lanes"] = static_cast<double>(Model().LaneList.size());
  }
  state.counters["book_MB"] = static_cast<double>(bytes) / (1024.0 * 1024.0);
  rusage usage{};
  getrusage(RUSAGE_SELF, &usage);
  state.counters["peak_rss_MB"] = static_cast<double>(usage.ru_maxrss) / 1024.0;
}

void BM_OrderBookFromUndrawnMeet(benchmark::State& state) {
  LargeMeet meet;
  for (auto _ : state) {
    state.PauseTiming();
    {
      DataGuard hold(DataLock);
      if (!MeetConnection().ExecScript(kUndrawSql)) state.SkipWithError("reset failed");
    }
    meet.fixture.Open(meet.meet);
    state.ResumeTiming();
    OrderBookThread();
  }
  Report(state, meet);
}
BENCHMARK(BM_OrderBookFromUndrawnMeet)->Unit(benchmark::kMillisecond);

void BM_OrderBookOfDrawnMeet(benchmark::State& state) {
  LargeMeet meet;
  OrderBookThread();
  for (auto _ : state) OrderBookThread();
  Report(state, meet);
}
BENCHMARK(BM_OrderBookOfDrawnMeet)->Unit(benchmark::kMillisecond);

}  // namespace

}  // namespace korva
