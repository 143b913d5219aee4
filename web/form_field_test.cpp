// Reading form fields: key matching, value ends, decoding, the characters
// that empty a value or are dropped from it, the too-long case and the
// name-list variant.
#include "web/form_field.h"

#include <gtest/gtest.h>

namespace korva {

namespace {

struct FieldCase {
  std::string source;
  const char* key;
  std::size_t max;
  int found;
  std::string value;
};

TEST(GetFormField, FindsDecodesFiltersAndLimits) {
  const FieldCase cases[] = {
      {"a=1&name=Tom&b=2", "name=", 100, 1, "Tom"},
      {"name=Tom Jones", "name=", 100, 1, "Tom"},  // a blank ends the value (as in a request line)
      {"name=Tom\r\nX", "name=", 100, 1, "Tom"},
      {"name=&b=2", "name=", 100, 1, ""},
      {"a=1", "name=", 100, 0, ""},
      {"Name=x", "name=", 100, 0, ""},              // keys are case-sensitive
      {"Tname=a&name=b", "name=", 100, 1, "a"},     // first occurrence, also inside a longer name
      {"v=%D5%C5+%C8%FD", "v=", 100, 1, "张 三"},
      {"v=ab%4", "v=", 100, 1, ""},                 // a broken escape keeps its '%', which empties it
      {"v=%3Cb%3E", "v=", 100, 1, "<b>"},           // markup passes here; pages escape it
      {"v=%D5%5C%D2%BB", "v=", 100, 1, "誠一"},     // 誠 is D5 5C: its trail byte is no backslash
      {"v=%D2%BB%5C", "v=", 100, 1, ""},            // a real backslash still empties it
      {"v=%81%22", "v=", 100, 1, ""},               // a lead byte cannot hide a quote behind it
      {"v=%FE%3D", "v=", 100, 1, ""},
      {"v=" + std::string(9, 'a'), "v=", 10, 1, std::string(9, 'a')},
      {"v=" + std::string(10, 'a'), "v=", 10, 0, ""},
      {"v=%41%41%41%41", "v=", 10, 1, "AAAA"},      // measured after decoding
      {"v=%41%41%41%41%41%41%41%41%41%41", "v=", 10, 0, ""},
      // What the database file could not hold as it is never enters.
      {"v=%D2%BB%D2", "v=", 100, 1, "一"},          // a lone lead byte at the end
      {"v=%D2%2C%D2%BB", "v=", 100, 1, ",一"},      // one before a byte that is no trail byte
      {"v=a%00b%0D%0Ac%09d%7Fe", "v=", 100, 1, "abcde"},
      {"v=%FF%80x", "v=", 100, 1, "x"},
      {"v=%00", "v=", 100, 1, ""},
  };
  for (const FieldCase& c : cases) {
    std::string out = "old";
    EXPECT_EQ(c.found, GetFormField(c.source, c.key, c.max, out)) << c.source;
    EXPECT_EQ(c.value, out) << c.source;
  }
  for (const char* raw : {"%22", "%26", "%27", "%3F", "%5C", "%2F", "!", "%25", "%2B", "%3D"}) {
    std::string out = "x";
    EXPECT_EQ(1, GetFormField(std::string("v=ab") + raw + "cd", "v=", 100, out)) << raw;
    EXPECT_EQ("", out) << raw;
  }
}

TEST(GetNextFormField, ReadsRepeatedFieldsOneByOne) {
  std::string source = "STBC1=3&x=1&STBC1=7&STBC1=12";
  std::size_t pos = 0;
  std::string out;
  std::vector<std::string> values;
  while (GetNextFormField(source, pos, "STBC1=", 50, out)) values.push_back(out);
  EXPECT_EQ((std::vector<std::string>{"3", "7", "12"}), values);
  EXPECT_EQ(2147483647, GetFormInt("id=99999999999999", "id=", 50));
}

TEST(ReadNameListField, QuestionMarkBecomesFullWidthWithinNinetyNineBytes) {
  std::string out;
  EXPECT_EQ(1, ReadNameListField("Tname1=%D5%C5%3F", out));
  EXPECT_EQ("张？", out);
  EXPECT_EQ(1, ReadNameListField("Tname1=a%26b", out));
  EXPECT_EQ("", out);
  // 97 bytes and the full-width mark fit 99 bytes, 98 do not.
  EXPECT_EQ(1, ReadNameListField("Tname1=" + std::string(97, 'a') + "?", out));
  EXPECT_EQ(std::string(97, 'a') + "？", out);
  EXPECT_EQ(1, ReadNameListField("Tname1=" + std::string(98, 'a') + "?", out));
  EXPECT_EQ("", out);
}

}  // namespace

}  // namespace korva
