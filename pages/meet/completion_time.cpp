#include "pages/meet/completion_time.h"

namespace korva {

std::string FormatCompletionTime(int stamp) {
  const int minute = stamp % 100;
  return std::to_string(stamp / 1000000) + "-" + std::to_string(stamp % 1000000 / 10000) + " " +
         std::to_string(stamp % 10000 / 100) + ":" + (minute <= 9 ? "0" : "") + std::to_string(minute);
}

}  // namespace korva
