#include "web/escape.h"

#include <gtest/gtest.h>

TEST(Escape, HtmlEscapesMarkupButKeepsDoubleByteCharacters) {
  EXPECT_EQ(EscapeHtml("<xmp>&\"'"), "&lt;xmp&gt;&amp;&quot;&#39;");
  // The trail byte of a double-byte character is never taken for markup.
  std::string name = "誠<";
  EXPECT_EQ(EscapeHtml(name), "誠&lt;");
}

TEST(Escape, ScriptKeepsTheValueTheScriptSees) {
  EXPECT_EQ(EscapeScript("a'b\\c</script>"), "a\\x27b\\x5Cc\\x3C/script\\x3E");
  std::string name = "誠";  // trail byte 0x5C must not become \x5C
  EXPECT_EQ(EscapeScript(name), name);
}

TEST(Escape, XmlEscapesOnlyTheThreeMarkupCharacters) {
  EXPECT_EQ(EscapeXml("a<b>&\"c'"), "a&lt;b&gt;&amp;\"c'");
}
