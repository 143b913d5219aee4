#pragma once
// Store function of the generated documents. Takes DataLock itself.
#include <ctime>
#include <string>

namespace korva {

struct DocumentNode;

// Records the order book file (name relative to DataFolder) written at
// when: updates the kind-1 document row and its DocumentNode, or inserts
// both. 0 / 1 (data error 422420).
[[nodiscard]] int RecordOrderBookFile(const std::string& file_name, std::time_t when);

// Adds one download to the document and to its row, so the count outlives
// the meet's reopening. 0 / 1 (data error 422421; the count stays).
[[nodiscard]] int CountDocumentDownload(DocumentNode& document);

}  // namespace korva
