#pragma once
// The fixed response headers and the small pages every route may answer
// with. Every page, fragment and AJAX reply is FormatHtmlHeader followed by
// its body; texts are GBK.
#include <cstddef>
#include <ctime>
#include <string>
#include <string_view>

#include "web/login_list.h"

namespace korva {

// "Wednesday, 11 Jan 1984 05:00:00 GMT" in English whatever the locale.
std::string FormatHttpDate(std::time_t when);

// The 200 header of every page with the session's cookie
// ("Set-Cookie: session=brimly%dE; HttpOnly; SameSite=Lax") and its
// companion ("site=brimly%dE; HttpOnly; SameSite=Strict"; neither for a
// request served without a session) and the body length.
std::string FormatHtmlHeader(const LoginNode& session, std::size_t content_length);

// Appends FormatHtmlHeader for body and then body to reply.
void AppendHtmlPage(const LoginNode& session, std::string_view body, std::string& reply);

// The 200 header of the built-in scripts and style sheets:
// "Content-Type: <content_type>;charset=GB2312", a fixed Last-Modified and
// the ETag (quoted) of the body.
std::string FormatScriptHeader(std::string_view content_type, std::string_view etag,
                               std::size_t content_length);

// Appends the 304 answer for a script or style sheet the browser holds.
void AppendNotModifiedReply(std::string_view etag, std::string& reply);

// Appends the 200 answer of an image, a sound or a document: header and body.
void AppendFileReply(std::string_view content_type, std::string_view body, std::string& reply);

// Appends a complete answer with a short page for an error status (400,
// 403, 404, 405, 408, 413, 431, 501, 503).
void AppendStatusReply(int status, std::string& reply);

// A small page whose script goes to: kind 0 '/', 1 '/Admin.html',
// 2 '/ShowClass.html', 3 '/SetupGrade.html?id=' + text, 4 '/ShowScore.html',
// 5 '/MatchPlan.html' + text, 9 '/Welcome.html'. Appended to reply.
void ServeRedirectPage(int kind, std::string_view text, const LoginNode& session, std::string& reply);
// The same small page, sending the browser to path (a program-made path).
void ServeRedirectToPath(std::string_view path, const LoginNode& session, std::string& reply);

// Template 134 with "网页服务已经被管理员关闭，请稍后访问！": every answer while
// WebSuspended is set. Appended to reply.
void ServeServiceClosedPage(const LoginNode& session, std::string& reply);

// Template 138: the answer to an unknown path or a role that may not use it.
// Appended to reply.
void ServeSessionExpiredPage(const LoginNode& session, std::string& reply);

}  // namespace korva
