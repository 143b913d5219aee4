#include "web/network.h"

#include <arpa/inet.h>
#include <ifaddrs.h>
#include <net/if.h>
#include <netinet/in.h>

#include <atomic>
#include <cctype>
#include <cstdint>
#include <fstream>
#include <memory>
#include <sstream>
#include <string_view>
#include <utility>

#include "web/request_parser.h"
#include "web/web_server.h"

namespace korva {

namespace {

// The subnet of the server's interface, in host byte order; 0/0 until found.
std::atomic<std::uint32_t> local_network{0};
std::atomic<std::uint32_t> local_netmask{0xFFFFFFFFu};

// The name of the interface of the default route, empty when none is known.
std::string DefaultRouteInterface() {
  std::ifstream routes("/proc/net/route");
  std::string line;
  std::getline(routes, line);  // column heads
  while (std::getline(routes, line)) {
    std::istringstream fields(line);
    std::string name, destination;
    if (fields >> name >> destination && destination == "00000000") return name;
  }
  return {};
}

bool ParseIpv4(const std::string& text, std::uint32_t& address) {
  in_addr parsed{};
  if (inet_pton(AF_INET, text.c_str(), &parsed) != 1) return false;
  address = ntohl(parsed.s_addr);
  return true;
}

bool StartsWithNoCase(std::string_view text, std::string_view prefix) {
  if (text.size() < prefix.size()) return false;
  for (std::size_t i = 0; i < prefix.size(); ++i) {
    if (std::tolower(static_cast<unsigned char>(text[i])) != prefix[i]) return false;
  }
  return true;
}

// "host[:port]" in lower case, without the default port of its scheme.
std::string NormalAuthority(std::string_view authority, std::string_view default_port) {
  std::string text;
  for (char c : authority) text += static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  std::string suffix(1, ':');
  suffix += default_port;
  if (text.size() > suffix.size() && text.compare(text.size() - suffix.size(), suffix.size(), suffix) == 0)
    text.resize(text.size() - suffix.size());
  return text;
}

}  // namespace

RequestSource SourceOfRequest(const HttpRequest& request) {
  if (std::string_view fetch = HeaderValue(request.Head, "Sec-Fetch-Site"); !fetch.empty())
    return fetch == "same-origin" || fetch == "none" ? RequestSource::kSite : RequestSource::kAnotherSite;
  std::string_view source = HeaderValue(request.Head, "Origin");
  if (source.empty()) source = HeaderValue(request.Head, "Referer");
  if (source.empty()) return RequestSource::kUnmarked;
  std::string_view default_port;
  for (auto [scheme, port] : {std::pair<std::string_view, std::string_view>{"http://", "80"}, {"https://", "443"}}) {
    if (source.size() > scheme.size() && StartsWithNoCase(source, scheme)) {
      source.remove_prefix(scheme.size());
      default_port = port;
    }
  }
  if (default_port.empty()) return RequestSource::kAnotherSite;  // "null", or no web address at all
  std::string_view authority = source.substr(0, source.find_first_of("/?#"));
  if (std::size_t at = authority.rfind('@'); at != std::string_view::npos) authority.remove_prefix(at + 1);
  std::string host(HeaderValue(request.Head, "Host"));
  if (host.empty()) {
    host = ServerAddress;
    if (ListenPort != 80) {
      host += ':';
      host += std::to_string(ListenPort.load());
    }
  }
  return NormalAuthority(authority, default_port) == NormalAuthority(host, "80") ? RequestSource::kSite
                                                                                  : RequestSource::kAnotherSite;
}

std::string FindServerAddress() {
  ifaddrs* raw = nullptr;
  if (getifaddrs(&raw) != 0) return "127.0.0.1";
  std::unique_ptr<ifaddrs, void (*)(ifaddrs*)> list(raw, freeifaddrs);
  std::string preferred = DefaultRouteInterface();
  const ifaddrs* chosen = nullptr;
  for (const ifaddrs* i = raw; i; i = i->ifa_next) {
    if (!i->ifa_addr || i->ifa_addr->sa_family != AF_INET || !i->ifa_netmask) continue;
    if (!(i->ifa_flags & IFF_UP) || (i->ifa_flags & IFF_LOOPBACK)) continue;
    if (!chosen || (preferred == i->ifa_name && preferred != chosen->ifa_name)) chosen = i;
  }
  if (!chosen) return "127.0.0.1";
  auto address = reinterpret_cast<const sockaddr_in*>(chosen->ifa_addr)->sin_addr;
  auto mask = reinterpret_cast<const sockaddr_in*>(chosen->ifa_netmask)->sin_addr;
  local_netmask = ntohl(mask.s_addr);
  local_network = ntohl(address.s_addr) & ntohl(mask.s_addr);
  char text[INET_ADDRSTRLEN] = "";
  inet_ntop(AF_INET, &address, text, sizeof text);
  return text;
}

bool IsLocalNetworkAddress(const std::string& dotted_ipv4) {
  std::uint32_t address = 0;
  if (!ParseIpv4(dotted_ipv4, address)) return false;
  struct Range {
    std::uint32_t network;
    std::uint32_t mask;
  };
  static constexpr Range kLocalRanges[] = {
      {0x7F000000u, 0xFF000000u},  // 127.0.0.0/8 loopback
      {0x0A000000u, 0xFF000000u},  // 10.0.0.0/8
      {0xAC100000u, 0xFFF00000u},  // 172.16.0.0/12
      {0xC0A80000u, 0xFFFF0000u},  // 192.168.0.0/16
      {0xA9FE0000u, 0xFFFF0000u},  // 169.254.0.0/16 link-local
  };
  for (const Range& range : kLocalRanges) {
    if ((address & range.mask) == range.network) return true;
  }
  std::uint32_t mask = local_netmask;
  std::uint32_t network = local_network;
  return network != 0 && (address & mask) == network;
}

}  // namespace korva
