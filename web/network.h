#pragma once
// The server's own address and the local-network rule for staff logins.
#include <string>

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

}  // namespace korva
