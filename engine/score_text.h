#pragma once
// The one place where results meet their texts: a typed result becomes a
// ScoreValue in its unit's storage scale, a ScoreValue becomes display text,
// and points in hundredths become their display text. Pure: no list, no
// database.
#include <string>
#include <string_view>

#include "database/model.h"

namespace korva {

// Longest typed result accepted, in bytes.
constexpr std::size_t kScoreTextMaxBytes = 10;

// Checks a typed result in the unit (a UnitNames text; any other text is
// counted as a plain number), sets value and rewrites text in normal form.
// 0 accepted (an empty text gives kNoResult: clear the result); 1 refused,
// with value kNoResult and text emptied.
int ParseScoreText(std::string& text, std::string_view unit, ScoreValue& value);

// The display text of a value in the unit; empty for kNoResult (and for a
// negative value in any unit but 厘米).
std::string FormatScoreText(ScoreValue value, std::string_view unit);

// The display text of points in hundredths: "7分", "6.5分", "3.33分".
std::string FormatPoints(PointsValue points);

}  // namespace korva
