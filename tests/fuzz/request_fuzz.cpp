// Fuzz target: request assembly from arbitrarily split receives, and the
// form-field readers on whatever path and body come out of it.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

#include "database/gbk_text.h"
#include "web/escape.h"
#include "web/form_field.h"
#include "web/request_parser.h"

namespace korva {

namespace {

void Check(bool condition) {
  if (!condition) std::abort();
}

// True when one of chars stands at a character start as a browser reading
// GBK sees it: a lead byte takes the next byte along only when that is a
// trail byte (0x40-0xFE but 0x7F).
bool ShowsAny(std::string_view text, std::string_view chars) {
  for (std::size_t i = 0; i < text.size(); ++i) {
    unsigned char c = static_cast<unsigned char>(text[i]);
    unsigned char next = i + 1 < text.size() ? static_cast<unsigned char>(text[i + 1]) : 0;
    if (IsGbkLeadByte(c) && next >= 0x40 && next != 0x7F && next != 0xFF) {
      ++i;
      continue;
    }
    if (chars.find(static_cast<char>(c)) != std::string_view::npos) return true;
  }
  return false;
}

void ReadFields(std::string_view source) {
  static const char* const kKeys[] = {"name=", "id=", "str=", "Dstr=", "BanJi=", "PassWord=", "?id=", "="};
  for (const char* key : kKeys) {
    for (std::size_t max : {1u, 10u, 50u, 100u}) {
      std::string out;
      int found = GetFormField(source, key, max, out);
      Check(found == 0 || found == 1);
      Check(out.size() < max || out.empty());
      Check(!ShowsAny(out, "\"&'?\\/!%+="));
      for (unsigned char c : out) Check(c >= 0x20 && c != 0x7F);
      std::size_t pos = 0;
      int rounds = 0;
      while (GetNextFormField(source, pos, key, max, out) && rounds++ < 1000) Check(pos <= source.size());
    }
  }
  std::string names;
  ReadNameListField(source, names);
  Check(names.size() <= 99);
  Check(UrlDecode(source).size() <= source.size());
  Check(!ShowsAny(EscapeHtml(UrlDecode(source)), "<>\"'"));
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  if (size == 0) return 0;
  // The first byte chooses how the rest is cut into receives.
  std::size_t step = 1 + data[0] % 64;
  std::string_view input(reinterpret_cast<const char*>(data + 1), size - 1);
  std::string buffer;
  std::size_t fed = 0;
  while (fed < input.size() || !buffer.empty()) {
    HttpRequest request;
    std::size_t consumed = 0;
    int status = 0;
    ParseResult result = ParseHttpRequest(buffer, request, consumed, status);
    if (result == ParseResult::kIncomplete) Check(consumed == 0 || consumed > buffer.size());
    if (result == ParseResult::kBad) {
      Check(status >= 400 && status < 600);
      break;
    }
    if (result == ParseResult::kComplete) {
      Check(consumed > 0 && consumed <= buffer.size());
      Check(request.Body.size() == static_cast<std::size_t>(request.ContentLength));
      Check(!request.Path.empty() && request.Path.front() == '/');
      ReadFields(request.Path);
      ReadFields(request.Body);
      buffer.erase(0, consumed);
      continue;
    }
    if (fed >= input.size()) break;
    std::size_t take = std::min(step, input.size() - fed);
    buffer.append(input.substr(fed, take));
    fed += take;
  }
  ReadFields(input);
  return 0;
}

}  // namespace korva
