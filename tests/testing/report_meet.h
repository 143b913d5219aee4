#pragma once
// The reports' meet: the scoring meet (scoring_meet.sql) with the relay
// teams moved so that class 103's team runs in heat 1, lane 8, as its boy 8
// did in the 200米 just before (a class scoring from the same heat and lane
// in consecutive rounds), class 102's team in heat 2, and an old school
// record of the boys' 跳远 from another meet. The uploads below count every
// round but the combined event (which is stored, never ranked) and give
// these totals, worked out by hand from the schemes:
//   class 101: 100米 6+3, 跳远 9, 200米 10, girls' final 9+5, girls' 跳远 70 = 112
//   class 102: 100米 12 (9 and 3 for breaking the record)+5, 跳远 6, 200米
//              14+8, relay 7, girls' final 6+3, girls' 跳远 77 = 138
//   class 103: 100米 7+4, 跳远 7, 200米 18+12+6, relay 9, girl 101's record
//              bonus in the preliminary 3, girls' final 7+4, girls' 跳远 63 = 140
#include <string>
#include <vector>

#include "database/model.h"
#include "tests/testing/scoring_meet.h"

namespace korva {

inline constexpr const char* kReportMeetSql =
    "UPDATE qrtb479 SET qrtb483 = 8 WHERE qrtb481 = 5 AND qrtb484 BETWEEN 21 AND 24;\n"
    "UPDATE qrtb479 SET qrtb482 = 2, qrtb483 = 1 WHERE qrtb481 = 5 AND qrtb484 BETWEEN 17 AND 20;\n";

inline constexpr const char* kReportMeetBaseSql =
    "INSERT INTO qrtb188 (qrtb189, qrtb190, qrtb191, qrtb192, qrtb193, qrtb194, qrtb195, qrtb196, qrtb199,"
    " qrtb202, qrtb205, qrtb208, qrtb209, qrtb210) VALUES"
    " (1, 1, '一年级', 1, '跳远', 2, 1, 5230, '张三', '一年级09班', '2019年5月1日', '米', '去年运动会', 2);\n";

// One upload of the score-entry page.
struct ReportUpload {
  int Round = 0;
  int Athlete = 0;
  std::string Text;
  int Status = 0;
  ScoreValue Record = kNoResult;  // the standing record the page shows
};

// A value in hundredths as the page types it: 1210 -> "12.10".
inline std::string Hundredths(int value) {
  const int rest = value % 100;
  return std::to_string(value / 100) + (rest < 10 ? ".0" : ".") + std::to_string(rest);
}

// Every result of the meet, round by round; the last upload of a round
// counts it (the girls' preliminary seeds its final, round 7).
inline std::vector<ReportUpload> ReportMeetUploads() {
  std::vector<ReportUpload> uploads;
  // 100米 against a record of 12.15, which boy 1 breaks: boy i runs 12.00 + i/10.
  for (int boy = 1; boy <= 10; ++boy) uploads.push_back({1, boy, Hundredths(1200 + 10 * boy), 0, 1215});
  // 跳远: boy i jumps 4.00 + i/10 metres.
  for (int boy = 1; boy <= 6; ++boy) uploads.push_back({2, boy, Hundredths(400 + 10 * boy)});
  // 200米: boy 8 wins, then boys 1 to 7.
  for (int boy = 1; boy <= 8; ++boy) uploads.push_back({3, boy, Hundredths(boy == 8 ? 2500 : 2500 + 10 * boy)});
  uploads.push_back({4, 1, "300"});
  uploads.push_back({4, 2, "310"});
  uploads.push_back({5, 13, "", 1});  // class 101's team is disqualified
  uploads.push_back({5, 21, "50.00"});
  uploads.push_back({5, 17, "51.00"});
  // The girls' preliminary against 12.15, which girl 101 breaks: girl i
  // runs 12.00 + (i - 100)/10.
  for (int girl = 101; girl <= 110; ++girl) uploads.push_back({6, girl, Hundredths(1200 + 10 * (girl - 100)), 0, 1215});
  // The final: girl 108 wins, then 107, 106 ... 103, 101, 102.
  const int final_results[] = {1250, 1255, 1245, 1240, 1235, 1230, 1225, 1220};
  for (int girl = 101; girl <= 108; ++girl) uploads.push_back({7, girl, Hundredths(final_results[girl - 101])});
  // Girls' 跳远: girl i jumps 2.00 + (i - 100)/20 metres; girl 101 is 21st.
  for (int girl = 101; girl <= 121; ++girl) uploads.push_back({8, girl, Hundredths(200 + 5 * (girl - 100))});
  return uploads;
}

}  // namespace korva
