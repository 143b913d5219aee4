#pragma once
// Text inside the program is GBK (code page 936); files, the console and the
// Word document are UTF-8. This is the one place that converts between them.
#include <cstddef>
#include <string>
#include <string_view>

namespace korva {

// A GBK lead byte starts a double-byte character.
inline bool IsGbkLeadByte(unsigned char c) { return c >= 0x81 && c <= 0xFE; }

// The byte length (1 or 2) of the GBK character that starts at text[i]: 2
// only for a lead byte (0x81-0xFE) followed by a trail byte (0x40-0xFE but
// 0x7F). A lead byte before any other byte stands alone, as browsers read
// it, so the byte after it (a quote, '<', '&') is a character of its own.
std::size_t GbkCharLength(std::string_view text, std::size_t i);

// GBK to UTF-8. A byte sequence that is not GBK becomes U+FFFD; never fails.
std::string GbkToUtf8(std::string_view gbk);

// UTF-8 to GBK. A character GBK lacks, or malformed UTF-8, becomes '?'.
std::string Utf8ToGbk(std::string_view utf8);

// The longest prefix of text that holds at most max_bytes bytes and does not
// end inside a double-byte character.
std::string_view CutGbk(std::string_view text, std::size_t max_bytes);

// True when the byte at pos starts a character (is not a trail byte).
bool IsGbkCharStart(std::string_view text, std::size_t pos);

// True when needle stands in text starting at a character start, so a
// search never matches the trail byte of one character and the lead byte
// of the next. An empty needle is found.
bool ContainsGbk(std::string_view text, std::string_view needle);

}  // namespace korva
