#pragma once
// The built-in templates (ids 130 to 177): pages, fragments, scripts and
// style sheets, kept in resources/templates as UTF-8 and converted to GBK
// once when the cache is loaded. A placeholder is "<%=name%>".
#include <string>
#include <string_view>

#include "web/login_list.h"

namespace korva {

// Loads every template of ids 130 to 177 that exists into HtmlTemplateCache;
// the number loaded. Called once at server start, before any request.
int LoadHtmlTemplateCache();

// Copies the cached text of template id into out: 1; 0 for an id without a
// template (out is left unchanged).
int LoadHtmlTemplate(int id, std::string& out);

// The cached text of template id, null when there is none. Valid until the
// cache is reloaded (server start only).
const std::string* FindHtmlTemplate(int id);

// Replaces the first "<%=name%>" in page with value (placed as given: the
// caller escapes data values). Nothing happens when the placeholder is absent.
void ReplacePlaceholder(std::string& page, std::string_view name, std::string_view value);

// A page frame (132 administration, 169 score clerk, 172 print
// administrator) with "<%=标题%>" = title, "<%=主办单位%>" = OrganiserName,
// "<%=运动会名称%>" = MeetName and "<%=用户名%>" = the session's user name (these
// three escaped), "<%=脚本%>" = script and "<%=具体内容%>" = content (program
// markup, placed as given). Takes DataLock to read the meet globals.
std::string BuildFramedPage(int frame_template, const LoginNode& session, std::string_view title,
                            std::string_view script, std::string_view content);

// The title every administration page carries.
inline constexpr const char* kAdminPageTitle = "欢迎使用QV网络运动会管理系统";
// The script tags of the frames' "<%=脚本%>".
inline constexpr const char* kAdminScriptTag = "<script src=\"admin.js\" type=\"text/javascript\"></script>";
inline constexpr const char* kAfScriptTag = "<script src=\"af.js\" type=\"text/javascript\"></script>";
inline constexpr const char* kInscoreScriptTag = "<script src=\"inscore.js\" type=\"text/javascript\"></script>";

}  // namespace korva
