// The paper of the large meet (bench/large_meet.h) once the order book has
// drawn it: every half-day session's check-in sheets of both kinds, and the
// result sheet and certificates of every round once all are placed. Each
// is what one print button asks of the server, under DataLock.
#include <benchmark/benchmark.h>

#include <stdexcept>
#include <string>

#include "bench/large_meet.h"
#include "database/connections.h"
#include "database/data_lock.h"
#include "database/lookups.h"
#include "database/model.h"
#include "pages/meet/certificates.h"
#include "pages/meet/check_in_sheets.h"
#include "pages/meet/order_book_generation.h"
#include "pages/meet/result_sheet.h"
#include "tests/testing/meet_fixture.h"
#include "web/templates.h"

namespace korva {

namespace {

// Every round a direct final with its lanes placed in order and a result.
constexpr const char* kPlaceEverySql = R"sql(
UPDATE qrtb444 SET qrtb447 = 3;
UPDATE qrtb479 SET qrtb485 = 1000 + qrtb480 % 977, qrtb487 = qrtb483, qrtb488 = 100;
)sql";

struct DrawnLargeMeet {
  MeetFixture fixture;
  int meet = 0;
  explicit DrawnLargeMeet(bool placed) {
    FixtureMeetSettings settings;
    settings.Sessions = 8;
    settings.RegistrationClosed = 1;
    meet = fixture.AddMeet(settings);
    if (!fixture.MeetSql(meet, kLargeMeetSql)) throw std::runtime_error("large meet SQL failed");
    if (fixture.Open(meet) != 0) throw std::runtime_error("large meet did not open");
    LoadHtmlTemplateCache();
    OrderBookThread();
    if (placed && (!fixture.MeetSql(meet, kPlaceEverySql) || fixture.Open(meet) != 0))
      throw std::runtime_error("placing failed");
  }
};

void BM_SessionCheckInSheetsOfTheWholeMeet(benchmark::State& state) {
  DrawnLargeMeet meet(false);
  std::size_t bytes = 0;
  for (auto _ : state) {
    DataReadGuard hold(DataLock);
    bytes = 0;
    for (int session = 1; session <= 8; ++session)
      for (int kind = 1; kind <= 2; ++kind) {
        std::string sheets;
        BuildSessionCheckInSheets(sheets, session, kind, 1);
        bytes += sheets.size();
      }
  }
  state.counters["sheets_MB"] = static_cast<double>(bytes) / (1024.0 * 1024.0);
  state.counters["lanes"] = static_cast<double>(Model().LaneList.size());
}
BENCHMARK(BM_SessionCheckInSheetsOfTheWholeMeet)->Unit(benchmark::kMillisecond);

void BM_ResultSheetsAndCertificatesOfEveryRound(benchmark::State& state) {
  DrawnLargeMeet meet(true);
  std::size_t bytes = 0;
  for (auto _ : state) {
    DataReadGuard hold(DataLock);
    bytes = 0;
    for (const RoundNode& round : Model().RoundList) {
      const ContestNode* contest = FindContestById(round.ContestId);
      const EventNode* event = contest ? FindEventOfRound(round) : nullptr;
      const GroupNode* group = event ? FindGroupById(contest->GroupId) : nullptr;
      if (!group) continue;
      std::string sheet;
      BuildResultSheet(LanesOfRound(round.Id), sheet, round, *event, *group);
      BuildRoundCertificates(LanesOfRound(round.Id), sheet, *event, *group);
      bytes += sheet.size();
    }
  }
  state.counters["sheets_MB"] = static_cast<double>(bytes) / (1024.0 * 1024.0);
  state.counters["rounds"] = static_cast<double>(Model().RoundList.size());
}
BENCHMARK(BM_ResultSheetsAndCertificatesOfEveryRound)->Unit(benchmark::kMillisecond);

}  // namespace

}  // namespace korva
