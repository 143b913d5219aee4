#pragma once
// Serving: the listening socket and the site's ports, the connections and
// the bounds on what clients may hold of the server. Start-up (data, the
// console lines) is in web_server.h.
#include <atomic>
#include <cstddef>

namespace korva {

// Set at shut-down: ends the accept loop and every connection.
extern std::atomic<int> ServerStopping;
// The bound port. Set before the listener accepts its first connection.
extern std::atomic<int> ListenPort;

// A listening socket on port 80, else the first free one of 81..101, else
// (when all of those were refused for lack of permission) the first free one
// of 8080..8101; -1 when there is none (a line says why). Ports that
// browsers refuse are passed over.
int ListenOnSitePort();
// True for a port that browsers refuse to open a page on (the Fetch
// standard's bad ports, such as 87 and 95): a site there fails with
// ERR_UNSAFE_PORT.
bool BrowsersRefusePort(int port);
// A listening socket on loopback; port 0 takes a free port of the system's
// choice. -1 when it cannot be bound.
int ListenOnLoopback(int port);
// Starts accepting connections on fd (from the two above) and sets
// ListenPort; raises the open-file limit to what the system allows. 0 when
// accepting; otherwise fd is closed.
int StartListening(int fd);

// Sets ServerStopping, closes the listener and every open connection, and
// returns once every request thread has ended. Databases stay open.
void StopWebServer();

// Connections open at this moment (the console's load figure).
int ActiveConnectionCount();

// What one client, or all of them together, may hold of the server. A
// connection past a count bound gets 503 and is closed at once; a request
// whose head has not arrived within head_ms of its first byte, or whose
// head and body have not within request_ms, gets 408; a request whose body
// would pass a byte bound gets 503. The byte bounds count what unfinished
// requests hold beyond a head's size each. A connection waiting for its
// request holds no thread, only its socket and what it sent: the bound per
// address times a school network's 254 addresses leaves half the
// connections for others.
struct ServerLimits {
  int connections_per_address = 16;  // but 127.0.0.1, the server's own machine
  int connections = 8192;            // lowered to fit the open-file limit
  int idle_ms = 60 * 1000;           // waiting for the first byte of a request
  int head_ms = 10 * 1000;           // the head, from its first byte
  int request_ms = 30 * 1000;        // the whole head and body
  std::size_t unfinished_bytes = 64u << 20;
  std::size_t unfinished_bytes_per_address = 8u << 20;
};
// Tests shrink them; connections already open keep the limits they started
// with.
void SetServerLimits(const ServerLimits& limits);
// The connection bound in force: limits.connections, or fewer when the
// open-file limit (as it was at start or at SetServerLimits) leaves room for
// fewer.
int ConnectionLimit();
// Bytes of unfinished requests held by every connection together, as the
// byte bounds count them.
std::size_t UnfinishedRequestBytes();

}  // namespace korva
