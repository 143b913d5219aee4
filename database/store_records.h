#pragma once
// Store functions of the school records (base file, qrtb188). Each takes
// DataLock itself. RecordList is the caller's.
#include <string>

#include "database/model.h"

namespace korva {

// One score upload of the score-entry page, as parsed and completed by the
// score saving.
struct ScoreUpload {
  int RoundId = 0;
  int AthleteId = 0;
  int Status = 0;           // 0 normal, above 0 no valid result
  int Mode = 0;             // 1 upload, 2 confirmed after a warning, 3 recount
  ScoreValue RecordValue = kNoResult;   // the standing record as the page had it
  ScoreValue RecordValue2 = kNoResult;  // second record value, carried unchanged
  ScoreValue RecordValue3 = kNoResult;  // third record value, carried unchanged
  ScoreValue Value = kNoResult;
  int RoundKind = 0;
  int GroupSex = 0;         // 1 boys, 2 girls
  int EventType = 0;        // BiSaiType
  int TeamType = 0;         // TuanTiType
  int SortDirection = 1;    // PaiXuType
  int Heat = 1;
  std::string ScoreText;
  std::string UnitText;
  std::string GroupName;
  std::string EventName;
};

// Inserts a record set by a lane: group, sex, event, event and team type,
// second and third values, unit and round kind from the upload; the lane's
// result; holder, class and date; MeetName. The new record id, 0 on
// failure.
int InsertRecord(const LaneNode& lane, const std::string& holder_name,
                 const std::string& class_name, const std::string& date_text,
                 const ScoreUpload& upload);

// Inserts a typed record (value of the upload, second and third values
// NULL, holder, class, date and meet name empty). The new record id, 0 on
// failure.
int InsertRecordEmpty(const ScoreUpload& upload);

// Writes a record's value and round kind together with its holder, class,
// date and meet name, so the row keeps who set it. 0 / 1 (data error 25232).
int UpdateRecordFlags(const RecordNode& record);

// Deletes a record row. 0 / 1 (data error 179).
int DeleteRecord(int record_id);

}  // namespace korva
