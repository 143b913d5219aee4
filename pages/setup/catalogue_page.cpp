#include "pages/setup/catalogue_page.h"

#include "database/model.h"
#include "pages/common/setup_result_page.h"
#include "web/form_field.h"
#include "web/response.h"
#include "web/templates.h"

namespace korva {

namespace {

constexpr int kResultNoMeet = 7;  // the result page's "can't go on" row with the create-meet link
constexpr std::size_t kIntFieldMax = 100;

}  // namespace

bool CatalogueMeetOpen(RouteContext& ctx) {
  if (Model().CurrentMeetId != 0) return true;
  if (ctx.request.Method == "POST") {
    ctx.result = 1;
    ctx.message = kNoMeetOpen;
  } else {
    ServeAdminResultPage(kResultNoMeet, kNoMeetOpen, ctx.session, ctx.reply);
  }
  return false;
}

void ServeCataloguePage(RouteContext& ctx, std::string_view content) {
  AppendHtmlPage(ctx.session,
                 BuildFramedPage(Template::kAdminFrame, ctx.session, kAdminPageTitle, kAdminScriptTag, content),
                 ctx.reply);
}

int FieldInt(std::string_view source, std::string_view key) { return GetFormInt(source, key, kIntFieldMax); }

std::string Button(const char* label, const std::string& onclick, bool disabled) {
  return std::string("<input type=\"button\" value=\"") + label + "\" onclick=\"" + onclick + "\"" +
         (disabled ? " disabled" : "") + " />";
}

void Refuse(RouteContext& ctx, std::string reason) {
  ctx.result = 1;
  ctx.message = std::move(reason);
}

std::string Option(std::string_view value, std::string_view text, bool selected) {
  std::string option = "<option value=\"";
  option += value;
  option += selected ? "\" selected>" : "\">";
  option += text;
  return option + "</option>\r\n";
}

std::string Option(int value, std::string_view text, bool selected) {
  return Option(std::to_string(value), text, selected);
}

}  // namespace korva
