// Twenty score-entry clerks at once: each signs in on a keep-alive
// connection of its own and uploads every result of its own round (24
// athletes, three heats of eight) in order, as the score-entry page sends
// them, to the in-process server on loopback; the last upload of each round
// counts it. Reported: uploads per second over the whole run, the mean,
// 99th-percentile and worst reply time, and for comparison the rate of the
// same uploads sent one at a time. Every upload must be answered with the code it
// gets when the same uploads run one at a time, and afterwards every lane
// (result, place, points, record flag) and every round's completion must be
// the same as after that one-at-a-time run; otherwise the run is an error.
#include <benchmark/benchmark.h>
#include <time.h>

#include <algorithm>
#include <string>
#include <thread>
#include <vector>

#include "database/data_lock.h"
#include "database/model.h"
#include "host/routes.h"
#include "tests/http/http_client.h"
#include "tests/testing/scoring_meet.h"
#include "web/web_server.h"

namespace korva {

namespace {

constexpr int kClerks = 20;
constexpr int kAthletes = 24;

// The scoring meet without its rounds, then one direct final of an event
// of its own per clerk (so no two rounds share a school record), with boys
// 1 to 24 in three heats, and twenty clerk accounts.
std::string TwentyRoundsSql() {
  return R"sql(
DELETE FROM qrtb479; DELETE FROM qrtb444; DELETE FROM qrtb425; DELETE FROM qrtb467;
INSERT INTO qrtb306 (qrtb307, qrtb308, qrtb309, qrtb310, qrtb311, qrtb312, qrtb313, qrtb314, qrtb315,
                     qrtb316, qrtb317, qrtb318, qrtb319, qrtb320, qrtb321, qrtb322)
  WITH RECURSIVE n(i) AS (SELECT 1 UNION ALL SELECT i + 1 FROM n WHERE i < 20)
  SELECT 1000 + i, '项目' || i, 1, 1, 1, 0, 1, 1, 1, 1, 1, '秒', 1, 2, '', '' FROM n;
INSERT INTO qrtb467 (qrtb469, qrtb470)
  WITH RECURSIVE n(i) AS (SELECT 1 UNION ALL SELECT i + 1 FROM n WHERE i < 20) SELECT 11, 1000 + i FROM n;
INSERT INTO qrtb425 (qrtb426, qrtb427, qrtb428, qrtb429, qrtb430, qrtb431, qrtb434, qrtb436)
  WITH RECURSIVE n(i) AS (SELECT 1 UNION ALL SELECT i + 1 FROM n WHERE i < 20)
  SELECT 2000 + i, 11, 1000 + i, 0, 0, 8, 1, 0 FROM n;
INSERT INTO qrtb444 (qrtb445, qrtb446, qrtb447, qrtb448, qrtb449, qrtb450, qrtb451, qrtb452, qrtb453, qrtb454,
                     qrtb455, qrtb456, qrtb457, qrtb458)
  WITH RECURSIVE n(i) AS (SELECT 1 UNION ALL SELECT i + 1 FROM n WHERE i < 20)
  SELECT i, 2000 + i, 3, 0, 1, i, 10, 24, 8, 0, 0, 0, 0, 0 FROM n;
INSERT INTO qrtb479 (qrtb480, qrtb481, qrtb482, qrtb483, qrtb484, qrtb486, qrtb487, qrtb488, qrtb489)
  WITH RECURSIVE r(i) AS (SELECT 1 UNION ALL SELECT i + 1 FROM r WHERE i < 20),
                 a(j) AS (SELECT 1 UNION ALL SELECT j + 1 FROM a WHERE j < 24)
  SELECT i * 100 + j, i, (j - 1) / 8 + 1, (j - 1) % 8 + 1, j, 0, 0, 0, 0 FROM r, a ORDER BY i, j;
DELETE FROM base.qrtb7 WHERE qrtb8 > 1;
INSERT INTO base.qrtb7 (qrtb8, qrtb9, qrtb10, qrtb14, qrtb20, qrtb21, qrtb25)
  WITH RECURSIVE n(i) AS (SELECT 1 UNION ALL SELECT i + 1 FROM n WHERE i < 20)
  SELECT 1 + i, 'clerk' || i, 'clerkpass' || i, 7, 0, 0, '' FROM n;
)sql";
}

double Seconds() {
  timespec t{};
  clock_gettime(CLOCK_MONOTONIC, &t);
  return static_cast<double>(t.tv_sec) + static_cast<double>(t.tv_nsec) * 1e-9;
}

// Athlete j's result in round r: 12.10 to 12.89, all different in a round.
std::string UploadPath(int round, int athlete) {
  const int hundredths = 10 + (athlete * 7 + round) % 80;
  return "/upcj.html?Dstr=" + std::to_string(round) + "=" + std::to_string(athlete) +
         "=0=-65535=-65535=-65535=1=12." + std::to_string(hundredths);
}

// One clerk's run: the reply codes in order ("" for a missing reply) and
// the time of each.
struct ClerkRun {
  std::vector<std::string> codes;
  std::vector<double> seconds;
};

ClerkRun EnterRound(int port, int clerk, int round) {
  ClerkRun run;
  TestConnection connection(port);
  connection.Send(RequestText("GET", "/AdminIndex.html"));
  const std::string login =
      "UserName=clerk" + std::to_string(clerk) + "&PassWord=clerkpass" + std::to_string(clerk);
  connection.Send(RequestText("POST", "/AdminIndex.html", CookieNumber(connection.Read()), login));
  const SessionCookie session = CookieNumber(connection.Read());
  for (int athlete = 1; athlete <= kAthletes; ++athlete) {
    const double start = Seconds();
    connection.Send(RequestText("GET", UploadPath(round, athlete), session));
    const HttpResponse reply = connection.Read();
    run.seconds.push_back(Seconds() - start);
    run.codes.push_back(reply.status == 200 ? reply.body.substr(0, 2) : "");
  }
  return run;
}

// What counting left in the model: every lane's result, place, points and
// flag, and which rounds are stamped and queued.
std::vector<int> CountedState() {
  DataReadGuard hold(DataLock);
  std::vector<int> state;
  for (const LaneNode& lane : Model().LaneList)
    state.insert(state.end(), {lane.Id, lane.Result, lane.Status, lane.Place, lane.Points, lane.RecordFlag});
  for (const RoundNode& round : Model().RoundList) state.insert(state.end(), {round.Id, round.CompletionStamp != 0});
  std::vector<int> queued;
  for (const ResultPrintItem& item : Model().PrintQueue) queued.push_back(item.RoundId);
  std::sort(queued.begin(), queued.end());
  state.insert(state.end(), queued.begin(), queued.end());
  return state;
}

void BM_TwentyClerksAtOnce(benchmark::State& state) {
  MeetFixture fixture;
  InstallAllRoutes();
  int port = 0;
  if (StartWebServerForTest(fixture.folder(), 0, &port) != 0) {
    state.SkipWithError("the server did not start");
    return;
  }
  // The same uploads one at a time: the codes and the state to match.
  OpenScoringMeet(fixture, TwentyRoundsSql());
  std::vector<ClerkRun> alone;
  const double alone_start = Seconds();
  for (int clerk = 1; clerk <= kClerks; ++clerk) alone.push_back(EnterRound(port, clerk, clerk));
  const double alone_elapsed = Seconds() - alone_start;
  const std::vector<int> expected = CountedState();

  double total = 0, elapsed = 0;
  std::vector<double> times;
  bool same = true;
  for (auto _ : state) {
    state.PauseTiming();
    OpenScoringMeet(fixture, TwentyRoundsSql());
    state.ResumeTiming();
    std::vector<ClerkRun> runs(kClerks);
    std::vector<std::thread> clerks;
    const double start = Seconds();
    for (int clerk = 1; clerk <= kClerks; ++clerk)
      clerks.emplace_back([&, clerk] { runs[clerk - 1] = EnterRound(port, clerk, clerk); });
    for (std::thread& clerk : clerks) clerk.join();
    elapsed += Seconds() - start;
    state.PauseTiming();
    for (int c = 0; c < kClerks; ++c) {
      same = same && runs[c].codes == alone[c].codes;
      times.insert(times.end(), runs[c].seconds.begin(), runs[c].seconds.end());
    }
    same = same && CountedState() == expected;
    state.ResumeTiming();
  }
  StopWebServer();
  if (!same) state.SkipWithError("an upload was lost, unanswered or counted differently from one at a time");
  if (alone.back().codes.back() != "04") state.SkipWithError("the last upload did not count its round");
  std::sort(times.begin(), times.end());
  for (double s : times) total += s;
  const double uploads = static_cast<double>(times.size());
  state.counters["uploads_per_s"] = elapsed > 0 ? uploads / elapsed : 0;
  state.counters["mean_ms"] = times.empty() ? 0 : total / uploads * 1000;
  state.counters["p99_ms"] = times.empty() ? 0 : times[times.size() * 99 / 100] * 1000;
  state.counters["worst_ms"] = times.empty() ? 0 : times.back() * 1000;
  // The same uploads one at a time, for comparison.
  state.counters["alone_uploads_per_s"] = kClerks * kAthletes / alone_elapsed;
}
BENCHMARK(BM_TwentyClerksAtOnce)->Unit(benchmark::kMillisecond)->Iterations(10)->UseRealTime();

}  // namespace

}  // namespace korva
