#pragma once
// Faults of the program itself go to the server's console as one line on
// standard error; nothing ever waits for an operator.
#include <string_view>

namespace korva {

// Writes one timestamped line (GBK text, printed as UTF-8) to standard error.
void LogServerMessage(std::string_view gbk_text);
// The same for text that is UTF-8 already: file paths and SQLite's messages.
void LogServerMessageUtf8(std::string_view utf8_text);

// Logs "系统当前发生数据错误，错误代码：%d，请联系开发者！" with the code. It changes
// no data; the calling page goes on.
void ShowDataErrorCode(int code);

// The code of the most recent ShowDataErrorCode call, 0 before any.
int LastDataErrorCode();

}  // namespace korva
