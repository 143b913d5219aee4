#pragma once
// A small HTTP client over loopback for the tests of the in-process server.
#include <arpa/inet.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <cstdint>
#include <cstdlib>
#include <ostream>
#include <string>
#include <string_view>

namespace korva {

struct HttpResponse {
  int status = 0;    // 0 when no complete response arrived
  std::string head;  // status line and header lines
  std::string body;

  // The value of a header line, empty when absent.
  std::string Header(std::string_view name) const {
    std::string key = "\r\n" + std::string(name) + ": ";
    std::size_t at = head.find(key);
    if (at == std::string::npos) return {};
    at += key.size();
    return head.substr(at, head.find("\r\n", at) - at);
  }
};

class TestConnection {
 public:
  // from: the loopback address (such as "127.0.0.2") the connection comes
  // from, so one test can play several clients; 127.0.0.1 by default.
  explicit TestConnection(int port, const char* from = nullptr) : fd_(socket(AF_INET, SOCK_STREAM, 0)) {
    if (from) {
      sockaddr_in source{};
      source.sin_family = AF_INET;
      inet_pton(AF_INET, from, &source.sin_addr);
      if (bind(fd_, reinterpret_cast<sockaddr*>(&source), sizeof source) != 0) closed_ = true;
    }
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_port = htons(static_cast<uint16_t>(port));
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    if (!closed_ && connect(fd_, reinterpret_cast<sockaddr*>(&address), sizeof address) != 0) closed_ = true;
  }
  ~TestConnection() { close(fd_); }
  TestConnection(const TestConnection&) = delete;
  TestConnection& operator=(const TestConnection&) = delete;

  bool ok() const { return !closed_; }
  int fd() const { return fd_; }
  bool Send(std::string_view data) {
    return send(fd_, data.data(), data.size(), MSG_NOSIGNAL) == static_cast<ssize_t>(data.size());
  }

  // Reads one whole response (waits at most 10 s for each piece).
  HttpResponse Read() {
    HttpResponse response;
    std::size_t head_end;
    while ((head_end = buffer_.find("\r\n\r\n")) == std::string::npos) {
      if (!Receive(10000)) return response;
    }
    response.head = buffer_.substr(0, head_end + 2);
    std::size_t length = std::strtoul(response.Header("Content-Length").c_str(), nullptr, 10);
    while (buffer_.size() < head_end + 4 + length) {
      if (!Receive(10000)) return response;
    }
    response.body = buffer_.substr(head_end + 4, length);
    buffer_.erase(0, head_end + 4 + length);
    response.status = std::atoi(response.head.c_str() + 9);
    return response;
  }

  // Every byte until the server closes the connection (10 s at most for
  // each piece).
  std::string ReadAll() {
    while (Receive(10000)) {
    }
    std::string all;
    all.swap(buffer_);
    return all;
  }

  // True when the server has closed the connection (nothing more to read).
  bool IsClosedByServer() {
    while (Receive(5000)) {
    }
    return closed_;
  }

 private:
  bool Receive(int timeout_ms) {
    pollfd waiting{fd_, POLLIN, 0};
    if (poll(&waiting, 1, timeout_ms) <= 0) return false;
    char chunk[8192];
    ssize_t got = recv(fd_, chunk, sizeof chunk, 0);
    closed_ = got <= 0;
    if (!closed_) buffer_.append(chunk, static_cast<std::size_t>(got));
    return !closed_;
  }

  int fd_;
  std::string buffer_;
  bool closed_ = false;
};

// A session's cookie number. Its own type, since the number has 64 bits:
// kept in an int it would silently lose them.
struct SessionCookie {
  std::uint64_t number = 0;
  bool operator==(const SessionCookie&) const = default;
};
inline std::ostream& operator<<(std::ostream& out, const SessionCookie& cookie) { return out << cookie.number; }

// The session number of a reply's "Set-Cookie: session=brimly%dE".
inline SessionCookie CookieNumber(const HttpResponse& response) {
  std::string cookie = response.Header("Set-Cookie");
  std::size_t at = cookie.find("brimly");
  return {at == std::string::npos ? 0 : std::strtoull(cookie.c_str() + at + 6, nullptr, 10)};
}

// The header the site's own pages send along with their forms (the extra
// headers of RequestText).
inline constexpr const char* kOwnOrigin = "Origin: http://localhost\r\n";

// A request text carrying the session cookie and its companion, as a page of
// the site sends them (and Content-Length for a POST).
inline std::string RequestText(std::string_view method, std::string_view path, SessionCookie session = {},
                               std::string_view body = {}, std::string_view extra_headers = {}) {
  std::string text = std::string(method) + " " + std::string(path) + " HTTP/1.1\r\nHost: localhost\r\n"
                     "User-Agent: Mozilla/5.0 Chrome/120.0\r\n";
  if (session.number) {
    std::string number = std::to_string(session.number);
    text += "Cookie: session=brimly" + number + "E; site=brimly" + number + "E\r\n";
  }
  text += extra_headers;
  if (method == "POST") text += "Content-Length: " + std::to_string(body.size()) + "\r\n";
  return text + "\r\n" + std::string(body);
}

}  // namespace korva
