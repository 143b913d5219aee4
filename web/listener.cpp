#include "web/listener.h"

#include <arpa/inet.h>
#include <netinet/in.h>
#include <poll.h>
#include <time.h>
#include <sys/resource.h>
#include <sys/socket.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <condition_variable>
#include <cstring>
#include <iterator>
#include <mutex>
#include <set>
#include <thread>
#include <unordered_map>

#include "database/data_error.h"
#include "web/dispatcher.h"
#include "web/request_parser.h"
#include "web/response.h"

namespace korva {

std::atomic<int> ServerStopping{0};
std::atomic<int> ListenPort{0};

namespace {

constexpr std::size_t kReceiveChunk = 5120;
// Every file the database, the documents and the images need must still
// open while connections hold all they may: each connection takes at most
// two descriptors (its socket and a file it is sending), and these are kept
// for the rest.
constexpr int kReservedDescriptors = 128;
// The bytes of a connection's unfinished request that are not counted
// against the bounds of ServerLimits.
constexpr std::size_t kUncountedBytes = kMaxRequestHead + kReceiveChunk;
// A client that stops reading our reply is dropped after this long.
constexpr int kSendTimeoutSeconds = 60;

// A browser or a load test on the server's own machine: nobody on the
// network can come from this address, so it is not bounded per address.
constexpr std::string_view kOwnMachine = "127.0.0.1";

struct AddressUse {
  int connections = 0;
  std::size_t bytes = 0;  // of unfinished requests
};

struct ServerState {
  std::mutex mutex;
  std::condition_variable connection_closed;
  std::set<int> open_sockets;  // each closed only by its own thread
  std::unordered_map<std::string, AddressUse> by_address;
  std::size_t unfinished_bytes = 0;
  ServerLimits limits;
  int connection_limit = 0;
  int listen_fd = -1;
  std::thread listener;
};

ServerState& State() {
  static ServerState state;
  return state;
}

long long NowMs() {
  timespec now{};
  clock_gettime(CLOCK_MONOTONIC, &now);
  return static_cast<long long>(now.tv_sec) * 1000 + now.tv_nsec / 1000000;
}

// Sends all of data; false when the peer is gone.
bool SendAll(int fd, std::string_view data) {
  while (!data.empty()) {
    ssize_t sent = send(fd, data.data(), data.size(), MSG_NOSIGNAL);
    if (sent < 0) {
      if (errno == EINTR) continue;
      return false;
    }
    data.remove_prefix(static_cast<std::size_t>(sent));
  }
  return true;
}

// The share of the unfinished-request bytes that one connection holds; given
// back when it ends.
class BufferHold {
 public:
  explicit BufferHold(const std::string& address) : address_(address) {}
  ~BufferHold() { Resize(0); }
  BufferHold(const BufferHold&) = delete;
  BufferHold& operator=(const BufferHold&) = delete;

  // Holds bytes from now on; false (and the hold as it was) when that would
  // pass the server's or the address's bound. What fits a head and one
  // receive is not counted: the connection bound keeps that in bounds, and
  // so bodies that never end can't keep small requests out.
  bool Resize(std::size_t bytes) {
    bytes = bytes > kUncountedBytes ? bytes - kUncountedBytes : 0;
    if (bytes == held_) return true;
    ServerState& state = State();
    std::lock_guard<std::mutex> hold(state.mutex);
    AddressUse& use = state.by_address[address_];
    if (bytes > held_) {
      std::size_t more = bytes - held_;
      if (state.unfinished_bytes + more > state.limits.unfinished_bytes ||
          use.bytes + more > state.limits.unfinished_bytes_per_address)
        return false;
      state.unfinished_bytes += more;
      use.bytes += more;
    } else {
      state.unfinished_bytes -= held_ - bytes;
      use.bytes -= held_ - bytes;
    }
    held_ = bytes;
    return true;
  }

 private:
  std::string address_;
  std::size_t held_ = 0;
};

void SendStatus(int fd, int status) {
  std::string reply;
  AppendStatusReply(status, reply);
  SendAll(fd, reply);
}

// A HEAD request is answered as its GET, without the body.
void CutBody(std::string& reply) {
  std::size_t head_end = reply.find("\r\n\r\n");
  if (head_end != std::string::npos) reply.resize(head_end + 4);
}

// True once buffer holds more than the blank lines a client may send
// between requests: the next request has begun.
bool StartsARequest(const std::string& buffer) {
  return buffer.find_first_not_of("\r\n") != std::string::npos;
}

// Reads and answers requests until the client closes, asks to close, sends
// something unacceptable, is too slow, or the server stops. The time a
// request may take runs from its first byte to its last, however the bytes
// trickle in.
void ServeConnection(int fd, std::string client_address) {
  ServerLimits limits;
  {
    std::lock_guard<std::mutex> guard(State().mutex);
    limits = State().limits;
  }
  BufferHold hold(client_address);
  std::string buffer;
  std::string reply;
  char chunk[kReceiveChunk];
  bool reading = false;  // the first byte of a request has come
  long long since = NowMs();
  while (!ServerStopping) {
    HttpRequest request;
    std::size_t size = 0;
    int status = 0;
    ParseResult parsed = ParseHttpRequest(buffer, request, size, status);
    if (parsed == ParseResult::kBad) {
      SendStatus(fd, status);
      break;
    }
    if (parsed == ParseResult::kComplete) {
      buffer.erase(0, size);
      if (buffer.capacity() > 4 * kReceiveChunk) buffer.shrink_to_fit();  // a large body's room goes back
      hold.Resize(buffer.size());
      bool head_only = request.Method == "HEAD";
      if (head_only) request.Method = "GET";
      request.ClientAddress = client_address;
      reply.clear();
      HandleHttpRequest(request, reply);
      if (head_only) CutBody(reply);
      if (!SendAll(fd, reply) || !request.KeepAlive) break;
      reading = StartsARequest(buffer);
      since = NowMs();
      continue;
    }
    // Room for what is still to come: the whole request once its head is
    // known (reserved at once, so the buffer never grows past it), else one
    // more receive.
    if (!hold.Resize(size ? size : buffer.size() + kReceiveChunk)) {
      SendStatus(fd, 503);
      break;
    }
    if (size) buffer.reserve(size);
    long long left = since + (reading ? limits.request_ms : limits.idle_ms) - NowMs();
    if (left <= 0) {
      if (reading) SendStatus(fd, 408);
      break;
    }
    pollfd waiting{fd, POLLIN, 0};
    int ready = poll(&waiting, 1, static_cast<int>(std::min<long long>(left, 1000)));
    if (ready <= 0) continue;  // timeout or EINTR: look at the clock and the stop flag again
    ssize_t got = recv(fd, chunk, sizeof chunk, 0);
    if (got < 0 && (errno == EINTR || errno == EAGAIN)) continue;
    if (got <= 0) break;
    buffer.append(chunk, static_cast<std::size_t>(got));
    if (!reading && StartsARequest(buffer)) {
      reading = true;
      since = NowMs();
    }
  }
  hold.Resize(0);  // before the connection counts as gone
  ServerState& state = State();
  {
    std::lock_guard<std::mutex> guard(state.mutex);
    state.open_sockets.erase(fd);
    auto use = state.by_address.find(client_address);
    if (use != state.by_address.end() && --use->second.connections <= 0 && use->second.bytes == 0)
      state.by_address.erase(use);
    close(fd);
  }
  state.connection_closed.notify_all();
}

// A connection past a bound: a short 503 without waiting for the client, and
// closed. What the client sent already is read away first, so the close does
// not turn into a reset that discards the answer.
void Refuse(int fd) {
  std::string reply;
  AppendStatusReply(503, reply);
  send(fd, reply.data(), reply.size(), MSG_NOSIGNAL | MSG_DONTWAIT);
  shutdown(fd, SHUT_WR);
  char sink[1024];
  for (int i = 0; i < 16 && recv(fd, sink, sizeof sink, MSG_DONTWAIT) > 0; ++i) {
  }
  close(fd);
}

void StartConnection(int fd, const sockaddr_in& peer) {
  char text[INET_ADDRSTRLEN] = "";
  inet_ntop(AF_INET, &peer.sin_addr, text, sizeof text);
  std::string address = text;
  ServerState& state = State();
  bool refused = false;
  {
    std::lock_guard<std::mutex> hold(state.mutex);
    AddressUse& use = state.by_address[address];
    refused = static_cast<int>(state.open_sockets.size()) >= state.connection_limit ||
              (use.connections >= state.limits.connections_per_address && address != kOwnMachine);
    if (!refused) {
      ++use.connections;
      state.open_sockets.insert(fd);
    } else if (use.connections == 0 && use.bytes == 0) {
      state.by_address.erase(address);
    }
  }
  if (refused) {
    Refuse(fd);
    return;
  }
  timeval timeout{kSendTimeoutSeconds, 0};
  setsockopt(fd, SOL_SOCKET, SO_SNDTIMEO, &timeout, sizeof timeout);
  try {
    std::thread(ServeConnection, fd, address).detach();
  } catch (const std::exception& e) {
    LogServerMessage(std::string("cannot start a connection thread: ") + e.what());
    std::lock_guard<std::mutex> hold(state.mutex);
    state.open_sockets.erase(fd);
    if (--state.by_address[address].connections <= 0 && state.by_address[address].bytes == 0)
      state.by_address.erase(address);
    close(fd);
  }
}

void AcceptLoop(int listen_fd) {
  while (!ServerStopping) {
    pollfd waiting{listen_fd, POLLIN, 0};
    int ready = poll(&waiting, 1, 200);
    if (ready <= 0) continue;  // timeout or EINTR: look at the stop flag again
    sockaddr_in peer{};
    socklen_t length = sizeof peer;
    int fd = accept4(listen_fd, reinterpret_cast<sockaddr*>(&peer), &length, SOCK_CLOEXEC);
    if (fd < 0) {
      if (errno == EMFILE || errno == ENFILE || errno == ENOBUFS || errno == ENOMEM)
        poll(nullptr, 0, 50);  // let descriptors free up
      continue;
    }
    StartConnection(fd, peer);
  }
}

// The connection bound that leaves kReservedDescriptors free under the
// process's open-file limit.
int FittingConnectionLimit(int wanted) {
  rlimit files{};
  if (getrlimit(RLIMIT_NOFILE, &files) != 0 || files.rlim_cur == RLIM_INFINITY) return wanted;
  long long room = (static_cast<long long>(files.rlim_cur) - kReservedDescriptors) / 2;
  return static_cast<int>(std::max(1LL, std::min<long long>(wanted, room)));
}

// A listening socket on port (0: any free port); -1 with error set.
int Listen(int port, bool loopback_only, int& error) {
  int fd = socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
  if (fd < 0) {
    error = errno;
    return -1;
  }
  int on = 1;
  setsockopt(fd, SOL_SOCKET, SO_REUSEADDR, &on, sizeof on);
  sockaddr_in address{};
  address.sin_family = AF_INET;
  address.sin_port = htons(static_cast<std::uint16_t>(port));
  address.sin_addr.s_addr = htonl(loopback_only ? INADDR_LOOPBACK : INADDR_ANY);
  if (bind(fd, reinterpret_cast<sockaddr*>(&address), sizeof address) != 0 || listen(fd, SOMAXCONN) != 0) {
    error = errno;
    close(fd);
    return -1;
  }
  return fd;
}

int BoundPort(int fd) {
  sockaddr_in address{};
  socklen_t length = sizeof address;
  if (getsockname(fd, reinterpret_cast<sockaddr*>(&address), &length) != 0) return 0;
  return ntohs(address.sin_port);
}

}  // namespace

bool BrowsersRefusePort(int port) {
  static constexpr int kBadPorts[] = {
      0,    1,    7,    9,    11,   13,   15,   17,   19,   20,   21,   22,   23,   25,   37,   42,   43,
      53,   69,   77,   79,   87,   95,   101,  102,  103,  104,  109,  110,  111,  113,  115,  117,
      119,  123,  135,  137,  139,  143,  161,  179,  389,  427,  465,  512,  513,  514,  515,  526,
      530,  531,  532,  540,  548,  554,  556,  563,  587,  601,  636,  989,  990,  993,  995,  1719,
      1720, 1723, 2049, 3659, 4045, 4190, 5060, 5061, 6000, 6566, 6665, 6666, 6667, 6668, 6669, 6679,
      6697, 10080};
  return std::binary_search(std::begin(kBadPorts), std::end(kBadPorts), port);
}

int ListenOnSitePort() {
  bool all_refused = true;
  int error = 0;
  for (int port = 80; port <= 101; ++port) {
    if (BrowsersRefusePort(port)) continue;
    int fd = Listen(port, false, error);
    if (fd >= 0) return fd;
    if (error != EACCES) all_refused = false;
  }
  if (!all_refused) {
    LogServerMessage("端口80到101都已被占用，网页服务无法启动！");
    return -1;
  }
  LogServerMessage(
      "没有权限使用端口80到101：请以root运行，或执行 setcap cap_net_bind_service=+ep 程序路径；"
      "现在改用端口8080到8101。");
  for (int port = 8080; port <= 8101; ++port) {
    if (BrowsersRefusePort(port)) continue;
    int fd = Listen(port, false, error);
    if (fd >= 0) return fd;
  }
  LogServerMessage("端口8080到8101都已被占用，网页服务无法启动！");
  return -1;
}

int StartListening(int fd) {
  ServerState& state = State();
  ServerStopping = 0;
  ListenPort = BoundPort(fd);
  {
    std::lock_guard<std::mutex> hold(state.mutex);
    state.connection_limit = FittingConnectionLimit(state.limits.connections);
  }
  state.listen_fd = fd;
  try {
    state.listener = std::thread(AcceptLoop, fd);
  } catch (const std::exception& e) {
    LogServerMessage(std::string("cannot start the listener thread: ") + e.what());
    close(fd);
    state.listen_fd = -1;
    return 5;
  }
  return 0;
}

int ListenOnLoopback(int port) {
  int error = 0;
  return Listen(port, true, error);
}

void StopWebServer() {
  ServerState& state = State();
  ServerStopping = 1;
  // Wakes the accept loop at once rather than at its next poll timeout.
  if (state.listen_fd >= 0) shutdown(state.listen_fd, SHUT_RDWR);
  if (state.listener.joinable()) state.listener.join();
  std::unique_lock<std::mutex> hold(state.mutex);
  if (state.listen_fd >= 0) {
    close(state.listen_fd);
    state.listen_fd = -1;
  }
  // Wakes every connection thread out of its receive; each closes its own
  // socket and leaves the set.
  for (int fd : state.open_sockets) shutdown(fd, SHUT_RDWR);
  state.connection_closed.wait(hold, [&] { return state.open_sockets.empty(); });
}

void SetServerLimits(const ServerLimits& limits) {
  std::lock_guard<std::mutex> hold(State().mutex);
  State().limits = limits;
  State().connection_limit = FittingConnectionLimit(limits.connections);
}

int ConnectionLimit() {
  std::lock_guard<std::mutex> hold(State().mutex);
  return State().connection_limit;
}

std::size_t UnfinishedRequestBytes() {
  std::lock_guard<std::mutex> hold(State().mutex);
  return State().unfinished_bytes;
}

int ActiveConnectionCount() {
  std::lock_guard<std::mutex> hold(State().mutex);
  return static_cast<int>(State().open_sockets.size());
}

}  // namespace korva
