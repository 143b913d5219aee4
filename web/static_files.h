#pragma once
// The built-in scripts and style sheets, the image folder and the
// generated documents.
#include <string>

#include "web/http_request.h"
#include "web/login_list.h"

namespace korva {

// "/af.js" (template 154), "/admin.js" (145), "/inscore.js" (165) and
// "/admin.css" (151), each as AppendScript sends it. A script whose
// template does not exist gets 404.
void ServeScriptOrStyle(const HttpRequest& request, std::string& reply);

// A script or style sheet with an ETag "QV2016-" and a hash of its text; a
// request whose If-None-Match holds that ETag gets 304.
void AppendScript(const HttpRequest& request, std::string_view content_type, std::string_view body,
                  std::string& reply);

// A file of the image folder (".jpg", ".gif", ".ico", ".mp3"), kept in
// memory once read; 404 for a missing file, one that is not a regular file,
// or a path that leaves the folder (by its name or through a link).
void ServeImageFile(const HttpRequest& request, std::string& reply);

// A generated document (".doc", ".docx") of the data folder, served only
// when its name is the file path of a DocumentNode; adds one to that
// document's download count. 404 otherwise. Takes DataLock.
void ServeDocumentFile(const HttpRequest& request, std::string& reply);

// The decoded file name of a request path (without the leading '/' and the
// query), or empty when it holds "..", a backslash, a colon, a NUL or a
// further leading '/', so it can only name a file inside the folder.
std::string ConfinedFileName(const std::string& path);

}  // namespace korva
