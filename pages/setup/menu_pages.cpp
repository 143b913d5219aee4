#include "pages/setup/menu_pages.h"

#include <string>

#include "web/response.h"
#include "web/templates.h"

namespace korva {

namespace {

void ServeMenuPage(RouteContext& ctx, Template menu_template) {
  std::string menu;
  LoadHtmlTemplate(menu_template, menu);
  AppendHtmlPage(ctx.session,
                 BuildFramedPage(StaffFrameOf(ctx.session.Role), ctx.session, kAdminPageTitle, kAfScriptTag, menu),
                 ctx.reply);
}

void ServeAdvancedFunctionsPage(RouteContext& ctx) { ServeMenuPage(ctx, Template::kAdvancedMenu); }

void ServeTablesMenuPage(RouteContext& ctx) { ServeMenuPage(ctx, Template::kReportsMenu); }

constexpr RouteRow kRows[] = {
    {.path = "/Adft.html", .roles = kAdmin, .code = 82, .handler = ServeAdvancedFunctionsPage,
     .empty = EmptyReply::kAdminResult},
    {.path = "/Table.html", .roles = kStaff, .code = 91, .handler = ServeTablesMenuPage},
};

}  // namespace

RouteTable MenuPageRoutes() { return kRows; }

}  // namespace korva
