#pragma once
// The options of a select, the one markup every page's select is built
// from. Texts are markup: escape data values before passing them.
#include <string>
#include <string_view>

namespace korva {

// <option value="value" selected="selected">text</option>, without the
// selected mark when not selected.
std::string OptionTag(std::string_view value, std::string_view text, bool selected);
std::string OptionTag(int value, std::string_view text, bool selected);

// OptionTag followed by a line end ("\r\n").
std::string OptionLine(std::string_view value, std::string_view text, bool selected);
std::string OptionLine(int value, std::string_view text, bool selected);

// Options first to last, each with the text n + unit; the one equal to
// selected is marked; each followed by line_end.
std::string NumberOptions(int first, int last, int selected, std::string_view unit, std::string_view line_end = {});

}  // namespace korva
