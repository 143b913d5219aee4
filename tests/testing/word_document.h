#pragma once
// Reading the order book back in tests: the text of each paragraph of a
// Word 2003 XML document (UTF-8), as GBK.
#include <string>
#include <vector>

#include "database/gbk_text.h"

namespace korva {

namespace word_document_detail {

inline std::string Unescape(std::string text) {
  std::string out;
  for (std::size_t i = 0; i < text.size(); ++i) {
    if (text.compare(i, 4, "&lt;") == 0) out += '<', i += 3;
    else if (text.compare(i, 4, "&gt;") == 0) out += '>', i += 3;
    else if (text.compare(i, 5, "&amp;") == 0) out += '&', i += 4;
    else out += text[i];
  }
  return out;
}

// The texts of the paragraphs ("<w:p ...>" to "</w:p>") in [from, to).
inline std::vector<std::string> Paragraphs(const std::string& doc, std::size_t from, std::size_t to) {
  std::vector<std::string> texts;
  for (std::size_t at = doc.find("<w:p ", from); at < to; at = doc.find("<w:p ", at + 1)) {
    const std::size_t end = doc.find("</w:p>", at);
    std::string text;
    for (std::size_t t = doc.find("<w:t>", at); t < end; t = doc.find("<w:t>", t + 1)) {
      const std::size_t close = doc.find("</w:t>", t);
      text += doc.substr(t + 5, close - t - 5);
    }
    texts.push_back(Utf8ToGbk(Unescape(text)));
  }
  return texts;
}

}  // namespace word_document_detail

// Marks a table's place among the paragraphs.
inline constexpr const char* kTableMark = "[table]";

// Every paragraph of the document outside the tables, in order, with
// kTableMark where a table stands.
inline std::vector<std::string> ParagraphTexts(const std::string& doc) {
  std::vector<std::string> texts;
  std::size_t from = 0;
  while (from < doc.size()) {
    std::size_t table = doc.find("<w:tbl>", from);
    const std::size_t to = table == std::string::npos ? doc.size() : table;
    for (std::string& text : word_document_detail::Paragraphs(doc, from, to)) texts.push_back(std::move(text));
    if (table == std::string::npos) break;
    texts.push_back(kTableMark);
    from = doc.find("</w:tbl>", table);
  }
  return texts;
}

}  // namespace korva
