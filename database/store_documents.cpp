#include "database/store_documents.h"

#include "database/connections.h"
#include "database/data_error.h"
#include "database/data_lock.h"
#include "database/model.h"
#include "database/store_common.h"

namespace korva {

int RecordOrderBookFile(const std::string& file_name, std::time_t when) {
  DataGuard hold(DataLock);
  std::tm tm{};
  localtime_r(&when, &tm);
  std::string time_text = std::to_string(tm.tm_mon + 1) + "月" + std::to_string(tm.tm_mday) + "日" +
                          std::to_string(tm.tm_hour) + "时" + std::to_string(tm.tm_min) + "分";
  Connection& meet = MeetConnection();
  auto& documents = Model().DocumentList;
  DocumentNode* book = nullptr;
  for (DocumentNode& d : documents)
    if (d.Kind == 1 && !book) book = &d;

  if (book) {
    if (!Execute(meet, "UPDATE qrtb518 SET qrtb523 = ?, qrtb522 = ?, qrtb521 = 0 WHERE qrtb520 = 1",
                 file_name, time_text)) {
      ShowDataErrorCode(422420);
      return 1;
    }
    book->FilePath = file_name;
    book->TimeText = time_text;
    book->Downloads = 0;
    return 0;
  }
  if (!Execute(meet, "INSERT INTO qrtb518 (qrtb520, qrtb523, qrtb522, qrtb521) VALUES (1, ?, ?, 0)",
               file_name, time_text)) {
    ShowDataErrorCode(422420);
    return 1;
  }
  DocumentNode node;
  node.Id = static_cast<int>(meet.LastInsertId());
  node.Kind = 1;
  node.TimeText = time_text;
  node.FilePath = file_name;
  // DocumentList runs newest id first.
  documents.insert(documents.begin(), node);
  return 0;
}

int CountDocumentDownload(DocumentNode& document) {
  DataGuard hold(DataLock);
  if (!Execute(MeetConnection(), "UPDATE qrtb518 SET qrtb521 = ? WHERE qrtb519 = ?", document.Downloads + 1,
               document.Id)) {
    ShowDataErrorCode(422421);
    return 1;
  }
  ++document.Downloads;
  return 0;
}

}  // namespace korva
