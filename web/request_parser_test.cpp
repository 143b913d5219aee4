// Assembling requests from received bytes: what is complete, what waits for
// more, and what is refused.
#include "web/request_parser.h"

#include <gtest/gtest.h>

namespace korva {

namespace {

struct Parsed {
  ParseResult result;
  HttpRequest request;
  std::size_t consumed = 0;
  int status = 0;
};

Parsed Parse(std::string_view text) {
  Parsed p{};
  p.result = ParseHttpRequest(text, p.request, p.consumed, p.status);
  return p;
}

TEST(ParseHttpRequest, ReadsEveryPartOfARequest) {
  std::string text =
      "POST /index.html?x=1 HTTP/1.1\r\nHost: a\r\nCookie: other=1; session=brimly4242E\r\n"
      "User-Agent: Mozilla/4.0 (compatible; MSIE 8.0; Windows NT 6.1; Trident/4.0)\r\n"
      "Content-Length: 5\r\n\r\nab=cdGET";
  Parsed p = Parse(text);
  ASSERT_EQ(ParseResult::kComplete, p.result);
  EXPECT_EQ("POST", p.request.Method);
  EXPECT_EQ("/index.html?x=1", p.request.Path);
  EXPECT_EQ("ab=cd", p.request.Body);
  EXPECT_EQ(5, p.request.ContentLength);
  EXPECT_EQ(4242, p.request.SessionNumber);
  EXPECT_EQ(kBrowserIE8, p.request.Browser);
  EXPECT_TRUE(p.request.KeepAlive);
  EXPECT_EQ(text.size() - 3, p.consumed);  // the next request's bytes stay
  EXPECT_EQ("a", HeaderValue(p.request.Head, "host"));
}

TEST(ParseHttpRequest, EveryPrefixOfARequestIsIncomplete) {
  std::string text = "POST /a HTTP/1.1\r\nContent-Length: 3\r\n\r\nabc";
  std::size_t head = text.find("abc");
  for (std::size_t n = 0; n < text.size(); ++n) {
    Parsed p = Parse(text.substr(0, n));
    EXPECT_EQ(ParseResult::kIncomplete, p.result) << n;
    // Once the head is in, the size of the whole request is known.
    EXPECT_EQ(n < head ? 0 : text.size(), p.consumed) << n;
  }
}

TEST(ParseHttpRequest, KeepAliveCookieAndEarlyRefusal) {
  // An HTTP/1.0 client may ask to keep the connection.
  EXPECT_TRUE(Parse("GET / HTTP/1.0\r\nConnection: Keep-Alive\r\n\r\n").request.KeepAlive);
  // Session numbers have 64 bits; a longer one is no session.
  EXPECT_EQ(18446744073709551615u,
            Parse("GET / HTTP/1.1\r\nCookie: session=brimly18446744073709551615E\r\n\r\n").request.SessionNumber);
  EXPECT_EQ(0u, Parse("GET / HTTP/1.1\r\nCookie: session=brimly18446744073709551616E\r\n\r\n").request.SessionNumber);
  // A malformed request line is refused before the head ends.
  Parsed bad = Parse("HELLO\r\nHost: a\r\n");
  EXPECT_EQ(ParseResult::kBad, bad.result);
  EXPECT_EQ(400, bad.status);
}

}  // namespace

}  // namespace korva
