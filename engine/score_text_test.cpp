#include "engine/score_text.h"

#include <gtest/gtest.h>

#include <random>
#include <string>
#include <tuple>

namespace korva {

namespace {

const char *const kSecond = "秒", *const kMinute = "分", *const kHour = "时", *const kCentimetre = "厘米",
           *const kMetre = "米", *const kCount = "个", *const kKilogram = "千克";

// ParseScoreText's result, value and rewritten text.
std::tuple<int, ScoreValue, std::string> Parse(std::string text, const char* unit) {
  ScoreValue value = 0;
  const int result = ParseScoreText(text, unit, value);
  return {result, value, text};
}

// What a clerk types in a unit, the value stored, the rewritten text and
// what the pages show.
const struct {
  const char *unit, *text;
  ScoreValue value;
  const char *normal, *shown;
} kAccepted[] = {
    {kSecond, "12.65", 1265, "12.65", "12.65"}, {kSecond, "12.6", 1206, "12.06", "12.06"},
    {kMinute, "1.21.04", 8104, "1.21.04", "1.21.4"}, {kMinute, "1.5.3", 6503, "1.05.03", "1.5.3"},
    {kMinute, "2.0.7", 12007, "2.0.07", "2.0.7"}, {kHour, "1.02.03", 372300, "1.02.03", "1.02.03"},
    {kHour, "1.0.3", 360300, "1.0.03", "1.0.03"}, {kHour, "0.99.99", 603900, "0.99.99", "1.40.39"},
    {kCentimetre, "150.5", 1505, "150.05", "150.5"}, {kCentimetre, "-12.5", -125, "-12.05", "-12.5"},
    {kCentimetre, "-0.5", -5, "-0.05", "-0.5"}, {kCentimetre, "-7", -70, "-7", "-7"},
    {kCentimetre, "+5", 50, "5", "5"}, {kCentimetre, "x5", 0, "0", "0"},
    {kCentimetre, ".", 0, "0", "0"}, {kCentimetre, "-", 0, "0", "0"},
    {kMetre, "4.35", 4350, "4.35", "4.35"}, {kMetre, "4.5", 4500, "4.50", "4.50"},
    {kMetre, "4.05", 4050, "4.05", "4.05"}, {kMetre, "4.50", 4500, "4.50", "4.50"},
    {kCount, "37", 37, "37", "37"}, {kKilogram, "12.5", 12005, "12.05", "12.5"},
    {kKilogram, "12.50", 12050, "12.50", "12.50"}, {kKilogram, "12", 12000, "12", "12"},
    {"圈", "7", 7, "7", "7"}, {kSecond, "1..5", 100, "1", "1"},
    {kSecond, "", kNoResult, "", ""},  // clears the result
};

TEST(ParseScoreText, AcceptsTypedResultsInEveryUnit) {
  for (const auto& t : kAccepted) {
    EXPECT_EQ(Parse(t.text, t.unit), std::tuple(0, t.value, std::string(t.normal))) << t.unit << " " << t.text;
    EXPECT_EQ(FormatScoreText(t.value, t.unit), t.shown) << t.unit << " " << t.text;
  }
}

TEST(ParseScoreText, RefusesAndEmptiesTheText) {
  const struct {
    const char* unit;
    const char* text;
  } refused[] = {
      // Too long, four numbers, a part too large; seconds take no third part.
      {kSecond, "12345678901"}, {kSecond, "1.2.3.4"}, {kSecond, "1000"}, {kSecond, "1.100"},
      {kHour, "1.2.100"}, {kSecond, "12.6.1"},
      // Only a distance carries a sign, and only in its first byte.
      {kSecond, "-1"}, {kMetre, "-12.5"}, {kSecond, "1a"}, {kSecond, "a1"}, {kCentimetre, "1-2"},
      {kSecond, "１２"}, {kCentimetre, " "}, {kCentimetre, "-1000"},
      // Centimetres take one decimal.
      {kCentimetre, "150.25"}, {kCentimetre, "150.10"}, {kCentimetre, "1.2.3"},
      {kMetre, "4.35.2"}, {kMinute, "1.60.00"}, {kCount, "37.5"}, {kCount, "1.0.5"}, {kKilogram, "1.2.3"},
      {"圈", "7.5"},
  };
  for (const auto& [unit, text] : refused)
    EXPECT_EQ(Parse(text, unit), std::tuple(1, kNoResult, std::string())) << unit << " " << text;
}

TEST(FormatScoreText, NegativeValuesAndPoints) {
  EXPECT_EQ(FormatScoreText(-5, kSecond), "");  // only distances show a negative value
  EXPECT_EQ(FormatScoreText(-5, "圈"), "");
  EXPECT_EQ(FormatScoreText(4352, kMetre), "4.35.02");
  for (const auto& [points, text] : {std::pair{700, "7分"}, {650, "6.5分"}, {333, "3.33分"}, {5, "0.05分"},
                                     {0, "0分"}, {-650, "-6.5分"}, {1005, "10.05分"}})
    EXPECT_EQ(FormatPoints(points), text);
}

// A typed text made of up to three random numbers, shaped as a clerk types
// them for the unit.
std::string RandomTypedText(std::mt19937& gen, const char* unit) {
  auto pick = [&](int lo, int hi) { return std::uniform_int_distribution<int>(lo, hi)(gen); };
  auto part = [&](int hi) {
    const int n = pick(0, hi);
    return (pick(0, 2) == 0 && n < 10) ? "0" + std::to_string(n) : std::to_string(n);
  };
  const std::string u = unit;
  // 时 takes minutes and seconds up to 99, so 999 h 99 min would show as
  // 1000 h, which no text may hold: clerks' times stay far below.
  std::string text = std::to_string(pick(0, u == kHour ? 997 : 999));
  const int parts = pick(0, 2);
  if (u == kCentimetre) {
    if (pick(0, 2) == 0) text = "-" + text;
    if (parts > 0) text += "." + std::to_string(pick(0, 9));
  } else if (u == kMinute || u == kHour) {
    if (parts > 0) text += "." + part(u == kMinute ? 59 : 99);
    if (parts > 1) text += "." + part(99);
  } else if (u == kSecond || u == kMetre || u == kKilogram) {
    if (parts > 0) text += "." + part(99);
  }
  return text;
}

// Every accepted text, its normal text and the display text of its value
// all stand for the same value.
TEST(ScoreTextRoundTrip, EveryAcceptedTextFormatsBackToTheSameValue) {
  std::mt19937 gen(20240601);
  for (const char* unit : UnitNames) {
    for (int i = 0; i < 3000; ++i) {
      const std::string typed = RandomTypedText(gen, unit);
      const auto [result, value, normal] = Parse(typed, unit);
      ASSERT_EQ(result, 0) << unit << " " << typed;
      EXPECT_EQ(Parse(normal, unit), std::tuple(0, value, normal)) << unit << " " << typed;
      const std::string shown = FormatScoreText(value, unit);
      EXPECT_EQ(std::get<1>(Parse(shown, unit)), value) << unit << " " << typed << " shown " << shown;
    }
  }
}

}  // namespace

}  // namespace korva
