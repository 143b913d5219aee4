#include "web/static_files.h"

#include <filesystem>
#include <fstream>
#include <system_error>
#include <iterator>

#include "database/data_lock.h"
#include "database/gbk_text.h"
#include "database/model.h"
#include "web/form_field.h"
#include "web/request_parser.h"
#include "web/response.h"
#include "web/route_table.h"
#include "web/router.h"
#include "web/templates.h"
#include "web/web_server.h"

namespace korva {

namespace {

struct ScriptFile {
  std::string_view path;
  Template template_id;  // unused for the print style sheet
  std::string_view content_type;
};

constexpr ScriptFile kScripts[] = {
    {"/af.js", Template::kAfJs, "application/x-javascript"},
    {"/admin.js", Template::kAdminJs, "application/x-javascript"},
    {"/inscore.js", Template::kInscoreJs, "application/x-javascript"},
    {"/admin.css", Template::kAdminCss, "text/css"},
    {"/view.css", Template::kPrintCssBase, "text/css"},
};

std::string_view ContentTypeOf(std::string_view name) {
  std::size_t dot = name.rfind('.');
  std::string_view ext = dot == std::string_view::npos ? std::string_view() : name.substr(dot + 1);
  if (ext == "jpg") return "image/jpeg";
  if (ext == "gif") return "image/gif";
  if (ext == "ico") return "image/x-icon";
  if (ext == "mp3") return "audio/mpeg";
  return "application/msword";
}

bool ReadWholeFile(const std::string& path, std::string& out) {
  std::error_code ec;
  if (!std::filesystem::is_regular_file(path, ec)) return false;
  std::ifstream file(path, std::ios::binary);
  if (!file) return false;
  out.assign(std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>());
  return !file.bad();
}

}  // namespace

std::string ConfinedFileName(const std::string& path) {
  std::string name = UrlDecode(BasePath(path));
  if (name.empty() || name.front() != '/') return {};
  name.erase(0, 1);
  if (name.empty() || name.front() == '/') return {};
  if (name.find("..") != std::string::npos || name.find('\\') != std::string::npos ||
      name.find(':') != std::string::npos || name.find('\0') != std::string::npos)
    return {};
  return name;
}

void ServeScriptOrStyle(const HttpRequest& request, const LoginNode& session, std::string& reply) {
  if (HeaderValue(request.Head, "If-None-Match").find("QV2016") != std::string_view::npos) {
    AppendStatusReply(304, reply);
    return;
  }
  std::string_view base = BasePath(request.Path);
  for (const ScriptFile& script : kScripts) {
    if (script.path != base) continue;
    if (script.path == "/view.css") {
      std::string css;
      BuildCertificateCssFor(session.OwnerKey, css);
      reply += FormatScriptHeader(script.content_type, css.size());
      reply += css;
      return;
    }
    const std::string* text = FindHtmlTemplate(script.template_id);
    std::string_view body = text ? std::string_view(*text) : std::string_view();
    reply += FormatScriptHeader(script.content_type, body.size());
    reply += body;
    return;
  }
  AppendStatusReply(404, reply);
}

void ServeImageFile(const HttpRequest& request, std::string& reply) {
  std::string name = ConfinedFileName(request.Path);
  std::string body;
  if (name.empty() || !ReadWholeFile(ImageFolder() + "/" + name, body)) {
    AppendStatusReply(404, reply);
    return;
  }
  AppendFileReply(ContentTypeOf(name), body, reply);
}

void ServeDocumentFile(const HttpRequest& request, std::string& reply) {
  std::string name = ConfinedFileName(request.Path);
  std::string body;
  DataGuard hold(DataLock);
  DocumentNode* document = nullptr;
  // Browsers send the path in UTF-8 whatever the page's charset; the list
  // holds GBK. The file itself carries the UTF-8 name, or the GBK one.
  for (DocumentNode& d : Model().DocumentList) {
    if (!name.empty() && (d.FilePath == name || GbkToUtf8(d.FilePath) == name)) {
      document = &d;
      break;
    }
  }
  bool read = false;
  if (document) {
    std::string folder = Model().DataFolder + "/";
    read = ReadWholeFile(folder + GbkToUtf8(document->FilePath), body) ||
           ReadWholeFile(folder + document->FilePath, body);
  }
  if (!read) {
    AppendStatusReply(404, reply);
    return;
  }
  ++document->Downloads;
  AppendFileReply("application/msword", body, reply);
}

}  // namespace korva
