#pragma once
// Heat and lane numbers and places as the printed sheets, the certificates
// and the order book write them.
#include <string>

namespace korva {

// 0 to 10 as 零 一 二 三 四 五 六 七 八 九 十 (GBK); any other number as its
// decimal digits ("11", "-1").
std::string FormatChineseNumeral(int number);

}  // namespace korva
