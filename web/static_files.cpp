#include "web/static_files.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <memory>
#include <mutex>
#include <system_error>
#include <unordered_map>

#include "database/data_lock.h"
#include "database/gbk_text.h"
#include "database/model.h"
#include "database/store_documents.h"
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

// Reads the regular file name inside folder, after every link of the path is
// resolved, so a link inside the folder can't reach a file outside it.
bool ReadConfinedFile(const std::string& folder, const std::string& name, std::string& out) {
  std::error_code ec;
  std::filesystem::path root = std::filesystem::canonical(folder, ec);
  if (ec) return false;
  std::filesystem::path file = std::filesystem::canonical(root / name, ec);
  if (ec) return false;
  std::string root_text = root.string() + "/";
  if (file.string().compare(0, root_text.size(), root_text) != 0) return false;
  int fd = open(file.c_str(), O_RDONLY | O_CLOEXEC | O_NOFOLLOW);
  if (fd < 0) return false;
  struct stat info {};
  bool read_all = fstat(fd, &info) == 0 && S_ISREG(info.st_mode);
  if (read_all) {
    out.resize(static_cast<std::size_t>(info.st_size));
    std::size_t done = 0;
    while (done < out.size()) {
      ssize_t got = read(fd, out.data() + done, out.size() - done);
      if (got < 0 && errno == EINTR) continue;
      if (got <= 0) break;
      done += static_cast<std::size_t>(got);
    }
    out.resize(done);
    read_all = done == static_cast<std::size_t>(info.st_size);
  }
  close(fd);
  return read_all;
}

// The images and the sound don't change while the server runs: each is read
// once. Larger files than this are read at each request instead of kept.
constexpr std::size_t kLargestKeptImage = 4u << 20;

struct ImageCache {
  std::mutex mutex;
  std::unordered_map<std::string, std::shared_ptr<const std::string>> files;  // by folder and name
};

ImageCache& Images() {
  static ImageCache cache;
  return cache;
}

std::shared_ptr<const std::string> ImageBytes(const std::string& folder, const std::string& name) {
  std::string key = folder + "/" + name;
  ImageCache& cache = Images();
  {
    std::lock_guard<std::mutex> hold(cache.mutex);
    auto found = cache.files.find(key);
    if (found != cache.files.end()) return found->second;
  }
  auto bytes = std::make_shared<std::string>();
  if (!ReadConfinedFile(folder, name, *bytes)) return nullptr;
  if (bytes->size() <= kLargestKeptImage) {
    std::lock_guard<std::mutex> hold(cache.mutex);
    cache.files.emplace(key, bytes);
  }
  return bytes;
}

// "QV2016-" and a hash of the body, so the tag changes whenever the program's
// templates (or a session's certificate layout) do.
std::string ScriptEtag(std::string_view body) {
  std::uint64_t hash = 14695981039346656037ull;  // FNV-1a
  for (unsigned char c : body) {
    hash ^= c;
    hash *= 1099511628211ull;
  }
  char text[32];
  std::snprintf(text, sizeof text, "\"QV2016-%016llx\"", static_cast<unsigned long long>(hash));
  return text;
}

// True when the If-None-Match list holds etag (weak or strong).
bool HoldsEtag(std::string_view if_none_match, std::string_view etag) {
  while (!if_none_match.empty()) {
    std::size_t comma = if_none_match.find(',');
    std::string_view item = if_none_match.substr(0, comma);
    while (!item.empty() && item.front() == ' ') item.remove_prefix(1);
    while (!item.empty() && item.back() == ' ') item.remove_suffix(1);
    if (item.substr(0, 2) == "W/") item.remove_prefix(2);
    if (item == etag) return true;
    if (comma == std::string_view::npos) break;
    if_none_match.remove_prefix(comma + 1);
  }
  return false;
}

}  // namespace

void AppendScript(const HttpRequest& request, std::string_view content_type, std::string_view body,
                  std::string& reply) {
  std::string etag = ScriptEtag(body);
  if (HoldsEtag(HeaderValue(request.Head, "If-None-Match"), etag)) {
    AppendNotModifiedReply(etag, reply);
    return;
  }
  reply += FormatScriptHeader(content_type, etag, body.size());
  reply += body;
}

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

void ServeScriptOrStyle(const HttpRequest& request, std::string& reply) {
  std::string_view base = BasePath(request.Path);
  for (const ScriptFile& script : kScripts) {
    if (script.path != base) continue;
    // A script whose template is not built yet is missing, not empty: an
    // empty one could stay in the browser's cache after the real one lands.
    const std::string* text = FindHtmlTemplate(script.template_id);
    if (!text) break;
    AppendScript(request, script.content_type, *text, reply);
    return;
  }
  AppendStatusReply(404, reply);
}

void ServeImageFile(const HttpRequest& request, std::string& reply) {
  std::string name = ConfinedFileName(request.Path);
  std::shared_ptr<const std::string> body = name.empty() ? nullptr : ImageBytes(ImageFolder(), name);
  if (!body) {
    AppendStatusReply(404, reply);
    return;
  }
  AppendFileReply(ContentTypeOf(name), *body, reply);
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
    const std::string& folder = Model().DataFolder;
    read = ReadConfinedFile(folder, GbkToUtf8(document->FilePath), body) ||
           ReadConfinedFile(folder, document->FilePath, body);
  }
  if (!read) {
    AppendStatusReply(404, reply);
    return;
  }
  (void)CountDocumentDownload(*document);  // a count that can't be kept still lets the file go
  AppendFileReply("application/msword", body, reply);
}

}  // namespace korva
