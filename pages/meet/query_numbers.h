#pragma once
// Numbers that a page's query carries joined by "-" ("str=3-12-0-1"), read
// the way the browsers' scripts write them.
#include <span>
#include <string_view>

namespace korva {

// Reads integers written "%d-%d-..." from the start of text into out, as
// sscanf does with that format (blanks before a number are skipped, a sign
// is allowed), up to out.size() of them. Returns how many were read; a
// number too large for an int ends the reading.
int ReadDashNumbers(std::string_view text, std::span<int> out);

}  // namespace korva
