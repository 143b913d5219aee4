#include "pages/meet/order_book_xml.h"

#include <algorithm>
#include <utility>

#include "database/gbk_text.h"
#include "web/escape.h"
#include "web/templates.h"

namespace korva {

namespace {

constexpr std::string_view kParagraphStart =
    "<w:p wsp:rsidR=\"008B2466\" wsp:rsidRPr=\"006E733C\" wsp:rsidRDefault=\"008B2466\"><w:pPr><w:rPr>"
    "<w:rFonts w:ascii=\"宋体\" w:h-ansi=\"宋体\"/><wx:font wx:val=\"宋体\"/></w:rPr></w:pPr>"
    "<w:r wsp:rsidRPr=\"006E733C\"><w:rPr><w:rFonts w:ascii=\"宋体\" w:h-ansi=\"宋体\" w:hint=\"fareast\"/>"
    "<wx:font wx:val=\"宋体\"/></w:rPr><w:t>";
constexpr std::string_view kParagraphEnd = "</w:t></w:r></w:p>";

}  // namespace

SplitTemplate::SplitTemplate(Template id, std::initializer_list<std::string_view> names) {
  const std::string* gbk = FindHtmlTemplate(id);
  const std::string text = gbk ? GbkToUtf8(*gbk) : std::string();
  std::vector<std::string> keys;
  for (std::string_view name : names) keys.push_back(GbkToUtf8(name));
  // Every occurrence of every name, in the order they stand. UTF-8 never
  // matches a name inside another character, so a plain search finds only
  // whole placeholders.
  std::vector<std::pair<std::size_t, std::size_t>> found;  // (position, name index)
  for (std::size_t k = 0; k < keys.size(); ++k) {
    if (keys[k].empty()) continue;
    for (std::size_t at = text.find(keys[k]); at != std::string::npos; at = text.find(keys[k], at + 1))
      found.emplace_back(at, k);
  }
  std::sort(found.begin(), found.end());
  std::size_t from = 0;
  for (const auto& [at, k] : found) {
    if (at < from) continue;  // inside a placeholder just taken
    literals_.push_back(text.substr(from, at - from));
    slots_.push_back(k);
    from = at + keys[k].size();
  }
  literals_.push_back(text.substr(from));
}

void SplitTemplate::AppendFilled(std::span<const std::string> values, std::string& document) const {
  for (std::size_t i = 0; i < slots_.size(); ++i) {
    document += literals_[i];
    if (slots_[i] < values.size()) document += values[slots_[i]];
  }
  document += literals_.back();
}

std::string XmlText(std::string_view gbk) { return GbkToUtf8(EscapeXml(gbk)); }

void AppendTextParagraph(std::string_view gbk_text, std::string& document) {
  static const std::string start = GbkToUtf8(kParagraphStart);
  document += start;
  document += XmlText(gbk_text);
  document += kParagraphEnd;
}

}  // namespace korva
