#include "web/response.h"

#include <cstdio>
#include <utility>

#include "web/request_parser.h"
#include "web/templates.h"

namespace korva {

namespace {

constexpr const char* kServerName = "BrimlyWsv1.7";

const char* const kDayNames[7] = {"Sunday", "Monday", "Tuesday", "Wednesday", "Thursday", "Friday",
                                  "Saturday"};
const char* const kMonthNames[12] = {"Jan", "Feb", "Mar", "Apr", "May", "Jun",
                                     "Jul", "Aug", "Sep", "Oct", "Nov", "Dec"};

const char* StatusText(int status) {
  switch (status) {
    case 304: return "Not Modified";
    case 400: return "Bad Request";
    case 403: return "Forbidden";
    case 404: return "Not Found";
    case 405: return "Method Not Allowed";
    case 408: return "Request Timeout";
    case 413: return "Payload Too Large";
    case 431: return "Request Header Fields Too Large";
    case 501: return "Not Implemented";
    case 503: return "Service Unavailable";
    default: return "Error";
  }
}

// A page of template id with its message placeholder filled; a missing
// template still gives a page holding the message.
std::string MessagePage(Template id, std::string_view message) {
  std::string page;
  if (!LoadHtmlTemplate(id, page)) {
    page = "<html><head><meta http-equiv=\"Content-Type\" content=\"text/html; charset=gb2312\" />"
           "<title>QV网络运动会管理系统</title></head><body><%=提示%></body></html>";
  }
  ReplacePlaceholder(page, "提示", message);
  return page;
}

}  // namespace

std::string FormatHttpDate(std::time_t when) {
  std::tm tm{};
  if (!gmtime_r(&when, &tm)) tm = std::tm{};
  char text[64];
  std::snprintf(text, sizeof text, "%s, %02d %s %04d %02d:%02d:%02d GMT", kDayNames[tm.tm_wday % 7],
                tm.tm_mday, kMonthNames[tm.tm_mon % 12], tm.tm_year + 1900, tm.tm_hour, tm.tm_min,
                tm.tm_sec);
  return text;
}

std::string FormatHtmlHeader(const LoginNode& session, std::size_t content_length) {
  std::string header = "HTTP/1.1 200 OK\r\nDate: ";
  header += FormatHttpDate(std::time(nullptr));
  header += "\r\nContent-Type: text/html; charset=gb2312\r\nServer: ";
  header += kServerName;
  header += "\r\nContent-Length: ";
  header += std::to_string(content_length);
  header +=
      "\r\nCache-Control: no-cache\r\nConnection: Keep-Alive\r\nExpires: Wed,11 Jan 1984 05:00:00 GMT\r\n"
      "Pragma: no-cache\r\nCache-Control: no-cache\r\n";
  // The scripts never read the cookies, and another site's page must not
  // send them along with a form it posts here. The session cookie still
  // comes with a link from another site, so that one signed in stays so;
  // its companion comes only with what the site itself asks for, and is
  // what tells a request that carries no other mark of where it came from
  // from one made by another site's page (see SourceOfRequest).
  if (session.SessionId != 0) {
    for (auto [name, same_site] : {std::pair{kSessionCookie, "Lax"}, std::pair{kSiteCookie, "Strict"}}) {
      header += "Set-Cookie: ";
      header += name;
      header += "=brimly";
      header += std::to_string(session.SessionId);
      header += "E; HttpOnly; SameSite=";
      header += same_site;
      header += "\r\n";
    }
  }
  header += "\r\n";
  return header;
}

void AppendHtmlPage(const LoginNode& session, std::string_view body, std::string& reply) {
  reply += FormatHtmlHeader(session, body.size());
  reply += body;
}

std::string FormatScriptHeader(std::string_view content_type, std::string_view etag,
                               std::size_t content_length) {
  std::string header = "HTTP/1.1 200 OK\r\nDate: ";
  header += FormatHttpDate(std::time(nullptr));
  header += "\r\nContent-Type: ";
  header += content_type;
  header += ";charset=GB2312\r\nServer: ";
  header += kServerName;
  header += "\r\nContent-Length: ";
  header += std::to_string(content_length);
  header += "\r\nLast-Modified: Mon, 01 Feb 2016 08:00:00 GMT\r\nETag: ";
  header += etag;
  header += "\r\nConnection: Keep-Alive\r\n\r\n";
  return header;
}

void AppendNotModifiedReply(std::string_view etag, std::string& reply) {
  reply += "HTTP/1.1 304 Not Modified\r\nDate: ";
  reply += FormatHttpDate(std::time(nullptr));
  reply += "\r\nServer: ";
  reply += kServerName;
  reply += "\r\nETag: ";
  reply += etag;
  reply += "\r\nConnection: Keep-Alive\r\n\r\n";
}

void AppendFileReply(std::string_view content_type, std::string_view body, std::string& reply) {
  reply += "HTTP/1.1 200 OK\r\nDate: ";
  reply += FormatHttpDate(std::time(nullptr));
  reply += "\r\nContent-Type: ";
  reply += content_type;
  reply += "\r\nServer: ";
  reply += kServerName;
  reply += "\r\nContent-Length: ";
  reply += std::to_string(body.size());
  reply += "\r\nConnection: Keep-Alive\r\n\r\n";
  reply += body;
}

void AppendStatusReply(int status, std::string& reply) {
  std::string body = "<html><head><title>" + std::to_string(status) + " " + StatusText(status) +
                     "</title></head><body>" + std::to_string(status) + " " + StatusText(status) +
                     "</body></html>";
  reply += "HTTP/1.1 " + std::to_string(status) + " " + StatusText(status) + "\r\nDate: ";
  reply += FormatHttpDate(std::time(nullptr));
  reply += "\r\nServer: ";
  reply += kServerName;
  reply += "\r\nContent-Type: text/html; charset=gb2312\r\nContent-Length: ";
  reply += std::to_string(body.size());
  // A not-found or forbidden answer keeps the connection; after the others
  // the request stream can no longer be trusted.
  reply += status == 404 || status == 403 ? "\r\nConnection: Keep-Alive\r\n\r\n" : "\r\nConnection: close\r\n\r\n";
  reply += body;
}

void ServeRedirectPage(int kind, std::string_view text, const LoginNode& session, std::string& reply) {
  std::string target;
  switch (kind) {
    case 0: target = "/"; break;
    case 1: target = "/Admin.html"; break;
    case 2: target = "/ShowClass.html"; break;
    case 3: target = "/SetupGrade.html?id="; target += text; break;
    case 4: target = "/ShowScore.html"; break;
    case 5: target = "/MatchPlan.html"; target += text; break;
    default: target = "/Welcome.html"; break;
  }
  ServeRedirectToPath(target, session, reply);
}

void ServeRedirectToPath(std::string_view target, const LoginNode& session, std::string& reply) {
  // The target goes inside a script string; only program-made texts reach
  // here, but a quote or a tag end must still not leave the string.
  std::string safe;
  for (char c : target) {
    if (c == '\'' || c == '"' || c == '\\' || c == '<' || c == '>' || c == '\r' || c == '\n') continue;
    safe += c;
  }
  std::string page =
      "<html><head><meta http-equiv=\"Content-Type\" content=\"text/html; charset=gb2312\" />"
      "<title>QV网络运动会管理系统</title></head><body><script type=\"text/javascript\">"
      "window.location.href='" + safe + "';</script></body></html>";
  AppendHtmlPage(session, page, reply);
}

void ServeServiceClosedPage(const LoginNode& session, std::string& reply) {
  AppendHtmlPage(session, MessagePage(Template::kServiceClosed, "网页服务已经被管理员关闭，请稍后访问！"), reply);
}

void ServeSessionExpiredPage(const LoginNode& session, std::string& reply) {
  AppendHtmlPage(session, MessagePage(Template::kSessionExpired, ""), reply);
}

}  // namespace korva
