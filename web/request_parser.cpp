#include "web/request_parser.h"

#include <cctype>
#include <cstdint>

namespace korva {

namespace {

bool EqualsNoCase(std::string_view a, std::string_view b) {
  if (a.size() != b.size()) return false;
  for (std::size_t i = 0; i < a.size(); ++i) {
    if (std::tolower(static_cast<unsigned char>(a[i])) != std::tolower(static_cast<unsigned char>(b[i])))
      return false;
  }
  return true;
}

bool ContainsNoCase(std::string_view text, std::string_view word) {
  if (word.size() > text.size()) return false;
  for (std::size_t i = 0; i + word.size() <= text.size(); ++i) {
    if (EqualsNoCase(text.substr(i, word.size()), word)) return true;
  }
  return false;
}

// A header name: the token characters of HTTP, nothing else.
bool IsToken(std::string_view text) {
  for (char c : text) {
    bool ok = (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') ||
              std::string_view("!#$%&'*+-.^_`|~").find(c) != std::string_view::npos;
    if (!ok) return false;
  }
  return true;
}

std::string_view Trim(std::string_view text) {
  while (!text.empty() && (text.front() == ' ' || text.front() == '\t')) text.remove_prefix(1);
  while (!text.empty() && (text.back() == ' ' || text.back() == '\t')) text.remove_suffix(1);
  return text;
}

// The request line "METHOD SP target SP HTTP/1.x"; false when malformed.
bool ParseRequestLine(std::string_view line, HttpRequest& out, bool& http10) {
  std::size_t sp1 = line.find(' ');
  if (sp1 == std::string_view::npos || sp1 == 0 || sp1 > 16) return false;
  std::size_t sp2 = line.find(' ', sp1 + 1);
  if (sp2 == std::string_view::npos || sp2 == sp1 + 1) return false;
  std::string_view method = line.substr(0, sp1);
  std::string_view target = line.substr(sp1 + 1, sp2 - sp1 - 1);
  std::string_view version = line.substr(sp2 + 1);
  for (char c : method) {
    if (c < 'A' || c > 'Z') return false;
  }
  if (target.empty() || target.front() != '/') return false;
  for (char c : target) {
    unsigned char u = static_cast<unsigned char>(c);
    if (u <= 0x20 || u == 0x7F) return false;
  }
  if (version == "HTTP/1.0") {
    http10 = true;
  } else if (version != "HTTP/1.1") {
    return false;
  }
  out.Method = std::string(method);
  out.Path = std::string(target);
  return true;
}

// Digits only, at most kMaxRequestBody; -1 when malformed, -2 when too large.
long ParseContentLength(std::string_view value) {
  if (value.empty() || value.size() > 12) return value.empty() ? -1 : -2;
  long n = 0;
  for (char c : value) {
    if (c < '0' || c > '9') return -1;
    n = n * 10 + (c - '0');
  }
  return n > static_cast<long>(kMaxRequestBody) ? -2 : n;
}

// The number of the cookie "<name>=brimly%dE" in a Cookie value; 0 without
// one or when it does not fit 64 bits.
std::uint64_t CookieNumber(std::string_view cookies, std::string_view name) {
  constexpr std::string_view kPrefix = "brimly";
  while (!cookies.empty()) {
    std::size_t end = cookies.find(';');
    std::string_view pair = Trim(cookies.substr(0, end));
    cookies.remove_prefix(end == std::string_view::npos ? cookies.size() : end + 1);
    std::size_t equals = pair.find('=');
    if (equals == std::string_view::npos || pair.substr(0, equals) != name) continue;
    std::string_view value = pair.substr(equals + 1);
    if (!value.starts_with(kPrefix)) return 0;
    std::uint64_t n = 0;
    for (char c : value.substr(kPrefix.size())) {
      if (c < '0' || c > '9') break;
      unsigned digit = static_cast<unsigned>(c - '0');
      if (n > (UINT64_MAX - digit) / 10) return 0;
      n = n * 10 + digit;
    }
    return n;
  }
  return 0;
}

}  // namespace

std::string_view HeaderValue(std::string_view head, std::string_view name) {
  std::size_t pos = 0;
  while (pos < head.size()) {
    std::size_t end = head.find("\r\n", pos);
    if (end == std::string_view::npos) end = head.size();
    std::string_view line = head.substr(pos, end - pos);
    std::size_t colon = line.find(':');
    if (colon != std::string_view::npos && EqualsNoCase(Trim(line.substr(0, colon)), name))
      return Trim(line.substr(colon + 1));
    pos = end + 2;
  }
  return {};
}

int BrowserKindOf(std::string_view user_agent) {
  struct Kind {
    std::string_view text;
    int kind;
  };
  static constexpr Kind kKinds[] = {
      {"MSIE 6.0", kBrowserIE6},        {"MSIE 7.0", kBrowserIE7}, {"MSIE 8.0", kBrowserIE8},
      {"MSIE 9.0", kBrowserIE9},        {"Firefox", kBrowserFirefox}, {"QQBrowser", kBrowserQQ},
      {"Edge", kBrowserEdge},           {"Chrome", kBrowserChrome}, {"Trident", kBrowserTrident},
  };
  for (const Kind& k : kKinds) {
    if (user_agent.find(k.text) != std::string_view::npos) return k.kind;
  }
  return kBrowserOther;
}

ParseResult ParseHttpRequest(std::string_view buffer, HttpRequest& out, std::size_t& size, int& status) {
  size = 0;
  status = 0;
  // Blank lines before a request are allowed (some clients send one after a body).
  std::size_t start = 0;
  while (start + 1 < buffer.size() && buffer[start] == '\r' && buffer[start + 1] == '\n') start += 2;
  std::size_t head_end = buffer.find("\r\n\r\n", start);
  if (head_end == std::string_view::npos) {
    if (buffer.size() - start > kMaxRequestHead) {
      status = 431;
      return ParseResult::kBad;
    }
    // A request line that is already complete and malformed need not wait.
    std::size_t line_end = buffer.find("\r\n", start);
    if (line_end != std::string_view::npos) {
      HttpRequest probe;
      bool http10 = false;
      if (!ParseRequestLine(buffer.substr(start, line_end - start), probe, http10)) {
        status = 400;
        return ParseResult::kBad;
      }
    }
    return ParseResult::kIncomplete;
  }
  if (head_end - start > kMaxRequestHead) {
    status = 431;
    return ParseResult::kBad;
  }
  HttpRequest request;
  std::size_t line_end = buffer.find("\r\n", start);
  bool http10 = false;
  if (!ParseRequestLine(buffer.substr(start, line_end - start), request, http10)) {
    status = 400;
    return ParseResult::kBad;
  }
  std::string_view head = line_end < head_end ? buffer.substr(line_end + 2, head_end - line_end - 2)
                                              : std::string_view();
  request.Head = std::string(head);

  // Every header line must have a name; Content-Length must be one number.
  long content_length = 0;
  bool has_length = false;
  std::size_t pos = 0;
  while (pos < head.size()) {
    std::size_t end = head.find("\r\n", pos);
    if (end == std::string_view::npos) end = head.size();
    std::string_view line = head.substr(pos, end - pos);
    pos = end + 2;
    std::size_t colon = line.find(':');
    std::string_view name = line.substr(0, colon == std::string_view::npos ? 0 : colon);
    // A blank inside or after the name would let "Content-Length : 44" pass
    // unseen, and the body through as a second request.
    if (name.empty() || !IsToken(name)) {
      status = 400;
      return ParseResult::kBad;
    }
    std::string_view value = Trim(line.substr(colon + 1));
    if (EqualsNoCase(name, "Content-Length")) {
      long n = ParseContentLength(value);
      if (n == -2) {
        status = 413;
        return ParseResult::kBad;
      }
      if (n < 0 || (has_length && n != content_length)) {
        status = 400;
        return ParseResult::kBad;
      }
      content_length = n;
      has_length = true;
    } else if (EqualsNoCase(name, "Transfer-Encoding")) {
      status = 501;
      return ParseResult::kBad;
    } else if (EqualsNoCase(name, "Connection")) {
      if (ContainsNoCase(value, "close")) request.KeepAlive = false;
      if (http10 && ContainsNoCase(value, "keep-alive")) http10 = false;
    } else if (EqualsNoCase(name, "Cookie")) {
      if (request.SessionNumber == 0) request.SessionNumber = CookieNumber(value, kSessionCookie);
      if (request.SiteCookieNumber == 0) request.SiteCookieNumber = CookieNumber(value, kSiteCookie);
    } else if (EqualsNoCase(name, "User-Agent")) {
      request.Browser = BrowserKindOf(value);
    }
  }
  if (http10) request.KeepAlive = false;
  size = head_end + 4 + static_cast<std::size_t>(content_length);
  if (buffer.size() < size) return ParseResult::kIncomplete;
  request.ContentLength = static_cast<int>(content_length);
  request.Body = std::string(buffer.substr(head_end + 4, static_cast<std::size_t>(content_length)));
  out = std::move(request);
  return ParseResult::kComplete;
}

}  // namespace korva
