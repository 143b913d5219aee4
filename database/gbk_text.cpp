#include "database/gbk_text.h"

#include <iconv.h>

#include <cerrno>

namespace korva {

namespace {

// A descriptor carries shift state, so each thread keeps its own per
// direction and resets it before every conversion: opening one costs more
// than converting a name, and a meet's load converts tens of thousands.
class Iconv {
 public:
  Iconv(const char* to, const char* from) : cd_(iconv_open(to, from)) {}
  ~Iconv() {
    if (cd_ != reinterpret_cast<iconv_t>(-1)) iconv_close(cd_);
  }
  Iconv(const Iconv&) = delete;
  Iconv& operator=(const Iconv&) = delete;

  // Converts in; an unconvertible input sequence of bad_len bytes is skipped
  // and replaced by replacement.
  std::string Convert(std::string_view in, std::string_view replacement,
                      bool skip_utf8_sequence) {
    std::string out;
    if (cd_ == reinterpret_cast<iconv_t>(-1)) return out;
    out.reserve(in.size() * 3 / 2 + 4);
    iconv(cd_, nullptr, nullptr, nullptr, nullptr);
    char* src = const_cast<char*>(in.data());
    size_t left = in.size();
    char buf[1024];
    while (left > 0) {
      char* dst = buf;
      size_t room = sizeof buf;
      size_t rc = iconv(cd_, &src, &left, &dst, &room);
      out.append(buf, dst - buf);
      if (rc != static_cast<size_t>(-1)) continue;
      if (errno == E2BIG) continue;
      // EILSEQ or EINVAL (a truncated sequence at the end).
      out.append(replacement);
      size_t skip = 1;
      if (skip_utf8_sequence) {
        unsigned char c = static_cast<unsigned char>(*src);
        size_t len = c >= 0xF0 ? 4 : c >= 0xE0 ? 3 : c >= 0xC0 ? 2 : 1;
        while (skip < len && skip < left &&
               (static_cast<unsigned char>(src[skip]) & 0xC0) == 0x80)
          ++skip;
      }
      src += skip;
      left -= skip;
      iconv(cd_, nullptr, nullptr, nullptr, nullptr);
    }
    return out;
  }

 private:
  iconv_t cd_;
};

bool IsAscii(std::string_view s) {
  for (unsigned char c : s)
    if (c >= 0x80) return false;
  return true;
}

}  // namespace

std::string GbkToUtf8(std::string_view gbk) {
  if (IsAscii(gbk)) return std::string(gbk);
  thread_local Iconv cv("UTF-8", "CP936");
  return cv.Convert(gbk, "\xEF\xBF\xBD", false);
}

std::string Utf8ToGbk(std::string_view utf8) {
  if (IsAscii(utf8)) return std::string(utf8);
  thread_local Iconv cv("CP936", "UTF-8");
  return cv.Convert(utf8, "?", true);
}

std::size_t GbkCharLength(std::string_view text, std::size_t i) {
  if (i + 1 >= text.size() || !IsGbkLeadByte(static_cast<unsigned char>(text[i]))) return 1;
  unsigned char trail = static_cast<unsigned char>(text[i + 1]);
  return trail >= 0x40 && trail <= 0xFE && trail != 0x7F ? 2 : 1;
}

std::string_view CutGbk(std::string_view text, std::size_t max_bytes) {
  if (text.size() <= max_bytes) return text;
  std::size_t pos = 0;
  while (pos < text.size()) {
    std::size_t len = GbkCharLength(text, pos);
    if (pos + len > max_bytes) break;
    pos += len;
  }
  return text.substr(0, pos);
}

bool IsGbkCharStart(std::string_view text, std::size_t pos) {
  std::size_t i = 0;
  while (i < pos) i += GbkCharLength(text, i);
  return i == pos;
}

bool ContainsGbk(std::string_view text, std::string_view needle) {
  for (std::size_t at = 0; at + needle.size() <= text.size(); at += GbkCharLength(text, at))
    if (text.compare(at, needle.size(), needle) == 0) return true;
  return false;
}

}  // namespace korva
