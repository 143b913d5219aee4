#include "web/escape.h"

#include <cstdio>

#include "database/gbk_text.h"

namespace korva {

namespace {

// Copies text, handing each single-byte character to replace (which appends
// and returns true, or returns false to copy the byte as it is).
template <typename Replace>
std::string EscapeEach(std::string_view text, Replace replace) {
  std::string out;
  out.reserve(text.size() + 16);
  for (std::size_t i = 0; i < text.size();) {
    std::size_t length = GbkCharLength(text, i);
    unsigned char c = static_cast<unsigned char>(text[i]);
    if (length == 2 || !replace(c, out)) out.append(text.substr(i, length));
    i += length;
  }
  return out;
}

}  // namespace

std::string EscapeHtml(std::string_view gbk) {
  return EscapeEach(gbk, [](unsigned char c, std::string& out) {
    switch (c) {
      case '&': out += "&amp;"; return true;
      case '<': out += "&lt;"; return true;
      case '>': out += "&gt;"; return true;
      case '"': out += "&quot;"; return true;
      case '\'': out += "&#39;"; return true;
      default: return false;
    }
  });
}

std::string EscapeScript(std::string_view gbk) {
  return EscapeEach(gbk, [](unsigned char c, std::string& out) {
    if (c == '\\' || c == '\'' || c == '"' || c == '<' || c == '>' || c == '&' || c < 0x20 ||
        c == 0x7F) {
      char buf[8];
      std::snprintf(buf, sizeof buf, "\\x%02X", c);
      out += buf;
      return true;
    }
    return false;
  });
}

std::string EscapeXml(std::string_view gbk) {
  return EscapeEach(gbk, [](unsigned char c, std::string& out) {
    switch (c) {
      case '&': out += "&amp;"; return true;
      case '<': out += "&lt;"; return true;
      case '>': out += "&gt;"; return true;
      case '\t': case '\n': case '\r': return false;
      default: return c < 0x20;
    }
  });
}

}  // namespace korva
