#include "pages/meet/chinese_numeral.h"

namespace korva {

std::string FormatChineseNumeral(int number) {
  static const char* const kNumerals[] = {"零", "一", "二", "三", "四", "五", "六", "七", "八", "九", "十"};
  if (number >= 0 && number <= 10) return kNumerals[number];
  return std::to_string(number);
}

}  // namespace korva
