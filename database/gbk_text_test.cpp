#include "database/gbk_text.h"

#include <gtest/gtest.h>

namespace korva {

TEST(GbkText, RoundTripsAndNeverAbortsOnBadBytes) {
  std::string gbk = "一年级(1)班 abc";
  ASSERT_EQ(gbk.size(), 15u);  // four GBK characters of two bytes, seven ASCII
  EXPECT_EQ(GbkToUtf8(gbk), reinterpret_cast<const char*>(u8"一年级(1)班 abc"));
  EXPECT_EQ(Utf8ToGbk(GbkToUtf8(gbk)), gbk);
  // A lone lead byte at the end and a byte that no character uses.
  EXPECT_EQ(GbkToUtf8(std::string("a\x81", 2)), "a\xEF\xBF\xBD");
  EXPECT_EQ(GbkToUtf8(std::string("\xFF", 1)), "\xEF\xBF\xBD");
  // Malformed UTF-8 and a character outside GBK become '?'.
  EXPECT_EQ(Utf8ToGbk("x\xC3"), "x?");
  EXPECT_EQ(Utf8ToGbk("\xF0\x9F\x98\x80!"), "?!");
}

TEST(GbkText, CutsAndCharacterStartsRespectDoubleByteCharacters) {
  std::string s = "ab一二";  // 2 + 4 bytes
  EXPECT_EQ(CutGbk(s, 6), s);
  EXPECT_EQ(CutGbk(s, 5), "ab一");
  EXPECT_EQ(CutGbk(s, 3), "ab");
  // 誠 is D5 5C in GBK: its trail byte is a backslash.
  std::string t = "誠\\";
  ASSERT_EQ(static_cast<unsigned char>(t[1]), 0x5C);
  EXPECT_TRUE(IsGbkCharStart(t, 0));
  EXPECT_FALSE(IsGbkCharStart(t, 1));
  EXPECT_TRUE(IsGbkCharStart(t, 2));
  EXPECT_EQ(CutGbk(t, 1), "");
}

TEST(GbkText, ALeadByteWithoutATrailByteStandsAlone) {
  // 0x81 before '<' is no character of two bytes: the '<' is a character of
  // its own, so a cut or a character test never swallows it.
  std::string t = "\x81<b";
  EXPECT_EQ(GbkCharLength(t, 0), 1u);
  EXPECT_TRUE(IsGbkCharStart(t, 1));
  EXPECT_EQ(CutGbk(t, 1), "\x81");
}

}  // namespace korva
