#include "pages/meet/certificate_layout.h"

#include <algorithm>
#include <array>
#include <cstdio>
#include <string_view>
#include <utility>

#include "database/data_lock.h"
#include "database/hold_cache.h"
#include "pages/common/number_list.h"
#include "web/form_field.h"
#include "web/response.h"
#include "web/static_files.h"
#include "web/templates.h"
#include "web/web_routes.h"

namespace korva {

namespace {

// Overwrites the three characters after the first key at or behind from
// with value as "%3d"; nothing when fewer than three characters follow.
void OverwriteNumber(std::string& css, std::size_t from, std::string_view key, int value) {
  const std::size_t at = css.find(key, from);
  if (at == std::string::npos || css.size() - (at + key.size()) < 3) return;
  char digits[8];
  std::snprintf(digits, sizeof digits, "%3d", value);
  css.replace(at + key.size(), 3, digits, 3);
}

// "/MUpJzDt.html?zjdt=line-which-value": stores one margin of one
// certificate line for the signed-in account. Reply "0" saved, "1" for a
// bad field or a failed save (the page then alerts).
void CertificateLayoutRoute(RouteContext& ctx) {
  std::string field;
  GetFormField(ctx.request.Path, "zjdt=", 100, field);
  std::array<int, 3> n{};
  bool saved = ReadDashNumbers(field, n) == 3 && n[0] >= 1 && n[0] <= kLayoutLines && n[1] >= 1 && n[1] <= 2 &&
               n[2] >= 1 && n[2] <= 998 && SaveCertificateLine(n[1], n[0], n[2], ctx.session.OwnerKey) == 1;
  AppendHtmlPage(ctx.session, saved ? "0" : "1", ctx.reply);
}

// "/view.css": the print style sheet of the session's certificate layout;
// it reads the layout rows of the base file.
void ViewCssRoute(RouteContext& ctx) {
  std::string css;
  BuildCertificateCss(ctx.session.OwnerKey, css);
  AppendScript(ctx.request, "text/css", css, ctx.reply);
}

constexpr RouteRow kRows[] = {
    {.path = "/view.css", .roles = kAnyone, .code = kRouteScriptOrStyle, .handler = ViewCssRoute, .session = false},
    {.path = "/MUpJzDt.html", .roles = kStaff, .code = 90, .handler = CertificateLayoutRoute,
     .access = Access::kWrite, .empty = EmptyReply::kEmptyBody},
};

}  // namespace

void ApplyCertificateLayout(std::string& css, const CertificateLayout& layout) {
  for (int n = 1; n <= kLayoutLines; ++n) {
    const std::size_t rule = css.find(".jzline" + std::to_string(n));
    if (rule == std::string::npos) continue;
    const int i = n - 1;
    if (layout.FontSize[i] > 0) OverwriteNumber(css, rule, "font-size:", std::min(layout.FontSize[i], 100));
    if (layout.Top[i] > 0) OverwriteNumber(css, rule, "margin-top:", std::min(layout.Top[i], n == 1 ? 666 : 299));
    if (layout.Left[i] > 0) OverwriteNumber(css, rule, "margin-left:", std::min(layout.Left[i], 999));
  }
}

// Every sheet view names its account's style sheet, and the layout rows
// change only under a writer's hold, so the base file is read once per
// change. Before a sign-in the keys are session numbers: a bound keeps the
// cache small.
void BuildCertificateCss(int layout_key, std::string& css) {
  static HoldCache<int, std::string> sheets(64);
  DataReadGuard hold(DataLock);
  css = sheets.Get(layout_key, [&](std::string& sheet) {
    LoadHtmlTemplate(Template::kPrintCssBase, sheet);
    if (layout_key == 0) return true;
    CertificateLayout layout;
    if (!ReadCertificateLayout(layout_key, layout)) return false;  // not kept: the next view reads again
    ApplyCertificateLayout(sheet, layout);
    return true;
  });
}

RouteTable CertificateLayoutRoutes() { return kRows; }

}  // namespace korva
