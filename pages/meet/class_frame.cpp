#include "pages/meet/class_frame.h"

#include "database/data_lock.h"
#include "database/lookups.h"
#include "database/model.h"
#include "web/escape.h"
#include "web/response.h"
#include "web/templates.h"

namespace korva {

std::string BuildClassFramePage(const LoginNode& session, std::string_view content) {
  AssertDataLockHeld();
  std::string page;
  LoadHtmlTemplate(Template::kClassFrame, page);
  FillPageHead(page, kAdminPageTitle);
  const ClassNode* class_node = FindClassNode(session.ClassId, session.GradeId);
  ReplacePlaceholder(page, "班级", class_node ? EscapeHtml(class_node->ClassName) : "");
  ReplacePlaceholder(page, "领队", class_node ? EscapeHtml(class_node->LeaderName) : "");
  ReplacePlaceholder(page, "可报项目", "请返回班级首页查看！");
  ReplacePlaceholder(page, "提示", content);
  return page;
}

void ServeClassErrorPage(const LoginNode& session, std::string_view message, std::string& reply) {
  std::string content = "<tr><td class=\"bstdd\"><img src=\"error.jpg\" /><br>";
  content += message;
  content += "</td></tr>";
  AppendHtmlPage(session, BuildClassFramePage(session, content), reply);
}

}  // namespace korva
