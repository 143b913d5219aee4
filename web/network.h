#pragma once
// The server's own address, the local-network rule for staff logins, and
// telling requests another site made the browser send.
#include <string>

#include "web/http_request.h"

namespace korva {

// The first non-loopback IPv4 address of an interface that is up,
// preferring the interface of the default route; "127.0.0.1" when there is
// none. Also remembers that interface's subnet for IsLocalNetworkAddress.
std::string FindServerAddress();

// True for a loopback, private (10/8, 172.16/12, 192.168/16) or link-local
// address, or one in the subnet of the server's interface (as found by
// FindServerAddress), so a school that uses public addresses is local too.
// Staff roles above 6 are served only to these.
bool IsLocalNetworkAddress(const std::string& dotted_ipv4);

// Where a request came from, as far as the browser tells.
enum class RequestSource {
  kSite,         // the site's own pages, or an address typed or bookmarked
  kAnotherSite,  // a page of another site made the browser send it
  kUnmarked,     // the browser said nothing either way
};

// Sec-Fetch-Site decides when the browser sends it ("same-origin" and
// "none" are the site; anything else, "same-site" included, is not); else
// the Origin, else the Referer, which must name the host the request was
// sent to (its Host line, else ServerAddress and ListenPort). "null", or
// anything that is no web address, is another site. A browser sends none of
// the three with a typed address, and, over plain http to a host name or a
// school-network address, with a link followed from another site's page
// that hides its address: such a request is kUnmarked.
RequestSource SourceOfRequest(const HttpRequest& request);

}  // namespace korva
