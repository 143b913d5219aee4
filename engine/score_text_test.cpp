#include "engine/score_text.h"

#include <gtest/gtest.h>

#include <random>
#include <string>

namespace {

const char* const kSecond = "秒";
const char* const kMinute = "分";
const char* const kHour = "时";
const char* const kCentimetre = "厘米";
const char* const kMetre = "米";
const char* const kCount = "个";
const char* const kKilogram = "千克";

struct Typed {
  const char* unit;
  const char* text;
  ScoreValue value;
  const char* normal;  // the rewritten text
  const char* shown;   // FormatScoreText of the value
};

// What a clerk types, what is stored, and what the pages show.
const Typed kAccepted[] = {
    {kSecond, "12.65", 1265, "12.65", "12.65"},
    {kSecond, "12.6", 1206, "12.06", "12.06"},
    {kSecond, "12", 1200, "12", "12"},
    {kSecond, "0.5", 5, "0.05", "0.05"},
    {kMinute, "1.21.04", 8104, "1.21.04", "1.21.4"},
    {kMinute, "1.5.3", 6503, "1.05.03", "1.5.3"},
    {kMinute, "2.0.7", 12007, "2.0.07", "2.0.7"},
    {kMinute, "3", 18000, "3", "3"},
    {kHour, "1.02.03", 372300, "1.02.03", "1.02.03"},
    {kHour, "1.0.3", 360300, "1.0.03", "1.0.03"},
    {kHour, "0.99.99", 603900, "0.99.99", "1.40.39"},
    {kCentimetre, "150.5", 1505, "150.05", "150.5"},
    {kCentimetre, "150", 1500, "150", "150"},
    {kCentimetre, "-12.5", -125, "-12.05", "-12.5"},
    {kCentimetre, "-0.5", -5, "-0.05", "-0.5"},
    {kCentimetre, "-7", -70, "-7", "-7"},
    {kCentimetre, "+5", 50, "5", "5"},
    {kCentimetre, "x5", 0, "0", "0"},
    {kCentimetre, ".", 0, "0", "0"},
    {kCentimetre, "-", 0, "0", "0"},
    {kMetre, "4.35", 4350, "4.35", "4.35"},
    {kMetre, "4.5", 4500, "4.50", "4.50"},
    {kMetre, "4.05", 4050, "4.05", "4.05"},
    {kMetre, "4.50", 4500, "4.50", "4.50"},
    {kMetre, "12", 12000, "12", "12"},
    {kCount, "37", 37, "37", "37"},
    {kCount, "0", 0, "0", "0"},
    {kKilogram, "12.5", 12005, "12.05", "12.5"},
    {kKilogram, "12.50", 12050, "12.50", "12.50"},
    {kKilogram, "12", 12000, "12", "12"},
    {"圈", "7", 7, "7", "7"},
    {"", "999", 999, "999", "999"},
    {kSecond, "1..5", 100, "1", "1"},
    {kSecond, "", kNoResult, "", ""},  // clears the result
};

TEST(ParseScoreText, AcceptsTypedResultsInEveryUnit) {
  for (const Typed& t : kAccepted) {
    SCOPED_TRACE(std::string(t.text));
    std::string text = t.text;
    ScoreValue value = 0;
    EXPECT_EQ(ParseScoreText(text, t.unit, value), 0);
    EXPECT_EQ(value, t.value);
    EXPECT_EQ(text, t.normal);
    EXPECT_EQ(FormatScoreText(t.value, t.unit), t.shown);
  }
}

TEST(ParseScoreText, RefusesAndEmptiesTheText) {
  const struct {
    const char* unit;
    const char* text;
  } refused[] = {
      {kSecond, "12345678901"},  // longer than 10 bytes
      {kSecond, "1.2.3.4"},      // four numbers
      {kSecond, "1000"},         // whole part above 999
      {kSecond, "1.100"},        // second part above 99
      {kHour, "1.2.100"},        // third part above 99
      {kSecond, "12.6.1"},       // seconds take no third part
      {kSecond, "-1"},           // only a distance carries a sign
      {kMetre, "-12.5"},
      {kSecond, "1a"},
      {kSecond, "a1"},
      {kCentimetre, "1-2"},      // the sign only in the first byte
      {kCentimetre, " "},        // nothing to read at all
      {kCentimetre, "150.25"},   // centimetres take one decimal
      {kCentimetre, "150.10"},
      {kCentimetre, "1.2.3"},
      {kCentimetre, "-1000"},
      {kMetre, "4.35.2"},
      {kMinute, "1.60.00"},      // seconds of a minute above 59
      {kCount, "37.5"},
      {kCount, "1.0.5"},
      {kKilogram, "1.2.3"},
      {"圈", "7.5"},
      {kSecond, "１２"},           // full-width digits
  };
  for (const auto& r : refused) {
    SCOPED_TRACE(std::string(r.unit) + " " + r.text);
    std::string text = r.text;
    ScoreValue value = 0;
    EXPECT_EQ(ParseScoreText(text, r.unit, value), 1);
    EXPECT_EQ(value, kNoResult);
    EXPECT_TRUE(text.empty());
  }
}

TEST(FormatScoreText, OnlyDistancesShowANegativeValue) {
  EXPECT_EQ(FormatScoreText(-5, kSecond), "");
  EXPECT_EQ(FormatScoreText(-5, "圈"), "");
  EXPECT_EQ(FormatScoreText(4352, kMetre), "4.35.02");
}

TEST(FormatPoints, WholeOneAndTwoDecimals) {
  EXPECT_EQ(FormatPoints(700), "7分");
  EXPECT_EQ(FormatPoints(650), "6.5分");
  EXPECT_EQ(FormatPoints(333), "3.33分");
  EXPECT_EQ(FormatPoints(5), "0.05分");
  EXPECT_EQ(FormatPoints(0), "0分");
  EXPECT_EQ(FormatPoints(-650), "-6.5分");
  EXPECT_EQ(FormatPoints(1005), "10.05分");
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
      std::string typed = RandomTypedText(gen, unit);
      SCOPED_TRACE(std::string(unit) + " " + typed);
      std::string text = typed;
      ScoreValue value = kNoResult;
      ASSERT_EQ(ParseScoreText(text, unit, value), 0);
      ASSERT_NE(value, kNoResult);

      std::string normal = text;
      ScoreValue again = kNoResult;
      ASSERT_EQ(ParseScoreText(normal, unit, again), 0) << text;
      EXPECT_EQ(again, value) << text;
      EXPECT_EQ(normal, text);

      std::string shown = FormatScoreText(value, unit);
      ScoreValue from_shown = kNoResult;
      ASSERT_EQ(ParseScoreText(shown, unit, from_shown), 0) << FormatScoreText(value, unit);
      EXPECT_EQ(from_shown, value) << FormatScoreText(value, unit);
    }
  }
}

}  // namespace
