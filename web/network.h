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

// True when the request's Origin, or without one its Referer, names another
// host than the one the request was sent to (its Host line, else
// ServerAddress and ListenPort), or is "null": a page of another site made
// the browser send it. A request with neither line passes (a typed address,
// an older browser).
bool ComesFromAnotherSite(const HttpRequest& request);

}  // namespace korva
