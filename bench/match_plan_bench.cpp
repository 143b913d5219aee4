// The schedule page of a large meet, built on every click of its buttons:
// twelve groups with every default event (252 rounds: preliminaries and
// their finals, direct finals, combined-event parts), half of them placed
// in four sessions.
#include <benchmark/benchmark.h>

#include <string>

#include "database/data_lock.h"
#include "database/model.h"
#include "pages/setup/match_plan.h"
#include "tests/testing/meet_fixture.h"
#include "web/templates.h"

namespace korva {

namespace {

// Groups 1..12 (grades 1 to 6, boys and girls); one contest per group and
// default event; a preliminary and a final for events with preliminaries,
// one round otherwise, combined events as their three parts. Every other
// round is placed, in four sessions.
const char* kLargeMeetSql = R"sql(
WITH RECURSIVE n(i) AS (SELECT 0 UNION ALL SELECT i + 1 FROM n WHERE i < 11)
INSERT INTO qrtb373 (qrtb374, qrtb375, qrtb376, qrtb378, qrtb381, qrtb382)
    SELECT i + 1, i / 2 + 1, i % 2 + 1, 2, 8, 1 FROM n;
INSERT INTO qrtb425 (qrtb426, qrtb427, qrtb428, qrtb429)
    SELECT g.qrtb374 * 100 + e.qrtb307, g.qrtb374, e.qrtb307, e.qrtb312 FROM qrtb373 g, qrtb306 e;
INSERT INTO qrtb444 (qrtb446, qrtb447, qrtb454)
    SELECT k.qrtb426, 1, 0 FROM qrtb425 k WHERE k.qrtb429 = 1
    UNION ALL SELECT k.qrtb426, 2, 0 FROM qrtb425 k WHERE k.qrtb429 = 1
    UNION ALL SELECT k.qrtb426, 3, 0 FROM qrtb425 k JOIN qrtb306 e ON e.qrtb307 = k.qrtb428
        WHERE k.qrtb429 = 0 AND e.qrtb309 <> 3
    UNION ALL SELECT k.qrtb426, 3, p.qrtb251 FROM qrtb425 k JOIN qrtb249 p ON p.qrtb250 = k.qrtb428;
UPDATE qrtb444 SET qrtb449 = qrtb445 / 2 % 4 + 1, qrtb450 = qrtb445, qrtb451 = 5 WHERE qrtb445 % 2 = 0;
)sql";

void BM_ServeMatchPlanPage(benchmark::State& state) {
  MeetFixture f;
  f.OpenNewMeet(kLargeMeetSql);
  LoadHtmlTemplateCache();
  LoginNode admin;
  admin.Role = kRoleAdmin;
  int match_type = static_cast<int>(state.range(0));
  std::size_t bytes = 0;
  for (auto _ : state) {
    DataGuard hold(DataLock);
    std::string reply;
    if (ServeMatchPlanPage(admin, reply, 1, match_type, "YapSel=-2-4-") != 0) state.SkipWithError("no page");
    bytes = reply.size();
  }
  state.counters["page_bytes"] = static_cast<double>(bytes);
  state.counters["rounds"] = static_cast<double>(Model().RoundList.size());
}
BENCHMARK(BM_ServeMatchPlanPage)->Arg(1)->Arg(2)->Unit(benchmark::kMicrosecond);

}  // namespace

}  // namespace korva
