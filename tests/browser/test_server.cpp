// The real server for the browser tests: a fresh data folder, every page
// registered, the in-process server on a free loopback port. It prints
// "port=<n>", "password=<administrator's password>", "data=<data folder>"
// and "changing=<method> <path> <roles>,..." (every installed row that
// changes something: GET, POST or ANY, and its role bits), then "ready", and
// runs until its standard input closes or it gets SIGTERM or SIGINT; then it
// stops and removes the data folder. The line "restart" on its input
// restarts it (see WatchStandardInput).
//
// Usage: korva_test_server [--meet <file.sql>]... | --data <folder>
//   --meet  creates and opens a meet first (the default catalogue copied in),
//           then runs the file's SQL (UTF-8) on it; several files run in
//           the order given.
//   --data  serves an existing data folder and its current meet instead, and
//           leaves it in place (restarts after a crash).
#include <signal.h>
#include <unistd.h>

#include <cstdio>
#include <cstring>
#include <exception>
#include <fstream>
#include <iostream>
#include <iterator>
#include <memory>
#include <string>
#include <thread>

#include "database/data_lock.h"
#include "database/gbk_text.h"
#include "database/open_meet.h"
#include "host/host.h"
#include "host/routes.h"
#include "pages/setup/meet_template.h"
#include "tests/testing/meet_fixture.h"
#include "web/login_list.h"
#include "web/route_table.h"
#include "web/web_server.h"

namespace korva {

namespace {

// Reads standard input. A line "restart" stops the server and starts it
// again on the same port and data folder as a new run of the program would
// (every session ends, the meet is loaded again from its file), then
// prints "ready" again. The end of the input turns into a SIGTERM, so the
// server also stops when the test runner that started it goes away.
void WatchStandardInput(std::string data_folder, int port) {
  std::string line;
  while (std::getline(std::cin, line)) {
    if (line != "restart") continue;
    StopWebServer();
    FreeLoginList();
    {
      DataGuard hold(DataLock);
      if (OpenCurrentMeet(0) > 1) std::fprintf(stderr, "the meet did not open again\n");
    }
    if (StartWebServerForTest(data_folder, port, &port) != 0) {
      std::fprintf(stderr, "the server did not start again\n");
      break;
    }
    std::printf("ready\n");
    std::fflush(stdout);
  }
  kill(getpid(), SIGTERM);
}

int Run(int argc, char** argv) {
  std::string meet_sql;
  std::string data_folder;
  for (int i = 1; i < argc; ++i) {
    if (std::strcmp(argv[i], "--data") == 0 && i + 1 < argc) {
      data_folder = argv[++i];
      continue;
    }
    if (std::strcmp(argv[i], "--meet") == 0 && i + 1 < argc) {
      std::ifstream in(argv[++i], std::ios::binary);
      if (!in) {
        std::fprintf(stderr, "cannot read %s\n", argv[i]);
        return 2;
      }
      meet_sql.append(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()) += "\n";
    } else {
      std::fprintf(stderr, "usage: %s [--meet <file.sql>]... | --data <folder>\n", argv[0]);
      return 2;
    }
  }

  // The signals are taken by sigwait below, never by a server thread.
  sigset_t stop_signals;
  sigemptyset(&stop_signals);
  sigaddset(&stop_signals, SIGTERM);
  sigaddset(&stop_signals, SIGINT);
  pthread_sigmask(SIG_BLOCK, &stop_signals, nullptr);

  std::unique_ptr<MeetFixture> data;
  std::string password;
  if (data_folder.empty()) {
    data = std::make_unique<MeetFixture>();
    data_folder = data->folder();
    password = data->admin_password();
    SetBlankMeetTemplatePath(data_folder + "/PVD.DAT");
    if (!meet_sql.empty()) data->OpenNewMeet(Utf8ToGbk(meet_sql));
  }
  InstallAllRoutes();
  int port = 0;
  if (StartWebServerForTest(data_folder, 0, &port) != 0) {
    std::fprintf(stderr, "the server did not start\n");
    return 1;
  }
  std::string changing;
  for (const RouteRow* row : AllRouteRows()) {
    if (row->path.empty() || !ChangesSomething(*row)) continue;
    if (!changing.empty()) changing += ',';
    changing += row->method == Method::kGet ? "GET " : row->method == Method::kPost ? "POST " : "ANY ";
    changing += row->path;
    changing += ' ' + std::to_string(row->roles);
  }
  std::printf("port=%d\npassword=%s\ndata=%s\nchanging=%s\nready\n", port, password.c_str(), data_folder.c_str(),
              changing.c_str());
  std::fflush(stdout);

  std::thread(WatchStandardInput, data_folder, port).detach();
  int signal_number = 0;
  sigwait(&stop_signals, &signal_number);
  // As the program stops: the pending print counts are written.
  ShutDownHost();
  return 0;
}

}  // namespace

}  // namespace korva

int main(int argc, char** argv) {
  using namespace korva;
  try {
    return Run(argc, argv);
  } catch (const std::exception& e) {
    std::fprintf(stderr, "test server: %s\n", e.what());
    return 1;
  }
}
