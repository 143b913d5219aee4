#include "host/host.h"

#include <gtest/gtest.h>

#include <fcntl.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <climits>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "database/connections.h"
#include "database/data_folder.h"
#include "database/gbk_text.h"
#include "database/model.h"
#include "database/store_meets.h"
#include "resources/embedded.h"
#include "tests/testing/temp_folder.h"

namespace korva {

namespace {

std::string ReadFile(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

// The korva program beside this test program, started with XDG_DATA_HOME
// set to home; its standard output and error go to files in home.
class Korva {
 public:
  // unprivileged: started without the capabilities that let root write
  // anywhere, so file modes count for it as for any user.
  // option: one command-line argument, none when empty.
  Korva(const std::string& program, const std::string& home, const std::string& name, bool unprivileged = false,
        std::string option = {})
      : out_(home + "/" + name + ".out"), err_(home + "/" + name + ".err") {
    std::string path = program, data_home = "XDG_DATA_HOME=" + home;
    std::string setpriv = "/usr/bin/setpriv", bounding = "--bounding-set=-all", inheritable = "--inh-caps=-all";
    char* argv[] = {path.data(), option.empty() ? nullptr : option.data(), nullptr};
    char* unprivileged_argv[] = {setpriv.data(), bounding.data(), inheritable.data(), path.data(), nullptr};
    char* env[] = {data_home.data(), nullptr};
    bool drop = unprivileged && geteuid() == 0;
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, 1, out_.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
    posix_spawn_file_actions_addopen(&actions, 2, err_.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
    if (posix_spawn(&pid_, drop ? setpriv.c_str() : path.c_str(), &actions, nullptr,
                    drop ? unprivileged_argv : argv, env) != 0)
      pid_ = -1;
    posix_spawn_file_actions_destroy(&actions);
  }
  ~Korva() {
    if (pid_ > 0) Stop(SIGKILL);
  }
  // Standard output once it holds a whole line with text (10 s at most).
  std::string OutputWith(const std::string& text) {
    std::string out;
    for (int tries = 0; tries < 500; ++tries) {
      out = ReadFile(out_);
      std::size_t at = out.find(text);
      if (at != std::string::npos && out.find('\n', at) != std::string::npos) break;
      usleep(20000);
    }
    return out;
  }
  std::string Errors() const { return ReadFile(err_); }
  // Sends sig (none for 0) and waits: the exit status, -1 when killed.
  int Stop(int sig) {
    int status = 0;
    if (sig != 0) kill(pid_, sig);
    bool ended = pid_ > 0 && waitpid(pid_, &status, 0) == pid_;
    pid_ = -1;
    return ended && WIFEXITED(status) ? WEXITSTATUS(status) : -1;
  }

 private:
  std::string out_, err_;
  pid_t pid_ = -1;
};

// The korva program beside this test program; empty when it is not built.
std::string KorvaProgram() {
  char self[PATH_MAX] = "";
  ssize_t n = readlink("/proc/self/exe", self, sizeof self - 1);
  std::string korva = std::filesystem::path(std::string(self, n > 0 ? n : 0)).parent_path() / "korva";
  return access(korva.c_str(), X_OK) == 0 ? korva : std::string();
}

TEST(Host, RunsOncePerDataFolderShowsTheMeetAndStopsOnASignal) {
  std::string korva = KorvaProgram();
  if (korva.empty()) GTEST_SKIP() << "korva is not built";
  TempFolder tmp;
  std::string home = tmp.path() + "/" + GbkToUtf8("数据"), folder = home + "/korva";
  std::filesystem::create_directory(home);

  // First run: the data folder is made and the password shown once.
  Korva first(korva, home, "first");
  std::string out = first.OutputWith("meet:");
  EXPECT_NE(out.find("data folder: " + folder + "\n"), std::string::npos) << out;
  EXPECT_NE(out.find("password"), std::string::npos) << out;
  EXPECT_NE(out.find("meet: none yet\n"), std::string::npos) << out;
  Korva second(korva, home, "second");
  EXPECT_EQ(second.Stop(0), 1);
  EXPECT_NE(second.Errors().find(GbkToUtf8(kAlreadyRunningText)), std::string::npos);
  EXPECT_EQ(first.Stop(SIGINT), 0);

  // A meet created meanwhile is opened by the next start.
  ASSERT_EQ(OpenDataFolder(folder, nullptr), 0);
  std::string meet_file = folder + "/ydh1.dat";
  Connection blank;
  ASSERT_TRUE(blank.Open(meet_file, true) && blank.ExecScript(EmbeddedResource("schema/meet.sql")));
  blank.Close();
  ASSERT_EQ(CreateMeet(meet_file, "秋季运动会", "2025-9-1", 4, 5, 13, 2, {}, 1, 3, {}), 0);
  CloseDatabases();
  // The organiser's name given once is kept in the base file.
  Korva again(korva, home, "again", false, GbkToUtf8("--organiser=阳光实验小学"));
  out = again.OutputWith("meet:");
  EXPECT_NE(out.find(GbkToUtf8("meet: 秋季运动会\n")), std::string::npos) << out;
  EXPECT_NE(out.find(GbkToUtf8("organiser: 阳光实验小学\n")), std::string::npos) << out;
  EXPECT_EQ(out.find("password"), std::string::npos) << out;
  EXPECT_EQ(again.Stop(SIGTERM), 0);
  ASSERT_EQ(OpenDataFolder(folder, nullptr), 0);
  EXPECT_EQ(Model().OrganiserName, "阳光实验小学");
  CloseDatabases();
  Model() = MeetModel{};
}

TEST(Host, CommandLine) {
  struct Case {
    std::vector<const char*> args;
    std::string organiser;
    std::string error;
  };
  const Case cases[] = {
      {{}, "", ""},
      {{"--organiser", "实验小学"}, "实验小学", ""},
      {{"--organiser=实验 小学"}, "实验 小学", ""},
      {{"--organiser"}, "", "--organiser needs the organiser's name"},
      {{"--organiser="}, "", "the organiser's name is empty"},
      {{"--port", "80"}, "", "unknown option --port"},
  };
  for (const Case& c : cases) {
    std::vector<const char*> argv = {"korva"};
    argv.insert(argv.end(), c.args.begin(), c.args.end());
    HostOptions options = ReadHostOptions(static_cast<int>(argv.size()), argv.data());
    if (c.error.empty()) {
      EXPECT_EQ(options.organiser, c.organiser);
    }
    EXPECT_EQ(options.error.substr(0, c.error.size()), c.error);
    EXPECT_EQ(options.error.empty(), c.error.empty());
  }
}

TEST(Host, ReadOnlyDataSaysWhatFailedAndExitsNonZero) {
  std::string korva = KorvaProgram();
  if (korva.empty()) GTEST_SKIP() << "korva is not built";
  if (geteuid() == 0 && access("/usr/bin/setpriv", X_OK) != 0) GTEST_SKIP() << "no setpriv to drop root's rights";
  TempFolder tmp;
  std::string home = tmp.path(), folder = home + "/korva";
  namespace fs = std::filesystem;
  fs::permissions(home, fs::perms::owner_all | fs::perms::group_exec | fs::perms::others_exec);
  fs::create_directory(folder);

  // A folder where not even the lock file can be made: not "already running".
  fs::permissions(folder, fs::perms::owner_read | fs::perms::owner_exec);
  Korva locked_out(korva, home, "locked_out", true);
  EXPECT_EQ(1, locked_out.Stop(0));
  std::string lock_file = folder + "/" + kInstanceLockName;
  EXPECT_NE(std::string::npos, locked_out.Errors().find("cannot open the lock file " + lock_file + ": Permission denied"))
      << locked_out.Errors();
  EXPECT_EQ(std::string::npos, locked_out.Errors().find(GbkToUtf8(kAlreadyRunningText)));

  // A first run, then the base file read-only, then the folder.
  fs::permissions(folder, fs::perms::owner_all);
  Korva first(korva, home, "first");
  first.OutputWith("meet:");
  ASSERT_EQ(0, first.Stop(SIGTERM));
  std::string base = BaseFilePath(folder);
  fs::permissions(base, fs::perms::owner_read);
  Korva read_only_base(korva, home, "read_only_base", true);
  EXPECT_EQ(1, read_only_base.Stop(0));
  EXPECT_NE(std::string::npos, read_only_base.Errors().find("the base file " + base + " cannot be written: Permission denied"))
      << read_only_base.Errors();
  fs::permissions(base, fs::perms::owner_read | fs::perms::owner_write);
  fs::permissions(folder, fs::perms::owner_read | fs::perms::owner_exec);
  Korva read_only_folder(korva, home, "read_only_folder", true);
  EXPECT_EQ(1, read_only_folder.Stop(0));
  EXPECT_NE(std::string::npos, read_only_folder.Errors().find("the data folder " + folder + " cannot be written: Permission denied"))
      << read_only_folder.Errors();
  fs::permissions(folder, fs::perms::owner_all);
}

}  // namespace

}  // namespace korva
