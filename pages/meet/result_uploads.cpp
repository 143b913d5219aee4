#include "pages/meet/result_uploads.h"

#include <cstdio>
#include <string>

#include "engine/manual_places.h"
#include "engine/score_upload.h"
#include "web/response.h"

namespace korva {

namespace {

// Route 61: "/upcj.html?Dstr=..." stores one result and counts its round
// when complete. "%02d%s": the reply code and its text.
void ScoreUploadRoute(RouteContext& ctx) {
  std::string text;
  const int code = HandleScoreUpload(ctx.request.Path, text);
  char digits[8];
  std::snprintf(digits, sizeof digits, "%02d", code);
  AppendHtmlPage(ctx.session, digits + text, ctx.reply);
}

// Route 62: "/ydhupdatestcj2016.html?str=..." (or "?ctr=..." for shared
// places) places a tied final by hand: "1" and the sentence, or "0".
void ManualPlacesRoute(RouteContext& ctx) {
  std::string text;
  const int result = HandleManualPlaces(ctx.request.Path, text);
  AppendHtmlPage(ctx.session, std::to_string(result) + text, ctx.reply);
}

constexpr RouteRow kRows[] = {
    {.path = "/upcj.html", .roles = kClerks, .code = 61, .handler = ScoreUploadRoute, .access = Access::kWrite,
     .empty = EmptyReply::kEmptyBody, .prefix = true},
    {.path = "/ydhupdatestcj2016.html", .roles = kClerks, .code = 62, .handler = ManualPlacesRoute,
     .access = Access::kWrite, .empty = EmptyReply::kEmptyBody},
};

}  // namespace

RouteTable ResultUploadRoutes() { return kRows; }

}  // namespace korva
