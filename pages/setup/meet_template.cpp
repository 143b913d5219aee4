#include "pages/setup/meet_template.h"

#include <fcntl.h>
#include <unistd.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <mutex>

#include "database/data_error.h"
#include "database/data_folder.h"
#include "database/sqlite_db.h"
#include "resources/embedded.h"

namespace korva {

namespace {

std::mutex template_path_mutex;
std::string template_path_override;

// Writes the whole of data to fd; false on any short write.
bool WriteAll(int fd, const char* data, std::size_t size) {
  while (size > 0) {
    ssize_t n = ::write(fd, data, size);
    if (n < 0) return false;
    data += n;
    size -= static_cast<std::size_t>(n);
  }
  return true;
}

}  // namespace

std::string BlankMeetTemplatePath() {
  std::lock_guard<std::mutex> hold(template_path_mutex);
  if (!template_path_override.empty()) return template_path_override;
  return ProgramFolder() + "/PVD.DAT";
}

void SetBlankMeetTemplatePath(const std::string& path) {
  std::lock_guard<std::mutex> hold(template_path_mutex);
  template_path_override = path;
}

bool EnsureBlankMeetTemplate() {
  const std::string path = BlankMeetTemplatePath();
  if (!IsFileMissing(path)) return true;
  bool found = false;
  std::string_view schema = EmbeddedResource("schema/meet.sql", &found);
  if (!found) return false;
  // Built under a temporary name and renamed, so a half-written template is
  // never taken for a whole one.
  const std::string temp = path + ".new";
  std::remove(temp.c_str());
  bool made = false;
  {
    Connection conn;
    made = conn.Open(temp, true) && conn.ExecScript(schema);
  }
  if (made && std::rename(temp.c_str(), path.c_str()) == 0) return true;
  std::remove(temp.c_str());
  LogServerMessage("无法建立空白运动会文件：" + path);
  return false;
}

bool CopyBlankMeetTemplate(const std::string& dest) {
  std::ifstream in(BlankMeetTemplatePath(), std::ios::binary);
  if (!in) return false;
  std::string bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
  if (in.bad()) return false;
  int fd = ::open(dest.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0644);
  if (fd < 0) return false;
  bool ok = WriteAll(fd, bytes.data(), bytes.size());
  ok = ::fsync(fd) == 0 && ok;
  ok = ::close(fd) == 0 && ok;
  // The registry row written next names this file: its name must last too.
  ok = ok && SyncFolderOf(dest);
  if (!ok) std::remove(dest.c_str());
  return ok;
}

}  // namespace korva
