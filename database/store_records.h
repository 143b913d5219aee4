#pragma once
// Store functions of the school records (base file, qrtb188). Each takes
// DataLock itself. RecordList is the caller's.
#include <string>

#include "database/model.h"

namespace korva {

// Inserts a record row as the node holds it (its Id and InsertFlag aside:
// the row is marked inserted by this program); the second and third values
// are NULL when they are kNoResult. The new record id, 0 on failure.
[[nodiscard]] int InsertRecord(const RecordNode& record);

// Writes a record's value and round kind together with its holder, class,
// date and meet name, so the row keeps who set it. 0 / 1 (data error 25232).
[[nodiscard]] int UpdateRecordFlags(const RecordNode& record);

// Deletes a record row. 0 / 1 (data error 179).
[[nodiscard]] int DeleteRecord(int record_id);

}  // namespace korva
