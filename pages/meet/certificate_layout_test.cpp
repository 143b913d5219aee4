#include "pages/meet/certificate_layout.h"

#include <gtest/gtest.h>

#include "web/templates.h"

namespace korva {

namespace {

// The rule of one certificate line in a style sheet.
std::string Rule(const std::string& css, int line) {
  const std::size_t at = css.find(".jzline" + std::to_string(line));
  return at == std::string::npos ? std::string() : css.substr(at, css.find('}', at) - at);
}

TEST(CertificateCss, StoredValuesAreWrittenInPlaceWithinTheirCaps) {
  LoadHtmlTemplateCache();
  std::string base;
  LoadHtmlTemplate(Template::kPrintCssBase, base);
  ASSERT_EQ(base.rfind("/*此处为PRINT CSS  view.css */", 0), 0u);
  CertificateLayout layout;
  layout.Top[0] = 700;       // line 1: at most 666
  layout.Top[1] = 400;       // other lines: at most 299
  layout.FontSize[1] = 150;  // at most 100
  layout.Top[2] = 250;
  layout.Left[2] = 200;
  layout.Left[3] = 1500;     // at most 999
  layout.FontSize[4] = 7;
  layout.Top[5] = -4;        // 0 and below keep the base value
  layout.Top[7] = 50;        // lines 8 to 10 have no rule
  layout.Left[9] = 50;
  std::string css = base;
  ApplyCertificateLayout(css, layout);
  EXPECT_EQ(css.size(), base.size());
  EXPECT_NE(Rule(css, 1).find("font-size: 35px; margin-top:666px; margin-left: 80px;"), std::string::npos);
  EXPECT_NE(Rule(css, 2).find("font-size:100px; margin-top:299px; margin-left:133px;"), std::string::npos);
  EXPECT_NE(Rule(css, 3).find("font-size: 29px; margin-top:250px; margin-left:200px;"), std::string::npos);
  EXPECT_NE(Rule(css, 4).find("font-size: 53px; margin-top: 33px; margin-left:999px;"), std::string::npos);
  EXPECT_NE(Rule(css, 5).find("font-size:  7px; margin-top: 60px; margin-left: 66px;"), std::string::npos);
  EXPECT_EQ(Rule(css, 6), Rule(base, 6));
  EXPECT_EQ(css.substr(css.find(".jzline7")), base.substr(base.find(".jzline7")));
}

}  // namespace

}  // namespace korva
