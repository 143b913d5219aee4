#include "web/web_server.h"

#include <signal.h>

#include <cstdio>
#include <filesystem>
#include <mutex>
#include <system_error>

#include "database/connections.h"
#include "database/data_folder.h"
#include "database/data_lock.h"
#include "database/gbk_text.h"
#include "database/model.h"
#include "database/open_meet.h"
#include "web/listener.h"
#include "web/network.h"
#include "web/templates.h"

namespace korva {

std::atomic<int> WebSuspended{0};
std::string ServerAddress;

namespace {

struct ImageFolderSetting {
  std::mutex mutex;
  std::string folder;
};

ImageFolderSetting& ImageSetting() {
  static ImageFolderSetting setting;
  return setting;
}

// Opens the data folder and the current meet unless that folder is open.
int OpenDataForServer(const std::string& folder) {
  DataGuard hold(DataLock);
  if (BaseConnection().IsOpen() && Model().DataFolder == folder) return 0;
  std::string password;
  if (OpenDataFolder(folder, &password) != 0) return 2;
  if (!password.empty()) {
    std::string line = "built-in administrator password (shown only this once): " + password + "\n";
    std::fputs(GbkToUtf8(line).c_str(), stdout);
    std::fflush(stdout);
  }
  // No meet yet is fine (the administrator creates one); a meet file that
  // can't be opened has been logged where it was found.
  static_cast<void>(OpenCurrentMeet(0));
  return 0;
}

}  // namespace

int StartWebServer() {
  signal(SIGPIPE, SIG_IGN);
  LoadHtmlTemplateCache();
  if (int failed = OpenDataForServer(DefaultDataFolder())) return failed;
  ServerAddress = FindServerAddress();
  int fd = ListenOnSitePort();
  if (fd < 0) return 3;
  if (int failed = StartListening(fd)) return failed;
  std::string line = "网站地址：http://";
  line += ServerAddress;
  if (ListenPort != 80) {
    line += ':';
    line += std::to_string(ListenPort.load());
  }
  line += "/\n";
  std::fputs(GbkToUtf8(line).c_str(), stdout);
  std::fflush(stdout);
  return 0;
}

int StartWebServerForTest(const std::string& data_folder, int port_or_0, int* bound_port) {
  signal(SIGPIPE, SIG_IGN);
  LoadHtmlTemplateCache();
  if (int failed = OpenDataForServer(data_folder)) return failed;
  ServerAddress = FindServerAddress();
  int fd = ListenOnLoopback(port_or_0);
  if (fd < 0) return 3;
  if (int failed = StartListening(fd)) return failed;
  if (bound_port) *bound_port = ListenPort;
  return 0;
}

void SetImageFolder(const std::string& folder) {
  std::lock_guard<std::mutex> hold(ImageSetting().mutex);
  ImageSetting().folder = folder;
}

std::string ImageFolder() {
  {
    std::lock_guard<std::mutex> hold(ImageSetting().mutex);
    if (!ImageSetting().folder.empty()) return ImageSetting().folder;
  }
  std::string folder = ProgramFolder() + "/image";
  SetImageFolder(folder);
  return folder;
}

}  // namespace korva
