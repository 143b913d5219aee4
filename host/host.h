#pragma once
// The console host: one copy per data folder, start-up in the order the
// program needs (data folder, current meet, web server), console lines in
// UTF-8, and the exit path taken on SIGINT and SIGTERM.
#include <string>
#include <string_view>

namespace korva {

// Name of the single-instance lock file, after the program's mutex name.
constexpr const char* kInstanceLockName = "{A5EA48F2_0257_qolmi_ydh_A2E1635741D8}.lock";
// What a second copy says before it ends.
constexpr const char* kAlreadyRunningText = "QV网络运动会已经在运行！";

// Holds the single-instance lock (flock on the lock file in the data folder)
// while alive.
class InstanceLock {
 public:
  // Tries to take the lock; creates the folder when needed.
  explicit InstanceLock(const std::string& data_folder);
  ~InstanceLock();
  InstanceLock(const InstanceLock&) = delete;
  InstanceLock& operator=(const InstanceLock&) = delete;
  // False when another copy holds the lock or the lock file could not be
  // used; error() then tells which.
  bool held() const { return fd_ >= 0; }
  // Empty when held or when another copy holds the lock; otherwise what
  // failed, with the path and the system's reason (UTF-8).
  const std::string& error() const { return error_; }

 private:
  int fd_ = -1;
  std::string error_;
};

// Raises the process's open-file limit to its hard limit, so that the web
// server's connection bound, not the default of 1,024, decides how many
// clients are served. The limit now in force.
long RaiseOpenFileLimit();

// What keeps the server from saving in the data folder: the folder itself,
// the base file or the open meet's file read-only (path and reason, UTF-8,
// one per line); empty when every one can be written.
std::string UnwritableDataFiles(const std::string& data_folder);

// Writes one line of GBK text to standard output as UTF-8.
void ConsoleLine(std::string_view gbk_text);

// What the command line asks for: "--organiser NAME" (or
// "--organiser=NAME") stores the organiser's name for this and every later
// start. Anything else is refused.
struct HostOptions {
  std::string organiser;  // UTF-8; empty when not given
  std::string error;      // why the command line is refused (UTF-8); empty when it is not
};
HostOptions ReadHostOptions(int argc, const char* const* argv);

// The whole program: returns its exit status (0 after a signal, non-zero
// when another copy runs, the command line is refused or start-up fails).
int RunHost(int argc, const char* const* argv);

// The exit path: stops the server, closes both connections and frees the
// lists.
void ShutDownHost();

}  // namespace korva
