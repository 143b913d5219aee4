#include "web/templates.h"

#include <array>

#include "database/data_error.h"
#include "database/data_lock.h"
#include "database/gbk_text.h"
#include "database/model.h"
#include "resources/embedded.h"
#include "web/escape.h"

namespace korva {

namespace {

constexpr int kFirstTemplate = 130;
constexpr int kLastTemplate = 177;

struct CachedTemplate {
  bool present = false;
  std::string text;  // GBK
};

// HtmlTemplateCache: filled once at server start, read-only afterwards.
std::array<CachedTemplate, kLastTemplate - kFirstTemplate + 1> HtmlTemplateCache;

}  // namespace

int LoadHtmlTemplateCache() {
  int loaded = 0;
  for (int id = kFirstTemplate; id <= kLastTemplate; ++id) {
    CachedTemplate& slot = HtmlTemplateCache[id - kFirstTemplate];
    slot = CachedTemplate{};
    for (const char* ext : {"html", "js", "css", "xml"}) {
      bool found = false;
      std::string_view utf8 =
          EmbeddedResource("templates/" + std::to_string(id) + "." + ext, &found);
      if (!found) continue;
      slot.present = true;
      slot.text = Utf8ToGbk(utf8);
      ++loaded;
      break;
    }
  }
  return loaded;
}

const std::string* FindHtmlTemplate(Template template_id) {
  int id = static_cast<int>(template_id);
  if (id < kFirstTemplate || id > kLastTemplate) return nullptr;
  const CachedTemplate& slot = HtmlTemplateCache[id - kFirstTemplate];
  return slot.present ? &slot.text : nullptr;
}

bool LoadHtmlTemplate(Template id, std::string& out) {
  const std::string* text = FindHtmlTemplate(id);
  if (!text) return false;
  out = *text;
  return true;
}

bool ReplacePlaceholder(std::string& page, std::string_view name, std::string_view value) {
  std::string placeholder = "<%=";
  placeholder += name;
  placeholder += "%>";
  std::size_t at = page.find(placeholder);
  if (at == std::string::npos) {
    LogServerMessage("template placeholder not found: " + placeholder);
    return false;
  }
  page.replace(at, placeholder.size(), value);
  return true;
}

void FillPageHead(std::string& page, std::string_view title) {
  std::string organiser;
  std::string meet;
  {
    DataReadGuard hold(DataLock);
    organiser = EscapeHtml(Model().OrganiserName);
    meet = EscapeHtml(Model().MeetName);
  }
  // Escaped data values cannot hold a placeholder.
  ReplacePlaceholder(page, "标题", title);
  ReplacePlaceholder(page, "主办单位", organiser);
  ReplacePlaceholder(page, "运动会名称", meet);
}

Template StaffFrameOf(int role) {
  switch (role) {
    case kRolePrintAdmin: return Template::kPrintAdminFrame;
    case kRoleScoreClerk: return Template::kClerkFrame;
    default: return Template::kAdminFrame;
  }
}

std::string BuildFramedPage(Template frame, const LoginNode& session, std::string_view title,
                            std::string_view script, std::string_view content) {
  std::string page;
  LoadHtmlTemplate(frame, page);
  FillPageHead(page, title);
  // The content goes in last, so nothing inside it is ever replaced.
  ReplacePlaceholder(page, "用户名", EscapeHtml(session.UserName));
  ReplacePlaceholder(page, "脚本", script);
  ReplacePlaceholder(page, "具体内容", content);
  return page;
}

}  // namespace korva
