#include "pages/setup/registration_switch.h"

#include <string>

#include "database/model.h"
#include "database/store_meets.h"
#include "pages/setup/setup_stage.h"
#include "web/form_field.h"
#include "web/response.h"

namespace korva {

namespace {

// "4" drawn already, "5" no rounds, "1" opened while classes are short of
// their quotas, "2" opened with every quota filled, "3" closed, "6" a
// failed write or an unknown ID.
std::string SwitchRegistration(std::string_view path) {
  int id = GetFormInt(path, "ID=", 100);
  if (id == 1) {
    if (!Model().LaneList.empty()) return "4";
    if (Model().RoundList.empty()) return "5";
    if (SetRegistrationClosed(1) != 0) return "6";
    return CheckModelConsistency() ? "2" : "1";
  }
  if (id == 2) return SetRegistrationClosed(2) == 0 ? "3" : "6";
  return "6";
}

void SwitchRegistrationRoute(RouteContext& ctx) {
  AppendHtmlPage(ctx.session, SwitchRegistration(ctx.request.Path), ctx.reply);
}

constexpr RouteRow kRows[] = {
    {.path = "/WebBaoMingClose.html", .roles = kAdmin, .code = 53, .handler = SwitchRegistrationRoute,
     .access = Access::kWrite, .empty = EmptyReply::kEmptyBody},
};

}  // namespace

RouteTable RegistrationSwitchRoutes() { return kRows; }

}  // namespace korva
