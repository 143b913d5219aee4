#include "pages/common/number_list.h"

#include <algorithm>
#include <climits>

namespace korva {

namespace {

bool IsBlank(char c) { return c == ' ' || c == '\t' || c == '\n' || c == '\r' || c == '\v' || c == '\f'; }

// One number at pos (blanks and a sign first); false when no digit follows,
// or, unless clamp is set, when it does not fit an int (values beyond int
// are clamped otherwise).
bool ReadNumber(std::string_view text, std::size_t& pos, int& value, bool clamp = true) {
  std::size_t i = pos;
  while (i < text.size() && IsBlank(text[i])) ++i;
  bool negative = false;
  if (i < text.size() && (text[i] == '-' || text[i] == '+')) negative = text[i++] == '-';
  if (i >= text.size() || text[i] < '0' || text[i] > '9') return false;
  long long n = 0;
  for (; i < text.size() && text[i] >= '0' && text[i] <= '9'; ++i) {
    if (n <= INT_MAX) n = n * 10 + (text[i] - '0');
  }
  if (negative) n = -n;
  if (!clamp && (n > INT_MAX || n < INT_MIN)) return false;
  value = n > INT_MAX ? INT_MAX : n < INT_MIN ? INT_MIN : static_cast<int>(n);
  pos = i;
  return true;
}

}  // namespace

std::vector<int> ReadNumberList(std::string_view text, char separator, std::size_t max_count) {
  std::vector<int> numbers;
  std::size_t pos = 0;
  while (numbers.size() < max_count) {
    if (!numbers.empty()) {
      if (separator == ' ') {
        while (pos < text.size() && IsBlank(text[pos])) ++pos;
      } else if (pos < text.size() && text[pos] == separator) {
        ++pos;
      } else {
        break;
      }
    }
    int value = 0;
    if (!ReadNumber(text, pos, value)) break;
    numbers.push_back(value);
  }
  return numbers;
}

int ReadDashNumbers(std::string_view text, std::span<int> out) {
  std::size_t pos = 0;
  int read = 0;
  for (int& value : out) {
    if (read > 0) {
      if (pos >= text.size() || text[pos] != '-') break;
      ++pos;
    }
    if (!ReadNumber(text, pos, value, false)) break;
    ++read;
  }
  return read;
}

int LeadingNumber(std::string_view text) {
  long long value = 0;
  for (char c : text) {
    if (c < '0' || c > '9') break;
    value = std::min<long long>(value * 10 + (c - '0'), INT_MAX);
  }
  return static_cast<int>(value);
}

}  // namespace korva
