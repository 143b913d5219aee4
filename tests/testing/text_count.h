#pragma once
// How often a piece of markup stands in a page or sheet.
#include <string>
#include <string_view>

namespace korva {

// Non-overlapping occurrences of part in text.
inline int CountOf(std::string_view text, std::string_view part) {
  int n = 0;
  for (std::size_t at = text.find(part); at != std::string_view::npos; at = text.find(part, at + part.size())) ++n;
  return n;
}

}  // namespace korva
