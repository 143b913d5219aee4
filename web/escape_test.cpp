#include "web/escape.h"

#include <gtest/gtest.h>

namespace korva {

TEST(Escape, HtmlEscapesMarkupButKeepsDoubleByteCharacters) {
  EXPECT_EQ(EscapeHtml("<xmp>&\"'"), "&lt;xmp&gt;&amp;&quot;&#39;");
  // The trail byte of a double-byte character is never taken for markup.
  EXPECT_EQ(EscapeHtml("誠<"), "誠&lt;");
  // A lead byte before markup is no character with it: a browser shows the
  // markup, so it is escaped.
  EXPECT_EQ(EscapeHtml("\x81<b>\xFE\""), "\x81&lt;b&gt;\xFE&quot;");
}

TEST(Escape, ScriptKeepsTheValueTheScriptSees) {
  EXPECT_EQ(EscapeScript("a'b\\c</script>"), "a\\x27b\\x5Cc\\x3C/script\\x3E");
  EXPECT_EQ(EscapeScript("誠"), "誠");  // trail byte 0x5C must not become \x5C
  EXPECT_EQ(EscapeScript("\x81'"), "\x81\\x27");
}

TEST(Escape, XmlEscapesTheThreeMarkupCharactersAndDropsControlCharacters) {
  EXPECT_EQ(EscapeXml("a<b>&\"c'"), "a&lt;b&gt;&amp;\"c'");
  EXPECT_EQ(EscapeXml(std::string("a\x01\x1F\0b\tc\r\n", 10)), "ab\tc\r\n");
}

}  // namespace korva
