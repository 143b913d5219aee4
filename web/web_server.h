#pragma once
// Starting the web server: the templates, the data folder and the current
// meet, the site's address, then the listener (web/listener.h, which also
// stops it).
#include <atomic>
#include <string>

#include "web/listener.h"

namespace korva {

// While 1 every request is answered with the service-closed page (backup,
// import, meet switch).
extern std::atomic<int> WebSuspended;
// The IPv4 address the site is reached at (dotted). Set before the listener
// accepts its first connection; read-only after.
extern std::string ServerAddress;

// At program start: loads HtmlTemplateCache, opens the data folder
// (DefaultDataFolder) and the current meet (printing the built-in
// administrator's password when the base file is new), and listens on the
// site's port (ListenOnSitePort). The page folders register their routes
// before this. 0 when listening, non-zero when the server could not start
// (a line says why).
int StartWebServer();

// The same start for tests: data_folder is opened (and created) instead of
// the default one; port_or_0 0 binds a free port of the system's choice on
// loopback. *bound_port receives the port. 0 when listening.
int StartWebServerForTest(const std::string& data_folder, int port_or_0, int* bound_port);

// The "image" folder beside the program, from which images and the
// notification sound are served. Tests point it elsewhere.
void SetImageFolder(const std::string& folder);
std::string ImageFolder();

}  // namespace korva
