#pragma once
// One request as the connection thread assembled it.
#include <cstdint>
#include <string>

namespace korva {

// Browser kinds told apart by the User-Agent line.
enum BrowserKind {
  kBrowserIE6 = 1, kBrowserIE7 = 2, kBrowserIE8 = 3, kBrowserIE9 = 4, kBrowserFirefox = 9,
  kBrowserTrident = 11, kBrowserQQ = 12, kBrowserChrome = 13, kBrowserEdge = 14, kBrowserOther = 30
};

struct HttpRequest {
  std::string Method;          // "GET", "POST", ...
  std::string Path;            // the path with its query, as sent (not decoded)
  std::string Head;            // the header lines after the request line
  std::string Body;            // exactly ContentLength bytes
  int ContentLength = 0;
  std::uint64_t SessionNumber = 0;  // from the "session=brimly%dE" cookie, 0 without one
  // From the "site=brimly%dE" cookie, which the browser sends only with
  // requests that the site itself started (SameSite=Strict); 0 without one.
  std::uint64_t SiteCookieNumber = 0;
  bool KeepAlive = true;
  int Browser = kBrowserOther;
  std::string ClientAddress;   // dotted IPv4 of the peer
};

}  // namespace korva
