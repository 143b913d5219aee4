#pragma once
// Assembling one HttpRequest from the bytes a connection has received.
#include <cstddef>
#include <string>
#include <string_view>

#include "web/http_request.h"

namespace korva {

// Largest head (request line and header lines) and body the server accepts.
constexpr std::size_t kMaxRequestHead = 16 * 1024;
constexpr std::size_t kMaxRequestBody = 1024 * 1024;

// The names of the two cookies that carry the session number: the session
// cookie (SameSite=Lax) and its companion that only the site's own pages
// send (SameSite=Strict).
inline constexpr std::string_view kSessionCookie = "session";
inline constexpr std::string_view kSiteCookie = "site";

enum class ParseResult {
  kIncomplete,  // more bytes are needed
  kComplete,    // out holds the request; consumed bytes belong to it
  kBad,         // not a request this server answers; status says which 4xx
};

// Parses the first request at the start of buffer. size is the number of
// bytes of that request (head and body): on kComplete, so pipelined requests
// behind it stay in the buffer; on kIncomplete once its head is complete (0
// before), so the caller knows what is still to come. On kBad, status is
// 400, 413, 431 or 501 and the connection is to be answered and closed.
// Reads nothing past buffer.
ParseResult ParseHttpRequest(std::string_view buffer, HttpRequest& out, std::size_t& size, int& status);

// The value of header line name (case-insensitive) in head, without
// surrounding blanks; empty when absent.
std::string_view HeaderValue(std::string_view head, std::string_view name);

// BrowserKind from a User-Agent text.
int BrowserKindOf(std::string_view user_agent);

}  // namespace korva
