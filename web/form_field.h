#pragma once
// Reading one url-encoded field of a query or a form body. Values come back
// decoded (GBK); a value holding a character that could break a statement,
// a page or a path reads as empty.
#include <cstddef>
#include <string>
#include <string_view>

namespace korva {

// Reads the value behind the first occurrence of key (e.g. "name=", matched
// case-sensitively anywhere in source, also inside a longer field name) up to
// the first '&', blank, CR or the end, URL-decoded (%XX, '+' as a blank).
// out is cleared first. Returns 1 when the key was found, 0 when it is absent
// or when the decoded value holds max bytes or more (then out stays empty and
// a rate-limited line goes to the console). A found value that holds any of
// " & ' ? \ / ! % + = (tested at character starts only, so the trail byte of
// a double-byte character never counts) reads as empty; the result stays 1.
// Control characters (NUL, CR, LF, ...) and bytes that form no GBK character
// (a lone lead byte) are dropped from the decoded value, so what is kept in
// memory is what the database file holds.
int GetFormField(std::string_view source, std::string_view key, std::size_t max, std::string& out);

// The same read starting at pos; on return pos is just behind the value, so
// repeated fields are read one by one. When the key is absent pos is left
// unchanged.
int GetNextFormField(std::string_view source, std::size_t& pos, std::string_view key, std::size_t max,
                     std::string& out);

// Reads the field "Tname1=" by the rules above with max 100, except that a
// '?' does not empty the value but becomes the full-width "？"; a value that
// no longer fits 99 bytes after that reads as empty.
int ReadNameListField(std::string_view source, std::string& out);

// True when the first occurrence of key carries a raw (still encoded) value
// that is not empty: a value read back empty was then emptied by the filter.
bool HasRawFormValue(std::string_view source, std::string_view key);

// The integer of a field's value (atoi rules: leading digits, 0 for none);
// 0 when the field is absent or emptied.
int GetFormInt(std::string_view source, std::string_view key, std::size_t max);

// %XX escapes and '+' decoded; a '%' not followed by two hex digits stays.
std::string UrlDecode(std::string_view text);

}  // namespace korva
