#pragma once
// The short requests of the administration scripts carry several numbers in
// one value ("11 5 31 0 0", "4-0-0-0-0-..."). Read like a scanf of "%d"
// directives joined by the separator, without its overflow.
#include <cstddef>
#include <span>
#include <string_view>
#include <vector>

namespace korva {

// Up to max_count integers from the start of text: each may follow blanks
// and carry a sign; between two of them stands the separator (a blank
// separator stands for any run of blanks, none included). Reading stops at
// the first number that is not there. Values beyond int are clamped.
std::vector<int> ReadNumberList(std::string_view text, char separator, std::size_t max_count);

// Numbers a page's query carries joined by "-" ("str=3-12-0-1"), read from
// the start of text into out, up to out.size() of them, the same way except
// that a number too large for an int ends the reading. Returns how many
// were read.
int ReadDashNumbers(std::string_view text, std::span<int> out);

// The value of the digits text starts with (no blanks, no sign), 0 when it
// starts with none; a value too large for an int reads as INT_MAX. The
// athlete searches read a bib number this way.
int LeadingNumber(std::string_view text);

}  // namespace korva
