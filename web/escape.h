#pragma once
// Escaping of data values (never of the program's own markup) for the
// context they are put in. Texts are GBK; only ASCII bytes at character
// starts are changed, so double-byte characters pass untouched.
#include <cstddef>
#include <string>
#include <string_view>

// The byte length (1 or 2) of the GBK character that starts at text[i]: 2
// only for a lead byte (0x81-0xFE) followed by a trail byte (0x40-0xFE but
// 0x7F). A lead byte before any other byte stands alone, as browsers read
// it, so the byte after it (a quote, '<', '&') is a character of its own.
std::size_t GbkCharLength(std::string_view text, std::size_t i);

// HTML text and attribute values: & < > " '.
std::string EscapeHtml(std::string_view gbk);
// Inside a JavaScript string literal ('...' or "..."): \ ' " < > & and
// control characters as \xHH, so the value the script sees is unchanged.
std::string EscapeScript(std::string_view gbk);
// Word XML text: & < >.
std::string EscapeXml(std::string_view gbk);
