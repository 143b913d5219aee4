#include "web/listener.h"

#include <arpa/inet.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/epoll.h>
#include <sys/eventfd.h>
#include <sys/resource.h>
#include <sys/socket.h>
#include <time.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <condition_variable>
#include <cstring>
#include <deque>
#include <iterator>
#include <memory>
#include <mutex>
#include <set>
#include <system_error>
#include <thread>
#include <unordered_map>
#include <vector>

#include "database/data_error.h"
#include "database/store_rounds.h"
#include "web/dispatcher.h"
#include "web/request_parser.h"
#include "web/response.h"

namespace korva {

std::atomic<int> ServerStopping{0};
std::atomic<int> ListenPort{0};

namespace {

// The site's ports, in the order they are tried: the first range needs the
// right to bind ports below 1024; the second is used only when every port of
// the first was refused for that reason.
constexpr int kFirstSitePort = 80;
constexpr int kLastSitePort = 101;
constexpr int kFirstUnprivilegedPort = 8080;
constexpr int kLastUnprivilegedPort = 8101;

constexpr std::size_t kReceiveChunk = 5120;
// At most this much is received from one connection before the others get
// their turn.
constexpr std::size_t kReceivedPerTurn = 64 * 1024;
// Every file the database, the documents and the images need must still
// open while connections hold all they may: each connection takes at most
// two descriptors (its socket and a file it is sending), and these are kept
// for the rest.
constexpr int kReservedDescriptors = 128;
// The bytes of a connection's unfinished request that are not counted
// against the bounds of ServerLimits.
constexpr std::size_t kUncountedBytes = kMaxRequestHead + kReceiveChunk;
// A client that stops reading our reply is dropped after this long.
constexpr int kSendTimeoutMs = 60 * 1000;
// How often the deadlines of waiting connections are looked at.
constexpr int kDeadlineSweepMs = 100;
// A request thread with nothing to do ends after this long.
constexpr auto kIdleWorker = std::chrono::seconds(5);

// A browser or a load test on the server's own machine: nobody on the
// network can come from this address, so it is not bounded per address.
constexpr std::string_view kOwnMachine = "127.0.0.1";

long long NowMs() {
  timespec now{};
  clock_gettime(CLOCK_MONOTONIC, &now);
  return static_cast<long long>(now.tv_sec) * 1000 + now.tv_nsec / 1000000;
}

class BufferHold;

// One client connection. While its request is incomplete it belongs to the
// poller thread, which only receives (no thread waits for a slow client);
// once a request is complete it goes to a request thread, which answers it
// and any complete requests behind it, then gives the connection back.
struct Connection {
  Connection(int fd_in, std::string address_in, const ServerLimits& limits_in);
  ~Connection();
  Connection(const Connection&) = delete;
  Connection& operator=(const Connection&) = delete;

  int fd;
  std::string address;
  ServerLimits limits;
  std::unique_ptr<BufferHold> hold;
  std::string buffer;
  long long since = 0;        // when it began to wait, or its request's first byte came
  bool reading = false;       // the first byte of a request has come
  std::size_t expected = 0;   // the whole request's size, once its head is in
  HttpRequest request;        // the complete request handed to a request thread
};

using ConnectionPtr = std::unique_ptr<Connection>;

struct AddressUse {
  int connections = 0;
  std::size_t bytes = 0;  // of unfinished requests
};

struct ServerState {
  std::mutex mutex;
  std::condition_variable connection_closed;
  std::set<int> open_sockets;  // each closed only by the connection's owner
  std::unordered_map<std::string, AddressUse> by_address;
  std::size_t unfinished_bytes = 0;
  ServerLimits limits;
  int connection_limit = 0;
  int listen_fd = -1;
  int epoll_fd = -1;
  int wake_fd = -1;  // an eventfd: connections given back, or the stop
  bool poller_running = false;
  std::vector<ConnectionPtr> given_back;
  std::thread poller;
  // Request threads and the complete requests waiting for one.
  std::condition_variable work_arrived;
  std::condition_variable worker_ended;
  std::deque<ConnectionPtr> ready;
  int workers = 0;
  int idle_workers = 0;
  bool workers_stop = false;
};

ServerState& State() {
  static ServerState state;
  return state;
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

Connection::Connection(int fd_in, std::string address_in, const ServerLimits& limits_in)
    : fd(fd_in), address(std::move(address_in)), limits(limits_in), hold(std::make_unique<BufferHold>(address)),
      since(NowMs()) {}

// The connection leaves the counts (its bytes before it counts as gone), and
// its socket closes.
Connection::~Connection() {
  hold.reset();
  ServerState& state = State();
  {
    std::lock_guard<std::mutex> guard(state.mutex);
    state.open_sockets.erase(fd);
    auto use = state.by_address.find(address);
    if (use != state.by_address.end() && --use->second.connections <= 0 && use->second.bytes == 0)
      state.by_address.erase(use);
    close(fd);
  }
  state.connection_closed.notify_all();
}

// Sends all of data, waiting for room at most kSendTimeoutMs in all; false
// when the peer is gone or too slow.
bool SendAll(int fd, std::string_view data) {
  long long deadline = NowMs() + kSendTimeoutMs;
  while (!data.empty()) {
    ssize_t sent = send(fd, data.data(), data.size(), MSG_NOSIGNAL);
    if (sent >= 0) {
      data.remove_prefix(static_cast<std::size_t>(sent));
      continue;
    }
    if (errno == EINTR) continue;
    if (errno != EAGAIN && errno != EWOULDBLOCK) return false;
    long long left = deadline - NowMs();
    if (left <= 0 || ServerStopping) return false;
    pollfd room{fd, POLLOUT, 0};
    poll(&room, 1, static_cast<int>(std::min<long long>(left, 1000)));
  }
  return true;
}

// A short answer that needs no waiting: the socket's buffer takes it whole.
void SendStatusNow(int fd, int status) {
  std::string reply;
  AppendStatusReply(status, reply);
  send(fd, reply.data(), reply.size(), MSG_NOSIGNAL | MSG_DONTWAIT);
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

enum class Progress { kNeedMore, kComplete, kClose };

// Looks at what the connection has received: a complete request moves to
// connection.request; an unacceptable one is answered and the connection is
// to close; otherwise room is held for what is still to come (the whole
// request once its head is known, else one more receive).
Progress Advance(Connection& connection) {
  if (connection.expected != 0 && connection.buffer.size() < connection.expected) return Progress::kNeedMore;
  std::size_t size = 0;
  int status = 0;
  HttpRequest request;
  switch (ParseHttpRequest(connection.buffer, request, size, status)) {
    case ParseResult::kBad:
      SendStatusNow(connection.fd, status);
      return Progress::kClose;
    case ParseResult::kComplete:
      connection.buffer.erase(0, size);
      // a large body's room goes back
      if (connection.buffer.capacity() > 4 * kReceiveChunk) connection.buffer.shrink_to_fit();
      connection.hold->Resize(connection.buffer.size());
      connection.expected = 0;
      connection.request = std::move(request);
      return Progress::kComplete;
    case ParseResult::kIncomplete:
      break;
  }
  if (!connection.hold->Resize(size ? size : connection.buffer.size() + kReceiveChunk)) {
    SendStatusNow(connection.fd, 503);
    return Progress::kClose;
  }
  connection.expected = size;
  if (size) connection.buffer.reserve(size);  // reserved at once, so it never grows past it
  return Progress::kNeedMore;
}

// When a waiting connection is cut: the first byte of a request within
// idle_ms; its head within head_ms of that byte, and the whole request
// within request_ms, however the bytes trickle in.
long long Deadline(const Connection& connection) {
  const ServerLimits& limits = connection.limits;
  if (!connection.reading) return connection.since + limits.idle_ms;
  if (connection.expected == 0) return connection.since + std::min(limits.head_ms, limits.request_ms);
  return connection.since + limits.request_ms;
}

// The connection waits for its next request (after one was answered).
void StartWaiting(Connection& connection) {
  connection.reading = StartsARequest(connection.buffer);
  connection.since = NowMs();
}

void GiveBackToPoller(ConnectionPtr connection);

// Answers the connection's complete request, and those complete behind it;
// then the connection goes back to the poller, or closes.
void ServeRequests(ConnectionPtr connection) {
  std::string reply;
  for (;;) {
    HttpRequest& request = connection->request;
    bool head_only = request.Method == "HEAD";
    if (head_only) request.Method = "GET";
    request.ClientAddress = connection->address;
    reply.clear();
    HandleHttpRequest(request, reply);
    if (head_only) CutBody(reply);
    if (!SendAll(connection->fd, reply) || !request.KeepAlive || ServerStopping) return;
    StartWaiting(*connection);
    Progress next = Advance(*connection);
    if (next == Progress::kClose) return;
    if (next == Progress::kNeedMore) break;
  }
  GiveBackToPoller(std::move(connection));
}

void WorkerLoop() {
  ServerState& state = State();
  std::unique_lock<std::mutex> hold(state.mutex);
  for (;;) {
    ++state.idle_workers;
    state.work_arrived.wait_for(hold, kIdleWorker, [&] { return !state.ready.empty() || state.workers_stop; });
    --state.idle_workers;
    if (state.ready.empty()) break;  // idle too long, or stopping with nothing left
    ConnectionPtr connection = std::move(state.ready.front());
    state.ready.pop_front();
    hold.unlock();
    ServeRequests(std::move(connection));
    hold.lock();
  }
  --state.workers;
  state.worker_ended.notify_all();
}

// Hands a connection with a complete request to a request thread, starting
// one when none is free.
void HandToWorker(ConnectionPtr connection) {
  ServerState& state = State();
  std::unique_lock<std::mutex> hold(state.mutex);
  state.ready.push_back(std::move(connection));
  if (state.idle_workers >= static_cast<int>(state.ready.size())) {
    state.work_arrived.notify_one();
    return;
  }
  try {
    std::thread(WorkerLoop).detach();
    ++state.workers;
  } catch (const std::exception& e) {
    LogServerMessage(std::string("cannot start a request thread: ") + e.what());
    if (state.workers == 0) {
      ConnectionPtr refused = std::move(state.ready.back());
      state.ready.pop_back();
      hold.unlock();
      SendStatusNow(refused->fd, 503);
    }
  }
}

void GiveBackToPoller(ConnectionPtr connection) {
  ServerState& state = State();
  std::unique_lock<std::mutex> hold(state.mutex);
  if (!state.poller_running) {
    hold.unlock();
    return;  // stopping: the connection closes here
  }
  state.given_back.push_back(std::move(connection));
  std::uint64_t one = 1;
  if (write(state.wake_fd, &one, sizeof one) < 0) {
  }  // a wake-up already pending is as good
}

// A connection past a bound: a short 503 without waiting for the client, and
// closed. What the client sent already is read away first, so the close does
// not turn into a reset that discards the answer.
void Refuse(int fd) {
  SendStatusNow(fd, 503);
  shutdown(fd, SHUT_WR);
  char sink[1024];
  for (int i = 0; i < 16 && recv(fd, sink, sizeof sink, MSG_DONTWAIT) > 0; ++i) {
  }
  close(fd);
}

// The poller thread: accepts connections, receives what they send while
// their requests are incomplete, and cuts those past their deadlines.
class Poller {
 public:
  Poller(int listen_fd, int epoll_fd, int wake_fd) : listen_fd_(listen_fd), epoll_fd_(epoll_fd), wake_fd_(wake_fd) {}

  void Run() {
    Watch(listen_fd_);
    Watch(wake_fd_);
    epoll_event events[256];
    long long next_sweep = NowMs() + kDeadlineSweepMs;
    while (!ServerStopping) {
      int count = epoll_wait(epoll_fd_, events, 256, kDeadlineSweepMs);
      for (int i = 0; i < count; ++i) {
        int fd = events[i].data.fd;
        if (fd == listen_fd_) {
          Accept();
        } else if (fd == wake_fd_) {
          TakeBack();
        } else if (auto found = waiting_.find(fd); found != waiting_.end()) {
          Receive(found);
        }
      }
      if (NowMs() >= next_sweep) {
        CutLateConnections();
        next_sweep = NowMs() + kDeadlineSweepMs;
      }
    }
    waiting_.clear();
    std::vector<ConnectionPtr> back;  // closed as it goes
    std::lock_guard<std::mutex> hold(State().mutex);
    State().poller_running = false;
    back.swap(State().given_back);
  }

 private:
  using Waiting = std::unordered_map<int, ConnectionPtr>;

  void Watch(int fd) {
    epoll_event event{};
    event.events = EPOLLIN;
    event.data.fd = fd;
    epoll_ctl(epoll_fd_, EPOLL_CTL_ADD, fd, &event);
  }

  void Wait(ConnectionPtr connection) {
    int fd = connection->fd;
    waiting_.emplace(fd, std::move(connection));
    Watch(fd);
  }

  Waiting::iterator Close(Waiting::iterator at) {
    epoll_ctl(epoll_fd_, EPOLL_CTL_DEL, at->first, nullptr);
    return waiting_.erase(at);
  }

  void Accept() {
    for (int i = 0; i < 64; ++i) {
      sockaddr_in peer{};
      socklen_t length = sizeof peer;
      int fd = accept4(listen_fd_, reinterpret_cast<sockaddr*>(&peer), &length, SOCK_CLOEXEC | SOCK_NONBLOCK);
      if (fd < 0) {
        if (errno == EMFILE || errno == ENFILE || errno == ENOBUFS || errno == ENOMEM)
          poll(nullptr, 0, 50);  // let descriptors free up
        return;
      }
      Start(fd, peer);
    }
  }

  void Start(int fd, const sockaddr_in& peer) {
    char text[INET_ADDRSTRLEN] = "";
    inet_ntop(AF_INET, &peer.sin_addr, text, sizeof text);
    std::string address = text;
    ServerState& state = State();
    ServerLimits limits;
    bool refused = false;
    {
      std::lock_guard<std::mutex> hold(state.mutex);
      AddressUse& use = state.by_address[address];
      refused = static_cast<int>(state.open_sockets.size()) >= state.connection_limit ||
                (use.connections >= state.limits.connections_per_address && address != kOwnMachine);
      if (refused) {
        if (use.connections == 0 && use.bytes == 0) state.by_address.erase(address);
      } else {
        ++use.connections;
        state.open_sockets.insert(fd);
        limits = state.limits;
      }
    }
    if (refused) {
      Refuse(fd);
      return;
    }
    Wait(std::make_unique<Connection>(fd, std::move(address), limits));
  }

  void TakeBack() {
    std::uint64_t count = 0;
    if (read(wake_fd_, &count, sizeof count) < 0) {
    }  // nothing pending
    std::vector<ConnectionPtr> back;
    {
      std::lock_guard<std::mutex> hold(State().mutex);
      back.swap(State().given_back);
    }
    for (ConnectionPtr& connection : back) Wait(std::move(connection));
  }

  // Receives one turn's worth; each receive is looked at before the next,
  // so no more is taken than the request's bounds allow room for.
  void Receive(Waiting::iterator at) {
    Connection& connection = *at->second;
    char chunk[kReceiveChunk];
    for (std::size_t taken = 0; taken < kReceivedPerTurn;) {
      ssize_t got = recv(connection.fd, chunk, sizeof chunk, 0);
      if (got < 0 && errno == EINTR) continue;
      if (got < 0 && (errno == EAGAIN || errno == EWOULDBLOCK)) return;
      if (got <= 0) {
        Close(at);
        return;
      }
      connection.buffer.append(chunk, static_cast<std::size_t>(got));
      taken += static_cast<std::size_t>(got);
      if (!connection.reading && StartsARequest(connection.buffer)) {
        connection.reading = true;
        connection.since = NowMs();
      }
      Progress progress = Advance(connection);
      if (progress == Progress::kClose) {
        Close(at);
        return;
      }
      if (progress == Progress::kComplete) {
        ConnectionPtr ready = std::move(at->second);
        Close(at);  // no longer watched here; the connection lives on
        HandToWorker(std::move(ready));
        return;
      }
    }
  }

  void CutLateConnections() {
    long long now = NowMs();
    for (auto at = waiting_.begin(); at != waiting_.end();) {
      if (now < Deadline(*at->second)) {
        ++at;
        continue;
      }
      if (at->second->reading) SendStatusNow(at->first, 408);
      at = Close(at);
    }
  }

  int listen_fd_;
  int epoll_fd_;
  int wake_fd_;
  Waiting waiting_;
};

// The connection bound that leaves kReservedDescriptors free under the
// process's open-file limit.
int FittingConnectionLimit(int wanted) {
  rlimit files{};
  if (getrlimit(RLIMIT_NOFILE, &files) != 0 || files.rlim_cur == RLIM_INFINITY) return wanted;
  long long room = (static_cast<long long>(files.rlim_cur) - kReservedDescriptors) / 2;
  return static_cast<int>(std::max(1LL, std::min<long long>(wanted, room)));
}

// The common default of 1,024 open files would bound the site to a few
// hundred connections; the hard limit is what the system allows.
void RaiseOpenFileLimit() {
  rlimit files{};
  if (getrlimit(RLIMIT_NOFILE, &files) != 0 || files.rlim_cur >= files.rlim_max) return;
  files.rlim_cur = files.rlim_max;
  setrlimit(RLIMIT_NOFILE, &files);
}

// A listening socket on port (0: any free port); -1 with error set.
int Listen(int port, bool loopback_only, int& error) {
  int fd = socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC | SOCK_NONBLOCK, 0);
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
  for (int port = kFirstSitePort; port <= kLastSitePort; ++port) {
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
  for (int port = kFirstUnprivilegedPort; port <= kLastUnprivilegedPort; ++port) {
    if (BrowsersRefusePort(port)) continue;
    int fd = Listen(port, false, error);
    if (fd >= 0) return fd;
  }
  LogServerMessage("端口8080到8101都已被占用，网页服务无法启动！");
  return -1;
}

int ListenOnLoopback(int port) {
  int error = 0;
  return Listen(port, true, error);
}

int StartListening(int fd) {
  ServerState& state = State();
  ServerStopping = 0;
  ListenPort = BoundPort(fd);
  RaiseOpenFileLimit();
  int epoll_fd = epoll_create1(EPOLL_CLOEXEC);
  int wake_fd = eventfd(0, EFD_CLOEXEC | EFD_NONBLOCK);
  {
    std::lock_guard<std::mutex> hold(state.mutex);
    state.connection_limit = FittingConnectionLimit(state.limits.connections);
    state.listen_fd = fd;
    state.epoll_fd = epoll_fd;
    state.wake_fd = wake_fd;
    state.poller_running = true;
    state.workers_stop = false;
  }
  try {
    if (epoll_fd < 0 || wake_fd < 0) throw std::system_error(errno, std::generic_category(), "epoll");
    StartCountWriter();
    state.poller = std::thread([fd, epoll_fd, wake_fd] { Poller(fd, epoll_fd, wake_fd).Run(); });
  } catch (const std::exception& e) {
    LogServerMessage(std::string("cannot start the listener thread: ") + e.what());
    for (int open : {fd, epoll_fd, wake_fd}) {
      if (open >= 0) close(open);
    }
    std::lock_guard<std::mutex> hold(state.mutex);
    state.listen_fd = state.epoll_fd = state.wake_fd = -1;
    state.poller_running = false;
    return 5;
  }
  return 0;
}

void StopWebServer() {
  ServerState& state = State();
  ServerStopping = 1;
  if (state.wake_fd >= 0) {
    std::uint64_t one = 1;
    if (write(state.wake_fd, &one, sizeof one) < 0) {
    }  // the poller still sees the flag within a sweep
  }
  if (state.poller.joinable()) state.poller.join();
  std::unique_lock<std::mutex> hold(state.mutex);
  // Wakes every request thread out of a send to a slow client; each closes
  // its own connection.
  for (int fd : state.open_sockets) shutdown(fd, SHUT_RDWR);
  state.connection_closed.wait(hold, [&] { return state.open_sockets.empty(); });
  state.workers_stop = true;
  state.work_arrived.notify_all();
  state.worker_ended.wait(hold, [&] { return state.workers == 0; });
  for (int* open : {&state.listen_fd, &state.epoll_fd, &state.wake_fd}) {
    if (*open >= 0) close(*open);
    *open = -1;
  }
  hold.unlock();
  StopCountWriter();
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
