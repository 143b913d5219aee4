#include "database/data_error.h"

#include <atomic>
#include <cstdio>
#include <ctime>
#include <mutex>
#include <string>

#include "database/gbk_text.h"

namespace korva {

namespace {
std::atomic<int> last_code{0};
std::mutex log_mutex;
}  // namespace

void LogServerMessageUtf8(std::string_view utf8_text) {
  char stamp[32] = "";
  std::time_t now = std::time(nullptr);
  std::tm tm{};
  if (localtime_r(&now, &tm)) std::strftime(stamp, sizeof stamp, "%Y-%m-%d %H:%M:%S", &tm);
  std::string line(utf8_text);
  std::lock_guard<std::mutex> hold(log_mutex);
  std::fprintf(stderr, "%s %s\n", stamp, line.c_str());
  std::fflush(stderr);
}

void LogServerMessage(std::string_view gbk_text) { LogServerMessageUtf8(GbkToUtf8(gbk_text)); }

void ShowDataErrorCode(int code) {
  last_code = code;
  LogServerMessage("系统当前发生数据错误，错误代码：" + std::to_string(code) + "，请联系开发者！");
}

int LastDataErrorCode() { return last_code; }

}  // namespace korva
