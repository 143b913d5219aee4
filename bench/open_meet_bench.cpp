// Opening a large meet: 60 classes, 3,000 athletes entered in 3 contests
// each, 400 rounds and 12,000 lanes. Reports the process's peak memory.
#include <benchmark/benchmark.h>
#include <sys/resource.h>

#include <stdexcept>

#include "database/model.h"
#include "database/open_meet.h"
#include "tests/testing/meet_fixture.h"

namespace korva {

namespace {

const char* kLargeMeetSql = R"sql(
DELETE FROM qrtb234;
DELETE FROM qrtb7;
WITH RECURSIVE n(i) AS (SELECT 0 UNION ALL SELECT i + 1 FROM n WHERE i < 59)
INSERT INTO qrtb234 (qrtb235, qrtb236, qrtb237, qrtb238, qrtb239, qrtb240)
    SELECT i + 1, i / 10 + 1, i % 10 + 1, printf('%d%02d班', i / 10 + 1, i % 10 + 1), '', '' FROM n;
INSERT INTO qrtb7 (qrtb10, qrtb11, qrtb12, qrtb14, qrtb15, qrtb16)
    SELECT '9352', '教练', '班主任', 1, qrtb236, qrtb235 FROM qrtb234;
WITH RECURSIVE n(i) AS (SELECT 0 UNION ALL SELECT i + 1 FROM n WHERE i < 11)
INSERT INTO qrtb373 (qrtb374, qrtb375, qrtb376, qrtb377, qrtb378, qrtb379, qrtb380, qrtb381,
                     qrtb382, qrtb383, qrtb384, qrtb385, qrtb386, qrtb387, qrtb388)
    SELECT i + 1, i / 2 + 1, i % 2 + 1, 25, 2, 3, 3, 8, 1, 1, 0, 0, 2, 0, 0 FROM n;
WITH RECURSIVE n(i) AS (SELECT 0 UNION ALL SELECT i + 1 FROM n WHERE i < 179)
INSERT INTO qrtb467 (qrtb469, qrtb470) SELECT i / 15 + 1, i % 15 + 1 FROM n;
WITH RECURSIVE n(i) AS (SELECT 0 UNION ALL SELECT i + 1 FROM n WHERE i < 199)
INSERT INTO qrtb425 (qrtb426, qrtb427, qrtb428, qrtb429, qrtb430, qrtb431, qrtb434, qrtb436)
    SELECT i + 1, i % 12 + 1, i / 12 % 15 + 1, 1, 8, 8, 1, 0 FROM n;
WITH RECURSIVE n(i) AS (SELECT 0 UNION ALL SELECT i + 1 FROM n WHERE i < 399)
INSERT INTO qrtb444 (qrtb445, qrtb446, qrtb447, qrtb448, qrtb449, qrtb450, qrtb451, qrtb452,
                     qrtb453, qrtb454, qrtb455, qrtb456, qrtb457, qrtb458)
    SELECT i + 1, i / 2 + 1, i % 2 + 1, 0, i % 8 + 1, i / 8 + 1, 10, 30, 8, 0, 0, 0, 0, 0 FROM n;
WITH RECURSIVE n(i) AS (SELECT 0 UNION ALL SELECT i + 1 FROM n WHERE i < 2999)
INSERT INTO qrtb409 (qrtb411, qrtb410, qrtb412, qrtb413, qrtb414, qrtb415, qrtb416)
    SELECT i + 1, printf('运动员%04d', i), i + 1, (i % 60) / 10 + 1, i % 60 + 1, i / 60 % 2 + 1, 0
    FROM n;
WITH RECURSIVE n(i) AS (SELECT 0 UNION ALL SELECT i + 1 FROM n WHERE i < 8999)
INSERT INTO qrtb397 (qrtb399, qrtb400) SELECT (i * 7) % 200 + 1, i / 3 + 1 FROM n;
WITH RECURSIVE n(i) AS (SELECT 0 UNION ALL SELECT i + 1 FROM n WHERE i < 11999)
INSERT INTO qrtb479 (qrtb480, qrtb481, qrtb482, qrtb483, qrtb484, qrtb485, qrtb486, qrtb487,
                     qrtb488, qrtb489)
    SELECT i + 1, i / 30 + 1, i % 30 / 8 + 1, i % 8 + 1, i % 3000 + 1,
           CASE WHEN i % 5 = 0 THEN NULL ELSE 1000 + i % 700 END, 0, i % 9, 100 * (i % 9), 0
    FROM n;
)sql";

void BM_OpenCurrentMeet(benchmark::State& state) {
  MeetFixture fixture;
  int meet = fixture.AddMeet();
  if (!fixture.MeetSql(meet, kLargeMeetSql)) throw std::runtime_error("large meet SQL failed");
  for (auto _ : state) {
    if (OpenCurrentMeet(meet) != 0) state.SkipWithError("OpenCurrentMeet failed");
  }
  const MeetModel& m = Model();
  if (m.ClassList.size() != 60 || m.AthleteList.size() != 3000 || m.RoundList.size() != 400 ||
      m.LaneList.size() != 12000)
    state.SkipWithError("the large meet did not load whole");
  rusage usage{};
  getrusage(RUSAGE_SELF, &usage);
  state.counters["peak_rss_MB"] = static_cast<double>(usage.ru_maxrss) / 1024.0;
}
BENCHMARK(BM_OpenCurrentMeet)->Unit(benchmark::kMillisecond);

}  // namespace

}  // namespace korva
