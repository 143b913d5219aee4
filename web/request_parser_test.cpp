// Assembling requests from received bytes: what is complete, what waits for
// more, and what is refused.
#include "web/request_parser.h"

#include <gtest/gtest.h>

namespace {

ParseResult Parse(std::string_view text, HttpRequest& out, std::size_t& consumed, int& status) {
  return ParseHttpRequest(text, out, consumed, status);
}

TEST(ParseHttpRequest, ReadsEveryPartOfARequest) {
  std::string text =
      "POST /index.html?x=1 HTTP/1.1\r\nHost: a\r\nCookie: other=1; session=brimly4242E\r\n"
      "User-Agent: Mozilla/4.0 (compatible; MSIE 8.0; Windows NT 6.1; Trident/4.0)\r\n"
      "Content-Length: 5\r\n\r\nab=cdGET";
  HttpRequest request;
  std::size_t consumed = 0;
  int status = 0;
  ASSERT_EQ(ParseResult::kComplete, Parse(text, request, consumed, status));
  EXPECT_EQ("POST", request.Method);
  EXPECT_EQ("/index.html?x=1", request.Path);
  EXPECT_EQ("x=1", QueryOf(request.Path));
  EXPECT_EQ("ab=cd", request.Body);
  EXPECT_EQ(5, request.ContentLength);
  EXPECT_EQ(4242, request.SessionNumber);
  EXPECT_EQ(kBrowserIE8, request.Browser);
  EXPECT_TRUE(request.KeepAlive);
  EXPECT_EQ(text.size() - 3, consumed);  // the next request's bytes stay
  EXPECT_EQ("a", HeaderValue(request.Head, "host"));
}

TEST(ParseHttpRequest, EveryPrefixOfARequestIsIncomplete) {
  std::string text = "POST /a HTTP/1.1\r\nContent-Length: 3\r\n\r\nabc";
  for (std::size_t n = 0; n < text.size(); ++n) {
    HttpRequest request;
    std::size_t consumed = 0;
    int status = 0;
    EXPECT_EQ(ParseResult::kIncomplete, Parse(text.substr(0, n), request, consumed, status)) << n;
  }
}

TEST(ParseHttpRequest, CloseAndHttp10EndTheConnection) {
  HttpRequest request;
  std::size_t consumed = 0;
  int status = 0;
  Parse("GET / HTTP/1.1\r\nConnection: close\r\n\r\n", request, consumed, status);
  EXPECT_FALSE(request.KeepAlive);
  Parse("GET / HTTP/1.0\r\n\r\n", request, consumed, status);
  EXPECT_FALSE(request.KeepAlive);
  Parse("GET / HTTP/1.0\r\nConnection: Keep-Alive\r\n\r\n", request, consumed, status);
  EXPECT_TRUE(request.KeepAlive);
}

TEST(ParseHttpRequest, AMalformedRequestLineIsRefusedBeforeTheHeadEnds) {
  HttpRequest request;
  std::size_t consumed = 0;
  int status = 0;
  EXPECT_EQ(ParseResult::kBad, Parse("HELLO\r\nHost: a\r\n", request, consumed, status));
  EXPECT_EQ(400, status);
}

TEST(ParseHttpRequest, OversizedCookieNumberReadsAsNoSession) {
  HttpRequest request;
  std::size_t consumed = 0;
  int status = 0;
  Parse("GET / HTTP/1.1\r\nCookie: session=brimly99999999999999E\r\n\r\n", request, consumed, status);
  EXPECT_EQ(0, request.SessionNumber);
}

TEST(BrowserKindOf, FirstTextOfTheListWins) {
  EXPECT_EQ(kBrowserFirefox, BrowserKindOf("Mozilla/5.0 (X11; Linux x86_64; rv:120.0) Gecko Firefox/120.0"));
  EXPECT_EQ(kBrowserChrome, BrowserKindOf("Mozilla/5.0 AppleWebKit/537.36 Chrome/120.0 Safari/537.36"));
  EXPECT_EQ(kBrowserEdge, BrowserKindOf("Mozilla/5.0 Chrome/70.0 Safari/537.36 Edge/18.17763"));
  EXPECT_EQ(kBrowserQQ, BrowserKindOf("Mozilla/5.0 Chrome/70.0 QQBrowser/10.0"));
  EXPECT_EQ(kBrowserTrident, BrowserKindOf("Mozilla/5.0 (Windows NT 10.0; Trident/7.0; rv:11.0) like Gecko"));
  EXPECT_EQ(kBrowserOther, BrowserKindOf("curl/8.0"));
}

}  // namespace
