// The entry listings and the class results page of the large meet
// (bench/large_meet.h) once it is drawn and every lane holds a result: the
// pages a grade's class teachers reload during the meet.
#include <benchmark/benchmark.h>

#include <stdexcept>
#include <string>

#include "bench/large_meet.h"
#include "database/data_lock.h"
#include "database/model.h"
#include "engine/draw.h"
#include "pages/meet/class_results.h"
#include "pages/meet/entry_listings.h"
#include "tests/testing/meet_fixture.h"
#include "web/templates.h"

namespace korva {

namespace {

struct DrawnMeet {
  MeetFixture fixture;
  DrawnMeet() {
    FixtureMeetSettings settings;
    settings.Sessions = 8;
    settings.RegistrationClosed = 1;
    const int meet = fixture.AddMeet(settings);
    if (!fixture.MeetSql(meet, std::string(kLargeMeetSql) +
                                   "INSERT INTO qrtb467 (qrtb469, qrtb470) SELECT DISTINCT qrtb427, qrtb428"
                                   " FROM qrtb425;") ||
        fixture.Open(meet) != 0) {
      throw std::runtime_error("large meet did not open");
    }
    LoadHtmlTemplateCache();
    DataGuard hold(DataLock);
    if (DrawAllRounds(1u) != 0) throw std::runtime_error("draw failed");
    for (LaneNode& lane : Model().LaneList) {
      lane.Result = 1000 + lane.Id % 500;
      lane.Place = lane.Id % 9;
      lane.Points = lane.Place * 100;
    }
  }
};

// Staff see the whole meet, a class teacher his grade.
LoginNode Session(bool teacher) {
  LoginNode session;
  session.Role = teacher ? kRoleClassTeacher : kRoleAdmin;
  session.GradeId = 1;
  session.ClassId = 1;
  return session;
}

template <typename Page>
void TimePage(benchmark::State& state, Page page) {
  DrawnMeet meet;
  const LoginNode session = Session(state.range(0) != 0);
  std::size_t bytes = 0;
  for (auto _ : state) {
    DataReadGuard hold(DataLock);
    std::string reply;
    page(reply, session);
    bytes = reply.size();
  }
  state.counters["page_bytes"] = static_cast<double>(bytes);
}

void BM_EntryListByClass(benchmark::State& state) {
  TimePage(state, [](std::string& reply, const LoginNode& s) { ServeEntryListByClass(reply, s); });
}
BENCHMARK(BM_EntryListByClass)->Arg(0)->Arg(1)->Unit(benchmark::kMicrosecond);

void BM_EntryListByEvent(benchmark::State& state) {
  TimePage(state, [](std::string& reply, const LoginNode& s) { ServeEntryListByEvent(reply, s); });
}
BENCHMARK(BM_EntryListByEvent)->Arg(0)->Arg(1)->Unit(benchmark::kMicrosecond);

void BM_ClassResults(benchmark::State& state) {
  TimePage(state, [](std::string& reply, const LoginNode& s) { ServeClassResultsPage(reply, s); });
}
BENCHMARK(BM_ClassResults)->Arg(1)->Unit(benchmark::kMicrosecond);

}  // namespace

}  // namespace korva
