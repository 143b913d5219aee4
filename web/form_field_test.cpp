// Reading form fields: key matching, value ends, decoding, the characters
// that empty a value, the too-long case and the name-list variant.
#include "web/form_field.h"

#include <gtest/gtest.h>

namespace {

TEST(GetFormField, ReadsTheValueUpToItsEnd) {
  std::string out = "old";
  EXPECT_EQ(1, GetFormField("a=1&name=Tom&b=2", "name=", 100, out));
  EXPECT_EQ("Tom", out);
  EXPECT_EQ(1, GetFormField("name=Tom Jones", "name=", 100, out));
  EXPECT_EQ("Tom", out);  // a blank ends the value (as in a request line)
  EXPECT_EQ(1, GetFormField("name=Tom\r\nX", "name=", 100, out));
  EXPECT_EQ("Tom", out);
  EXPECT_EQ(1, GetFormField("name=&b=2", "name=", 100, out));
  EXPECT_EQ("", out);
}

TEST(GetFormField, AbsentKeyReadsEmptyAndCaseMatters) {
  std::string out = "old";
  EXPECT_EQ(0, GetFormField("a=1", "name=", 100, out));
  EXPECT_EQ("", out);
  EXPECT_EQ(0, GetFormField("Name=x", "name=", 100, out));
}

TEST(GetFormField, FirstOccurrenceAlsoInsideALongerName) {
  std::string out;
  EXPECT_EQ(1, GetFormField("Tname=a&name=b", "name=", 100, out));
  EXPECT_EQ("a", out);
}

TEST(GetFormField, DecodesEscapesAndPlus) {
  std::string out;
  GetFormField("v=%D5%C5+%C8%FD", "v=", 100, out);
  EXPECT_EQ("张 三", out);
  GetFormField("v=ab%4", "v=", 100, out);  // a broken escape keeps its '%', which empties the value
  EXPECT_EQ("", out);
}

TEST(GetFormField, ForbiddenCharactersEmptyTheValueButStillCountAsFound) {
  for (const char* raw : {"%22", "%26", "%27", "%3F", "%5C", "%2F", "!", "%25", "%2B", "%3D"}) {
    std::string out = "x";
    EXPECT_EQ(1, GetFormField(std::string("v=ab") + raw + "cd", "v=", 100, out)) << raw;
    EXPECT_EQ("", out) << raw;
  }
  std::string out;
  GetFormField("v=%3Cb%3E", "v=", 100, out);
  EXPECT_EQ("<b>", out);  // markup passes here; pages escape it
}

TEST(GetFormField, BackslashTrailByteOfAGbkCharacterIsKept) {
  // 誠 is D5 5C in GBK; its trail byte is a backslash.
  std::string out;
  EXPECT_EQ(1, GetFormField("v=%D5%5C%D2%BB", "v=", 100, out));
  EXPECT_EQ(std::string("\xD5\x5C\xD2\xBB"), out);
  GetFormField("v=%D2%BB%5C", "v=", 100, out);
  EXPECT_EQ("", out);  // a real backslash still empties it
}

TEST(GetFormField, RawValueOfMaxBytesOrMoreIsRefused) {
  std::string out = "x";
  EXPECT_EQ(1, GetFormField("v=" + std::string(9, 'a'), "v=", 10, out));
  EXPECT_EQ(std::string(9, 'a'), out);
  EXPECT_EQ(0, GetFormField("v=" + std::string(10, 'a'), "v=", 10, out));
  EXPECT_EQ("", out);
  // Measured before decoding: three escapes are nine raw bytes.
  EXPECT_EQ(0, GetFormField("v=%41%41%41%41", "v=", 10, out));
}

TEST(GetNextFormField, ReadsRepeatedFieldsOneByOne) {
  std::string source = "STBC1=3&x=1&STBC1=7&STBC1=12";
  std::size_t pos = 0;
  std::string out;
  std::vector<std::string> values;
  while (GetNextFormField(source, pos, "STBC1=", 50, out)) values.push_back(out);
  EXPECT_EQ((std::vector<std::string>{"3", "7", "12"}), values);
  EXPECT_EQ(source.size(), pos);
}

TEST(GetFormInt, ReadsLeadingDigits) {
  EXPECT_EQ(12, GetFormInt("id=12x", "id=", 50));
  EXPECT_EQ(0, GetFormInt("id=x", "id=", 50));
  EXPECT_EQ(0, GetFormInt("q=1", "id=", 50));
  EXPECT_EQ(2147483647, GetFormInt("id=99999999999999", "id=", 50));
}

TEST(ReadNameListField, QuestionMarkBecomesFullWidth) {
  std::string out;
  EXPECT_EQ(1, ReadNameListField("Tname1=%D5%C5%3F", out));
  EXPECT_EQ("张？", out);
  EXPECT_EQ(1, ReadNameListField("Tname1=a%26b", out));
  EXPECT_EQ("", out);
  // A '?' sent as it is: 97 bytes and the full-width mark fit 99 bytes, 98 do not.
  EXPECT_EQ(1, ReadNameListField("Tname1=" + std::string(97, 'a') + "?", out));
  EXPECT_EQ(std::string(97, 'a') + "？", out);
  EXPECT_EQ(1, ReadNameListField("Tname1=" + std::string(98, 'a') + "?", out));
  EXPECT_EQ("", out);
}

}  // namespace
