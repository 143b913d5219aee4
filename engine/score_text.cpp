#include "engine/score_text.h"

#include <cstdint>
#include <cstdio>
#include <cstdlib>

namespace korva {

namespace {

// The units by their index in UnitNames; every other unit text is kOther.
enum class Unit { kSecond = 0, kMinute, kHour, kCentimetre, kMetre, kCount, kKilogram, kOther };

Unit UnitOf(std::string_view unit) {
  for (int i = 0; i < 7; ++i) {
    if (unit == UnitNames[i]) return static_cast<Unit>(i);
  }
  return Unit::kOther;
}

bool IsDigit(char c) { return c >= '0' && c <= '9'; }
bool IsSpace(char c) { return c == ' ' || (c >= '\t' && c <= '\r'); }

// What reading "%d.%d.%d.%d" from a text yields: the numbers read (the
// others stay 0), how many, and whether the text ended before the first
// number. Numbers are wide enough for any ten-byte text.
struct ScoreScan {
  std::int64_t number[4] = {0, 0, 0, 0};
  int count = 0;
  bool ended_before_first = false;
};

ScoreScan ScanScoreNumbers(std::string_view text) {
  ScoreScan scan;
  std::size_t pos = 0;
  for (int i = 0; i < 4; ++i) {
    if (i > 0) {
      if (pos >= text.size() || text[pos] != '.') break;
      ++pos;
    }
    while (pos < text.size() && IsSpace(text[pos])) ++pos;
    if (pos >= text.size()) {
      scan.ended_before_first = (i == 0);
      break;
    }
    bool negative = false;
    if (text[pos] == '-' || text[pos] == '+') {
      negative = text[pos] == '-';
      ++pos;
    }
    if (pos >= text.size() || !IsDigit(text[pos])) break;
    std::int64_t n = 0;
    while (pos < text.size() && IsDigit(text[pos])) n = n * 10 + (text[pos++] - '0');
    scan.number[i] = negative ? -n : n;
    ++scan.count;
  }
  return scan;
}

int Refuse(std::string& text, ScoreValue& value) {
  text.clear();
  value = kNoResult;
  return 1;
}

std::string Printf(const char* format, auto... args) {
  char buffer[64];
  std::snprintf(buffer, sizeof buffer, format, args...);
  return buffer;
}

// The normal text of a typed result from its three numbers (a not negative).
std::string NormalText(int a, int b, int c) {
  if (c != 0) return b != 0 ? Printf("%d.%02d.%02d", a, b, c) : Printf("%d.0.%02d", a, c);
  return b != 0 ? Printf("%d.%02d", a, b) : Printf("%d", a);
}

}  // namespace

int ParseScoreText(std::string& text, std::string_view unit_text, ScoreValue& value) {
  if (text.empty()) {
    value = kNoResult;
    return 0;
  }
  if (text.size() > kScoreTextMaxBytes) return Refuse(text, value);
  const Unit unit = UnitOf(unit_text);
  // Only a distance in centimetres may carry a sign, in its first byte.
  for (std::size_t i = 0; i < text.size(); ++i) {
    if (IsDigit(text[i]) || text[i] == '.') continue;
    if (i == 0 && unit == Unit::kCentimetre) continue;
    return Refuse(text, value);
  }
  const ScoreScan scan = ScanScoreNumbers(text);
  if (scan.ended_before_first || scan.count == 4) return Refuse(text, value);
  std::int64_t a = scan.number[0], b = scan.number[1], c = scan.number[2];
  if (b > 99 || c > 99 || a > 999) return Refuse(text, value);
  if (a < 0 && unit != Unit::kCentimetre) return Refuse(text, value);
  // A negative distance is bounded like a positive one, so that its value
  // fits the stored integer.
  if (a < -999) return Refuse(text, value);

  if (unit == Unit::kMetre && b >= 1 && b <= 9) {
    // "4.5" means 4 m 50 cm, "4.05" means 4 m 5 cm.
    const std::size_t dot = text.find('.');
    if (dot != std::string::npos && dot + 1 < text.size() && text[dot + 1] != '0') b *= 10;
  }

  // The sign is read from the text itself: "-0.5" has a whole part of 0.
  const bool negative = unit == Unit::kCentimetre && text[0] == '-';
  const std::int64_t whole = a < 0 ? -a : a;
  std::int64_t result = 0;
  switch (unit) {
    case Unit::kCentimetre:
      // One decimal digit (tenths); "150.05" is the normal text of 150.5.
      if (c != 0 || b > 9) return Refuse(text, value);
      result = whole * 10 + b;
      if (negative) result = -result;
      break;
    case Unit::kMetre:
      if (c > 0) return Refuse(text, value);
      result = (a * 100 + b) * 10;
      break;
    case Unit::kHour:
      result = ((a * 60 + b) * 60 + c) * 100;
      break;
    case Unit::kMinute:
      if (b > 59) return Refuse(text, value);
      result = (a * 60 + b) * 100 + c;
      break;
    case Unit::kSecond:
      if (c != 0) return Refuse(text, value);
      result = a * 100 + b;
      break;
    case Unit::kKilogram:
      if (c != 0) return Refuse(text, value);
      result = a * 1000 + b;
      break;
    case Unit::kCount:
    case Unit::kOther:
      if (b != 0 || c != 0) return Refuse(text, value);
      result = a;
      break;
  }
  text = (negative && result < 0 ? "-" : "") +
         NormalText(static_cast<int>(whole), static_cast<int>(b), static_cast<int>(c));
  value = static_cast<ScoreValue>(result);
  return 0;
}

std::string FormatScoreText(ScoreValue v, std::string_view unit_text) {
  if (v == kNoResult) return {};
  const Unit unit = UnitOf(unit_text);
  if (unit == Unit::kCentimetre) {
    const std::int64_t w = std::llabs(static_cast<std::int64_t>(v));
    const char* sign = v < 0 ? "-" : "";
    if (w % 10 == 0) return Printf("%s%lld", sign, static_cast<long long>(w / 10));
    return Printf("%s%lld.%lld", sign, static_cast<long long>(w / 10),
                  static_cast<long long>(w % 10));
  }
  if (v < 0) return {};
  switch (unit) {
    case Unit::kMetre: {
      const int m = v / 1000, cm = (v % 1000) / 10, mm = v - (m * 100 + cm) * 10;
      if (mm != 0) return cm != 0 ? Printf("%d.%02d.%02d", m, cm, mm) : Printf("%d.0.%02d", m, mm);
      return cm != 0 ? Printf("%d.%02d", m, cm) : Printf("%d", m);
    }
    case Unit::kHour: {
      const int h = v / 360000, mi = (v % 360000) / 6000, s = (v % 6000) / 100;
      if (s != 0) return mi != 0 ? Printf("%d.%02d.%02d", h, mi, s) : Printf("%d.0.%02d", h, s);
      return mi != 0 ? Printf("%d.%02d", h, mi) : Printf("%d", h);
    }
    case Unit::kMinute: {
      // Unpadded on purpose: "1.5.3" is 1 min 5.03 s and parses back so.
      const int m = v / 6000, s = (v % 6000) / 100, hh = v % 100;
      if (hh != 0) return Printf("%d.%d.%d", m, s, hh);
      return s != 0 ? Printf("%d.%d", m, s) : Printf("%d", m);
    }
    case Unit::kSecond:
      return v % 100 != 0 ? Printf("%d.%02d", v / 100, v % 100) : Printf("%d", v / 100);
    case Unit::kKilogram:
      return v % 1000 != 0 ? Printf("%d.%d", v / 1000, v % 1000) : Printf("%d", v / 1000);
    default:
      return Printf("%d", v);
  }
}

std::string FormatPoints(PointsValue p) {
  // Whole hundredths, so no rounding can show: 3.33 is 333 hundredths.
  const std::int64_t w = std::llabs(static_cast<std::int64_t>(p));
  const char* sign = p < 0 ? "-" : "";
  const long long whole = w / 100, hundredths = w % 100;
  if (hundredths == 0) return Printf("%s%lld", sign, whole) + "分";
  if (hundredths % 10 == 0) return Printf("%s%lld.%lld", sign, whole, hundredths / 10) + "分";
  return Printf("%s%lld.%02lld", sign, whole, hundredths) + "分";
}

}  // namespace korva
