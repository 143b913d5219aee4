#include "web/select_options.h"

namespace korva {

std::string OptionTag(std::string_view value, std::string_view text, bool selected) {
  std::string option = "<option value=\"";
  option += value;
  option += selected ? "\" selected=\"selected\">" : "\">";
  option += text;
  return option + "</option>";
}

std::string OptionTag(int value, std::string_view text, bool selected) {
  return OptionTag(std::to_string(value), text, selected);
}

std::string OptionLine(std::string_view value, std::string_view text, bool selected) {
  return OptionTag(value, text, selected) + "\r\n";
}

std::string OptionLine(int value, std::string_view text, bool selected) {
  return OptionLine(std::to_string(value), text, selected);
}

std::string NumberOptions(int first, int last, int selected, std::string_view unit, std::string_view line_end) {
  std::string options;
  for (int n = first; n <= last; ++n) {
    options += OptionTag(n, std::to_string(n).append(unit), n == selected);
    options += line_end;
  }
  return options;
}

}  // namespace korva
