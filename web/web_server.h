#pragma once
// Starting and stopping the web server, and the flags every connection
// thread reads.
#include <atomic>
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

// The "image" folder beside the program, from which images and the
// notification sound are served. Tests point it elsewhere.
void SetImageFolder(const std::string& folder);
std::string ImageFolder();

}  // namespace korva
