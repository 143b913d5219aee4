#pragma once
// Starting and stopping the web server, and the flags every connection
// thread reads.
#include <atomic>
#include <cstddef>
#include <string>

namespace korva {

// While 1 every request is answered with the service-closed page (backup,
// import, meet switch).
extern std::atomic<int> WebSuspended;
// Set at shut-down: ends the accept loop and every connection.
extern std::atomic<int> ServerStopping;
// The IPv4 address the site is reached at (dotted), and the bound port.
// Set before the listener accepts its first connection; read-only after.
extern std::string ServerAddress;
extern std::atomic<int> ListenPort;

// At program start: loads HtmlTemplateCache, opens the data folder
// (DefaultDataFolder) and the current meet, and starts the listener on port
// 80, else the first free one of 81..101, else (when all of those were
// refused for lack of permission) the first free one of 8080..8101. The
// page folders register their routes before this. 0 when listening,
// non-zero when the server could not start (a line says why).
int StartWebServer();

// The same start for tests: data_folder is opened (and created) instead of
// the default one; port_or_0 0 binds a free port of the system's choice on
// loopback. *bound_port receives the port. 0 when listening.
int StartWebServerForTest(const std::string& data_folder, int port_or_0, int* bound_port);

// Sets ServerStopping, closes the listener and every open connection, and
// returns once every connection thread has ended. Databases stay open.
void StopWebServer();

// Connections open at this moment (the console's load figure).
int ActiveConnectionCount();

// What one client, or all of them together, may hold of the server. A
// connection past a count bound gets 503 and is closed at once; a request
// whose head and body have not arrived within request_ms of its first byte
// gets 408; a request whose body would pass a byte bound gets 503. The byte
// bounds count what unfinished requests hold beyond a head's size each.
struct ServerLimits {
  int connections_per_address = 64;  // but 127.0.0.1, the server's own machine
  int connections = 4096;            // lowered to fit the open-file limit
  int idle_ms = 60 * 1000;           // waiting for the first byte of a request
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

// The "image" folder beside the program, from which images and the
// notification sound are served. Tests point it elsewhere.
void SetImageFolder(const std::string& folder);
std::string ImageFolder();

}  // namespace korva
