// The road of one score over HTTP: every result of a 40-athlete preliminary
// (five heats of eight, eight qualifiers) uploaded one by one, as the
// score-entry page sends them, to the in-process server on loopback over
// one keep-alive connection; the last upload counts the round and seeds its
// final. Reported: the mean time of an upload that only stores its result
// ("upload_ms") and the time of the counting upload ("counting_ms").
#include <benchmark/benchmark.h>
#include <time.h>

#include <string>

#include "host/routes.h"
#include "tests/http/http_client.h"
#include "tests/testing/scoring_meet.h"
#include "web/web_server.h"

namespace korva {

namespace {

// The scoring meet's girls' 100米 preliminary with all forty girls.
const char* kFortyGirls = R"sql(
DELETE FROM qrtb479 WHERE qrtb481 = 6;
UPDATE qrtb444 SET qrtb452 = 40 WHERE qrtb445 = 6;
INSERT INTO qrtb479 (qrtb480, qrtb481, qrtb482, qrtb483, qrtb484, qrtb486, qrtb487, qrtb488, qrtb489)
  WITH RECURSIVE n(i) AS (SELECT 1 UNION ALL SELECT i + 1 FROM n WHERE i < 40)
  SELECT 600 + i, 6, (i - 1) / 8 + 1, (i - 1) % 8 + 1, 100 + i, 0, 0, 0, 0 FROM n;
)sql";

double Seconds() {
  timespec t{};
  clock_gettime(CLOCK_MONOTONIC, &t);
  return static_cast<double>(t.tv_sec) + static_cast<double>(t.tv_nsec) * 1e-9;
}

void BM_UploadFortyResults(benchmark::State& state) {
  MeetFixture fixture;
  InstallAllRoutes();
  int port = 0;
  if (StartWebServerForTest(fixture.folder(), 0, &port) != 0) {
    state.SkipWithError("the server did not start");
    return;
  }
  TestConnection connection(port);
  connection.Send(RequestText("GET", "/AdminIndex.html"));
  connection.Send(RequestText("POST", "/AdminIndex.html", CookieNumber(connection.Read()),
                              "UserName=admin&PassWord=" + fixture.admin_password()));
  // Signing in gives the session a new number.
  const SessionCookie session = CookieNumber(connection.Read());

  double storing = 0, counting = 0;
  int stores = 0, counts = 0;
  bool failed = false;
  for (auto _ : state) {
    if (failed) break;
    state.PauseTiming();
    OpenScoringMeet(fixture, kFortyGirls);
    state.ResumeTiming();
    for (int i = 1; i <= 40; ++i) {
      // 12.99 down to 12.60, heat by heat.
      const std::string path = "/upcj.html?Dstr=6=" + std::to_string(100 + i) + "=0=-65535=-65535=-65535=1=12." +
                               std::to_string(100 - i).substr(0, 2);
      const double start = Seconds();
      connection.Send(RequestText("GET", path, session));
      const HttpResponse reply = connection.Read();
      const double took = Seconds() - start;
      if (i < 40) {
        storing += took;
        ++stores;
        failed = failed || (reply.body.substr(0, 2) != "01" && reply.body.substr(0, 2) != "03");
      } else {
        counting += took;
        ++counts;
        failed = failed || reply.body.substr(0, 2) != "04";
      }
    }
  }
  if (failed) state.SkipWithError("an upload did not answer as expected");
  state.counters["upload_ms"] = stores ? storing / stores * 1000 : 0;
  state.counters["counting_ms"] = counts ? counting / counts * 1000 : 0;
  StopWebServer();
}
BENCHMARK(BM_UploadFortyResults)->Unit(benchmark::kMillisecond)->Iterations(20);

}  // namespace

}  // namespace korva
