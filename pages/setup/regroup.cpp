#include "pages/setup/regroup.h"

#include <string>

#include "engine/final_seeding.h"
#include "web/form_field.h"

namespace korva {

namespace {

// The round ids of "str1", each ended by '-'.
constexpr std::size_t kRoundListBytes = 500;

// Route 162: one sentence per round, shown on the result page (code 55).
void RegroupRoute(RouteContext& ctx) {
  std::string round_ids;
  GetFormField(ctx.request.Body, "str1=", kRoundListBytes, round_ids);
  ctx.message = RegroupRounds(round_ids);
  ctx.result = 0;
}

constexpr RouteRow kRows[] = {
    {.path = "/ChongPaiBiSai.html", .method = Method::kPost, .roles = kAdmin, .code = 162, .handler = RegroupRoute,
     .access = Access::kWrite, .empty = EmptyReply::kAdminResult, .answer = Answer::kResultPage, .base = 55},
};

}  // namespace

RouteTable RegroupRoutes() { return kRows; }

}  // namespace korva
