#pragma once
// The pieces the order book is built from: the Word 2003 XML templates
// (kOrderBookHead .. kOrderBookHeatTable) and the text paragraph. The
// document is UTF-8 throughout; every value from the model is GBK and is
// escaped for XML and converted as it is appended, so no name can break
// the document.
#include <initializer_list>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "web/templates.h"

namespace korva {

// The opening of the document: the XML declaration up to its standalone
// attribute, which the head template carries on.
inline constexpr std::string_view kXmlDeclarationStart = "<?xml version=\"1.0\" encoding=\"UTF-8\" ";

// A template from HtmlTemplateCache, converted to UTF-8 once and cut at
// every occurrence of its placeholders, so that filling it, even thousands
// of times, costs only appends.
class SplitTemplate {
 public:
  // names are GBK, as the program's literals. A template missing from the
  // cache fills to nothing.
  SplitTemplate(Template id, std::initializer_list<std::string_view> names);

  // Appends the template with values[i] (UTF-8, XML-ready) in place of
  // names[i]; missing values are empty.
  void AppendFilled(std::span<const std::string> values, std::string& document) const;

 private:
  std::vector<std::string> literals_;  // one more than slots_
  std::vector<std::size_t> slots_;     // the name index between two literals
};

// GBK text as XML character data in UTF-8.
std::string XmlText(std::string_view gbk);

// Appends the text paragraph (宋体, the body font of the roster and the
// timetable) holding text (GBK).
void AppendTextParagraph(std::string_view gbk_text, std::string& document);

}  // namespace korva
