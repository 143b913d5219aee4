#pragma once
// Escaping of data values (never of the program's own markup) for the
// context they are put in. Texts are GBK; only ASCII bytes at character
// starts are changed, so double-byte characters pass untouched.
#include <cstddef>
#include <string>
#include <string_view>

namespace korva {

// HTML text and attribute values: & < > " '.
std::string EscapeHtml(std::string_view gbk);
// Inside a JavaScript string literal ('...' or "..."): \ ' " < > & and
// control characters as \xHH, so the value the script sees is unchanged.
std::string EscapeScript(std::string_view gbk);
// Word XML text: & < >; control characters other than tab, line feed and
// carriage return, which XML cannot carry even escaped, are dropped.
std::string EscapeXml(std::string_view gbk);

}  // namespace korva
