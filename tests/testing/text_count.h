#pragma once
// Whether and how often a piece of markup stands in a page or sheet.
#include <string_view>

namespace korva {

inline bool Has(std::string_view text, std::string_view part) { return text.find(part) != std::string_view::npos; }

// Non-overlapping occurrences of part in text.
inline int CountOf(std::string_view text, std::string_view part) {
  int n = 0;
  for (std::size_t at = text.find(part); at != std::string_view::npos; at = text.find(part, at + part.size())) ++n;
  return n;
}

}  // namespace korva
