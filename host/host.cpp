#include "host/host.h"

#include "host/routes.h"
#include <fcntl.h>
#include <signal.h>
#include <sys/file.h>
#include <sys/resource.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <system_error>

#include "database/connections.h"
#include "database/data_folder.h"
#include "database/data_lock.h"
#include "database/gbk_text.h"
#include "database/loaders.h"
#include "database/model.h"
#include "database/open_meet.h"
#include "host/routes.h"
#include "pages/meet/order_book_generation.h"
#include "web/web_server.h"

namespace korva {

InstanceLock::InstanceLock(const std::string& data_folder) {
  std::error_code ec;
  std::filesystem::create_directories(data_folder, ec);
  if (ec) {
    error_ = "cannot create the data folder " + data_folder + ": " + ec.message();
    return;
  }
  std::string path = data_folder + "/" + kInstanceLockName;
  int fd = open(path.c_str(), O_RDWR | O_CREAT | O_CLOEXEC, 0644);
  if (fd < 0) {
    error_ = "cannot open the lock file " + path + ": " + std::strerror(errno);
    return;
  }
  // The lock goes with the open file, so it ends with the process however it
  // ends; the file itself stays.
  if (flock(fd, LOCK_EX | LOCK_NB) != 0) {
    if (errno != EWOULDBLOCK) error_ = "cannot lock the file " + path + ": " + std::strerror(errno);
    close(fd);
    return;
  }
  fd_ = fd;
}

InstanceLock::~InstanceLock() {
  if (fd_ >= 0) close(fd_);
}

namespace {

void WriteUtf8Line(std::string line) {
  line += '\n';
  std::fwrite(line.data(), 1, line.size(), stdout);
  std::fflush(stdout);
}

void ShowMeetNameOnConsole(std::string_view gbk_meet_name, bool meet_open) {
  ConsoleLine(meet_open ? "meet: " + std::string(gbk_meet_name) : std::string("meet: none yet"));
}

}  // namespace

long RaiseOpenFileLimit() {
  rlimit files{};
  if (getrlimit(RLIMIT_NOFILE, &files) != 0) return -1;
  if (files.rlim_cur != files.rlim_max) {
    files.rlim_cur = files.rlim_max;
    if (setrlimit(RLIMIT_NOFILE, &files) != 0) getrlimit(RLIMIT_NOFILE, &files);
  }
  return files.rlim_cur == RLIM_INFINITY ? -1 : static_cast<long>(files.rlim_cur);
}

std::string UnwritableDataFiles(const std::string& data_folder) {
  std::string found;
  auto check = [&found](const std::string& path, const char* what) {
    if (path.empty() || faccessat(AT_FDCWD, path.c_str(), W_OK, AT_EACCESS) == 0) return;
    found += std::string(what) + " " + path + " cannot be written: " + std::strerror(errno) + "\n";
  };
  // SQLite writes its journal beside each file, so the folder must be
  // writable too.
  check(data_folder, "the data folder");
  check(BaseFilePath(data_folder), "the base file");
  DataGuard hold(DataLock);
  check(Model().MeetFilePath, "the meet file");
  return found;
}

void ConsoleLine(std::string_view gbk_text) { WriteUtf8Line(GbkToUtf8(gbk_text)); }

HostOptions ReadHostOptions(int argc, const char* const* argv) {
  HostOptions options;
  constexpr std::string_view kOrganiser = "--organiser", kOrganiserIs = "--organiser=";
  for (int i = 1; i < argc && options.error.empty(); ++i) {
    const std::string_view arg = argv[i];
    if (arg == kOrganiser && i + 1 < argc) {
      options.organiser = argv[++i];
    } else if (arg.starts_with(kOrganiserIs)) {
      options.organiser = arg.substr(kOrganiserIs.size());
    } else {
      options.error = arg == kOrganiser ? "--organiser needs the organiser's name" : "unknown option " + std::string(arg);
      break;
    }
    if (options.organiser.empty()) options.error = "the organiser's name is empty";
  }
  if (!options.error.empty()) options.error += "\nusage: korva [--organiser NAME]\n";
  return options;
}

namespace {

// Stores the organiser's name given on the command line; what failed
// (UTF-8), empty when it was stored.
std::string StoreOrganiserName(const std::string& utf8_name) {
  std::string gbk = Utf8ToGbk(utf8_name);
  if (GbkToUtf8(gbk) != utf8_name) return "the organiser's name has characters that GBK lacks\n";
  switch (SaveOrganiserName(gbk)) {
    case 0: return {};
    case 1: return "the organiser's name is longer than " + std::to_string(kOrganiserNameBytes) + " bytes in GBK\n";
    default: return "the organiser's name could not be stored in the base file\n";
  }
}

}  // namespace

void ShutDownHost() {
  // Before the databases close, so that no connection thread is left
  // inside a handler, nor an order book half written.
  StopWebServer();
  WaitForOrderBookWorker();
  DataGuard hold(DataLock);
  CloseDatabases();
  FreeAllLists();
}

int RunHost(int argc, const char* const* argv) {
  const HostOptions options = ReadHostOptions(argc, argv);
  if (!options.error.empty()) {
    std::fputs(options.error.c_str(), stderr);
    return 2;
  }
  // SIGINT and SIGTERM are blocked in every thread (threads inherit the mask
  // of the one that starts them) and taken by sigwait below, so the exit
  // path runs on this thread and never inside a signal handler.
  sigset_t stop_signals;
  sigemptyset(&stop_signals);
  sigaddset(&stop_signals, SIGINT);
  sigaddset(&stop_signals, SIGTERM);
  pthread_sigmask(SIG_BLOCK, &stop_signals, nullptr);

  RaiseOpenFileLimit();
  const std::string folder = DefaultDataFolder();
  InstanceLock lock(folder);
  if (!lock.held()) {
    std::string text = (lock.error().empty() ? GbkToUtf8(kAlreadyRunningText) : lock.error()) + "\n";
    std::fputs(text.c_str(), stderr);
    return 1;
  }

  std::string password;
  // The folder's path is UTF-8 like every path of the system.
  if (OpenDataFolder(folder, &password) != 0) {
    WriteUtf8Line("cannot open the data folder " + folder);
    return 1;
  }
  WriteUtf8Line("data folder: " + folder);
  if (!password.empty()) {
    ConsoleLine(std::string("built-in administrator: login name \"") + kAdminLoginName +
                "\", password \"" + password + "\" (shown only this once: note it down)");
  }
  if (!options.organiser.empty()) {
    if (std::string failed = StoreOrganiserName(options.organiser); !failed.empty()) {
      std::fputs(failed.c_str(), stderr);
      ShutDownHost();
      return 1;
    }
  }
  {
    DataReadGuard hold(DataLock);
    ConsoleLine("organiser: " + Model().OrganiserName);
  }
  // From here on every change of the open meet or its name shows on the
  // console. No meet yet is fine: the administrator creates the first one
  // on the site.
  SetMeetNameHook(ShowMeetNameOnConsole);
  if (OpenCurrentMeet(0) != 0) ShowMeetName();
  // Every change would fail once the site is up; better said now.
  if (std::string unwritable = UnwritableDataFiles(folder); !unwritable.empty()) {
    std::fputs((unwritable + "nothing could be saved: the server does not start\n").c_str(), stderr);
    ShutDownHost();
    return 1;
  }

  InstallAllRoutes();
  if (StartWebServer() != 0) {
    ShutDownHost();
    return 1;
  }

  int signal_number = 0;
  sigwait(&stop_signals, &signal_number);
  ConsoleLine("stopping");
  ShutDownHost();
  return 0;
}

}  // namespace korva
