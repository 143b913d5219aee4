#pragma once
// Form values as a browser sends them from a gb2312 page.
#include <cstdio>
#include <string>

namespace korva {

// Every byte but ASCII letters and digits as %XX.
inline std::string FormEncode(const std::string& gbk) {
  std::string out;
  for (unsigned char c : gbk) {
    if ((c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9')) {
      out += static_cast<char>(c);
    } else {
      char hex[4];
      std::snprintf(hex, sizeof hex, "%%%02X", c);
      out += hex;
    }
  }
  return out;
}

}  // namespace korva
