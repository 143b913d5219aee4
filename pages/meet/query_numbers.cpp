#include "pages/meet/query_numbers.h"

#include <charconv>
#include <cstddef>

namespace korva {

namespace {

bool IsBlank(char c) { return c == ' ' || c == '\t' || c == '\n' || c == '\r' || c == '\f' || c == '\v'; }

// One number from pos on; pos moves behind it. false when none is there.
bool ReadNumber(std::string_view text, std::size_t& pos, int& value) {
  while (pos < text.size() && IsBlank(text[pos])) ++pos;
  std::size_t at = pos;
  if (at < text.size() && text[at] == '+') ++at;  // from_chars takes '-' only
  if (at < text.size() && text[at] == '-' && at != pos) return false;
  const char* first = text.data() + at;
  const char* last = text.data() + text.size();
  auto [end, error] = std::from_chars(first, last, value);
  if (error != std::errc()) return false;
  pos = static_cast<std::size_t>(end - text.data());
  return true;
}

}  // namespace

int ReadDashNumbers(std::string_view text, std::span<int> out) {
  std::size_t pos = 0;
  int read = 0;
  for (int& value : out) {
    if (read > 0) {
      if (pos >= text.size() || text[pos] != '-') break;
      ++pos;
    }
    if (!ReadNumber(text, pos, value)) break;
    ++read;
  }
  return read;
}

}  // namespace korva
