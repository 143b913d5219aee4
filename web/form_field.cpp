#include "web/form_field.h"

#include <atomic>
#include <climits>
#include <cstdlib>
#include <ctime>
#include <utility>

#include "database/data_error.h"
#include "database/gbk_text.h"

namespace korva {

namespace {

int HexValue(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  return -1;
}

bool IsForbidden(unsigned char c, bool allow_question_mark) {
  switch (c) {
    case '"': case '&': case '\'': case '\\': case '/': case '!': case '%': case '+': case '=':
      return true;
    case '?':
      return !allow_question_mark;
    default:
      return false;
  }
}

// True when a forbidden character starts a character of value.
// The trail byte of a double-byte character may be 0x5C and must not count
// as a backslash.
bool HoldsForbidden(std::string_view value, bool allow_question_mark) {
  for (std::size_t i = 0; i < value.size(); i += GbkCharLength(value, i)) {
    if (GbkCharLength(value, i) == 1 && IsForbidden(static_cast<unsigned char>(value[i]), allow_question_mark))
      return true;
  }
  return false;
}

// True for a GBK character (one or two bytes) that survives the trip to the
// database file's UTF-8 and back.
bool IsStorable(std::string_view character) {
  if (character.size() == 1) {
    unsigned char c = static_cast<unsigned char>(character[0]);
    return c >= 0x20 && c < 0x7F;
  }
  return Utf8ToGbk(GbkToUtf8(character)) == character;
}

// Text as it enters: control characters (NUL, CR, LF and the rest, DEL)
// are dropped, and so is whatever is not a GBK character (a lone lead byte,
// a pair the code page lacks), which the file could only keep as a
// replacement character. Memory and the file then hold the same text, and
// two names that differ only there are the same name.
std::string StorableText(std::string value) {
  bool plain = true;
  for (unsigned char c : value) plain = plain && c >= 0x20 && c < 0x7F;
  if (plain) return value;
  std::string kept;
  kept.reserve(value.size());
  for (std::size_t i = 0; i < value.size();) {
    std::size_t length = GbkCharLength(value, i);
    std::string_view character(value.data() + i, length);
    if (IsStorable(character)) kept += character;
    i += length;
  }
  return kept;
}

// Anyone can send an over-long value, so the console line is written at
// most once a second.
void ReportOverlongValue() {
  static std::atomic<long long> last_report{0};
  timespec clock{};
  clock_gettime(CLOCK_MONOTONIC, &clock);
  long long now = clock.tv_sec;
  long long last = last_report.load();
  if (now - last < 1 && last != 0) return;
  if (!last_report.compare_exchange_strong(last, now)) return;
  LogServerMessage("内存溢出，错误号：0032242");
}

// The raw value behind key, searched from pos; npos start when absent.
std::size_t FindRawValue(std::string_view source, std::size_t pos, std::string_view key,
                         std::string_view& raw) {
  if (key.empty() || pos > source.size()) return std::string_view::npos;
  std::size_t at = source.find(key, pos);
  if (at == std::string_view::npos) return at;
  std::size_t start = at + key.size();
  std::size_t end = source.find_first_of("& \r", start);
  if (end == std::string_view::npos) end = source.size();
  raw = source.substr(start, end - start);
  return start;
}

int ReadField(std::string_view source, std::size_t& pos, std::string_view key, std::size_t max,
              std::string& out, bool allow_question_mark) {
  out.clear();
  std::string_view raw;
  std::size_t start = FindRawValue(source, pos, key, raw);
  if (start == std::string_view::npos) return 0;
  pos = start + raw.size();
  // The limit is the field's size in bytes, so it applies to the decoded
  // value: a Chinese character takes six bytes on the wire for two kept.
  // A raw value three times the limit can't decode below it.
  std::string value = raw.size() < 3 * max ? UrlDecode(raw) : std::string(raw);
  if (value.size() >= max) {
    ReportOverlongValue();
    return 0;
  }
  out = StorableText(std::move(value));
  if (HoldsForbidden(out, allow_question_mark)) out.clear();
  return 1;
}

}  // namespace

std::string UrlDecode(std::string_view text) {
  std::string out;
  out.reserve(text.size());
  for (std::size_t i = 0; i < text.size(); ++i) {
    char c = text[i];
    if (c == '+') {
      out += ' ';
    } else if (c == '%' && i + 2 < text.size() && HexValue(text[i + 1]) >= 0 && HexValue(text[i + 2]) >= 0) {
      out += static_cast<char>(HexValue(text[i + 1]) * 16 + HexValue(text[i + 2]));
      i += 2;
    } else {
      out += c;
    }
  }
  return out;
}

int GetFormField(std::string_view source, std::string_view key, std::size_t max, std::string& out) {
  std::size_t pos = 0;
  return ReadField(source, pos, key, max, out, false);
}

int GetNextFormField(std::string_view source, std::size_t& pos, std::string_view key, std::size_t max,
                     std::string& out) {
  return ReadField(source, pos, key, max, out, false);
}

bool HasRawFormValue(std::string_view source, std::string_view key) {
  std::string_view raw;
  return FindRawValue(source, 0, key, raw) != std::string_view::npos && !raw.empty();
}

int ReadNameListField(std::string_view source, std::string& out) {
  constexpr std::size_t kMax = 100;
  std::size_t pos = 0;
  int found = ReadField(source, pos, "Tname1=", kMax, out, true);
  if (out.empty()) return found;
  std::string replaced;
  for (std::size_t i = 0; i < out.size();) {
    std::size_t length = GbkCharLength(out, i);
    if (length == 1 && out[i] == '?') {
      replaced += "？";
    } else {
      replaced.append(out, i, length);
    }
    i += length;
  }
  out = replaced.size() > kMax - 1 ? std::string() : replaced;
  return found;
}

int GetFormInt(std::string_view source, std::string_view key, std::size_t max) {
  std::string value;
  if (!GetFormField(source, key, max, value)) return 0;
  // strtol saturates instead of overflowing; the result is clamped to int.
  long n = std::strtol(value.c_str(), nullptr, 10);
  if (n > INT_MAX) return INT_MAX;
  if (n < INT_MIN) return INT_MIN;
  return static_cast<int>(n);
}

}  // namespace korva
