#include "pages/meet/entry_listings.h"

#include "database/lookups.h"
#include "database/model.h"

namespace korva {

namespace {

// A listing that cannot be made gets the administration result page: no
// meet yet, no events chosen yet, or inconsistent data (result 1).
void ServeListingRefusal(RouteContext& ctx, int result) {
  ctx.reply.clear();
  if (ctx.route == 48 && Model().CurrentMeetId == 0) {
    ServeAdminResultPage(7, "您还没有建立运动会，请先新建一个运动会！", ctx.session, ctx.reply);
  } else {
    ServeAdminResultPage(6, result == 1 ? "数据有错误，建议管理员重新建立运动会！" : "您还没有设置各竞赛组的比赛！",
                         ctx.session, ctx.reply);
  }
}

// Before any group has its events there is nothing to list. The listings
// themselves are still to come: until then the request gets the
// session-expired page.
void EntryListingRoute(RouteContext& ctx) {
  if (NoGroupEvents()) ServeListingRefusal(ctx, 2);
}

constexpr RouteRow kRows[] = {
    {.path = "/ShowBaoMing.html", .roles = kLoggedIn, .code = 48, .handler = EntryListingRoute},
    {.path = "/ShowBaoMing2.html", .roles = kLoggedIn, .code = 49, .handler = EntryListingRoute},
};

}  // namespace

RouteTable EntryListingRoutes() { return kRows; }

}  // namespace korva
