#include "database/data_folder.h"

#include <fcntl.h>
#include <pwd.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <system_error>

#include "database/connections.h"
#include "database/data_error.h"
#include "database/data_lock.h"
#include "database/model.h"
#include "resources/embedded.h"

namespace korva {

namespace {

constexpr const char* kBaseFileName = "PBD.DAT";
// Ending of the temporary files of WriteWholeDataFile; a run killed while
// writing leaves one, which the next opening of the folder removes.
constexpr std::string_view kPartialFileEnding = ".part";
constexpr std::size_t kAdminPasswordLength = 12;
// Letters and digits without the look-alikes (0 O o, 1 l I), so the password
// printed on the console is copied without mistakes. None of them is a
// character the login refuses.
constexpr std::string_view kPasswordAlphabet =
    "ABCDEFGHJKLMNPQRSTUVWXYZabcdefghijkmnpqrstuvwxyz23456789";

std::string HomeFolder() {
  const char* home = std::getenv("HOME");
  if (home && *home) return home;
  if (const passwd* pw = getpwuid(getuid()); pw && pw->pw_dir) return pw->pw_dir;
  return ".";
}

// A random password from /dev/urandom; empty when it can't be read.
std::string NewAdminPassword() {
  int fd = open("/dev/urandom", O_RDONLY | O_CLOEXEC);
  if (fd < 0) return {};
  std::string password;
  // Bytes at or above the largest multiple of the alphabet size are dropped,
  // so every character is equally likely.
  const unsigned limit = 256 - 256 % kPasswordAlphabet.size();
  while (password.size() < kAdminPasswordLength) {
    unsigned char buf[64];
    ssize_t got = read(fd, buf, sizeof buf);
    if (got <= 0) {
      password.clear();
      break;
    }
    for (ssize_t i = 0; i < got && password.size() < kAdminPasswordLength; ++i)
      if (buf[i] < limit) password += kPasswordAlphabet[buf[i] % kPasswordAlphabet.size()];
  }
  close(fd);
  return password;
}

bool RunEmbeddedScript(Connection& conn, const char* name) {
  bool found = false;
  std::string_view sql = EmbeddedResource(name, &found);
  if (!found) {
    LogServerMessageUtf8(std::string("missing built-in resource ") + name);
    return false;
  }
  return conn.ExecScript(sql);
}

// Writes a new base file at path: schema, default catalogue and the built-in
// administrator with password.
bool WriteNewBaseFile(const std::string& path, const std::string& password) {
  Connection conn;
  if (!conn.Open(path, true)) return false;
  if (!RunEmbeddedScript(conn, "schema/base.sql")) return false;
  if (!RunEmbeddedScript(conn, "schema/base_defaults.sql")) return false;
  Statement st(conn,
               "INSERT INTO qrtb7 (qrtb8, qrtb9, qrtb10, qrtb11, qrtb12, qrtb14, qrtb15, qrtb16,"
               " qrtb20, qrtb21, qrtb25) VALUES (1, ?, ?, '', '', ?, 0, 0, 0, 0, '')");
  st.Bind(kAdminLoginName).Bind(password).Bind(static_cast<int>(kRoleAdmin));
  return st.Run();
}

bool WriteAll(int fd, std::string_view text) {
  while (!text.empty()) {
    ssize_t n = ::write(fd, text.data(), text.size());
    if (n < 0) return false;
    text.remove_prefix(static_cast<std::size_t>(n));
  }
  return true;
}

void RemovePartialFiles(const std::string& folder) {
  std::error_code ec;
  for (const auto& entry : std::filesystem::directory_iterator(folder, ec)) {
    const std::string name = entry.path().filename().string();
    if (name.ends_with(kPartialFileEnding) && entry.is_regular_file(ec))
      std::filesystem::remove(entry.path(), ec);
  }
}

}  // namespace

std::string DefaultDataFolder() {
  const char* xdg = std::getenv("XDG_DATA_HOME");
  // A relative XDG_DATA_HOME is invalid and ignored, as the XDG base directory rules say.
  if (xdg && xdg[0] == '/') return std::string(xdg) + "/korva";
  return HomeFolder() + "/.local/share/korva";
}

std::string BaseFilePath(const std::string& folder) { return folder + "/" + kBaseFileName; }

int OpenDataFolder(const std::string& folder, std::string* new_admin_password) {
  DataGuard hold(DataLock);
  if (new_admin_password) new_admin_password->clear();
  std::string dir = folder;
  while (dir.size() > 1 && dir.back() == '/') dir.pop_back();
  std::error_code ec;
  std::filesystem::create_directories(dir, ec);
  if (ec) {
    LogServerMessageUtf8("cannot create the data folder " + dir + ": " + ec.message());
    return 1;
  }
  Model().DataFolder = dir;
  RemovePartialFiles(dir);

  std::string base_path = BaseFilePath(dir);
  if (IsFileMissing(base_path)) {
    std::string password = NewAdminPassword();
    if (password.empty()) {
      LogServerMessageUtf8("cannot read /dev/urandom for the administrator's password");
      return 1;
    }
    // The base file is made under a temporary name and renamed when complete,
    // so an interrupted first run never leaves a half-made base file behind.
    std::string temp_path = base_path + ".new";
    std::remove(temp_path.c_str());
    bool written = WriteNewBaseFile(temp_path, password);
    if (!written || std::rename(temp_path.c_str(), base_path.c_str()) != 0 || !SyncFolderOf(base_path)) {
      std::remove(temp_path.c_str());
      LogServerMessageUtf8("cannot create the base file " + base_path);
      return 1;
    }
    if (new_admin_password) *new_admin_password = password;
  }
  if (!BaseConnection().Open(base_path, false) || !RunEmbeddedScript(BaseConnection(), "schema/base_settings.sql")) {
    LogServerMessageUtf8("cannot open the base file " + base_path);
    return 1;
  }
  Statement organiser(BaseConnection(), "SELECT qrtb532 FROM qrtb530 WHERE qrtb531 = 1");
  if (organiser.Next()) {
    if (std::string name = organiser.ReadTextField(0); !name.empty()) Model().OrganiserName = name;
  }
  return 0;
}

int SaveOrganiserName(std::string_view gbk_name) {
  if (gbk_name.empty() || gbk_name.size() > kOrganiserNameBytes) return 1;
  DataGuard hold(DataLock);
  Statement st(BaseConnection(), "INSERT OR REPLACE INTO qrtb530 (qrtb531, qrtb532) VALUES (1, ?)");
  st.Bind(gbk_name);
  if (!st.Run()) return 2;
  Model().OrganiserName = gbk_name;
  return 0;
}

bool WriteWholeDataFile(const std::string& folder, const std::string& name, std::string_view text) {
  const std::string path = folder + "/" + name;
  const std::string temp = path + std::string(kPartialFileEnding);
  int fd = ::open(temp.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0644);
  if (fd < 0) return false;
  bool ok = WriteAll(fd, text);
  ok = ::fsync(fd) == 0 && ok;
  ok = ::close(fd) == 0 && ok;
  ok = ok && std::rename(temp.c_str(), path.c_str()) == 0;
  if (!ok) {
    std::remove(temp.c_str());
    return false;
  }
  if (SyncFolderOf(path)) return true;
  std::remove(path.c_str());
  return false;
}

bool SyncFolderOf(const std::string& path) {
  const std::size_t slash = path.rfind('/');
  const std::string folder = slash == std::string::npos ? "." : slash == 0 ? "/" : path.substr(0, slash);
  int fd = ::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  if (fd < 0) return false;
  bool ok = ::fsync(fd) == 0;
  return ::close(fd) == 0 && ok;
}

int IsFileMissing(const std::string& path) {
  struct stat info;
  return stat(path.c_str(), &info) != 0 ? 1 : 0;
}

std::string ProgramFolder() {
  std::error_code ec;
  std::filesystem::path program = std::filesystem::read_symlink("/proc/self/exe", ec);
  return ec ? std::string(".") : program.parent_path().string();
}

}  // namespace korva
