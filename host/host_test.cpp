#include "host/host.h"

#include <gtest/gtest.h>
#include <poll.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <climits>
#include <cstring>
#include <filesystem>
#include <string>
#include <vector>

#include "database/connections.h"
#include "database/gbk_text.h"
#include "tests/testing/meet_fixture.h"
#include "tests/testing/temp_folder.h"

extern char** environ;

namespace {

TEST(InstanceLock, OnlyOneHolderPerDataFolder) {
  TempFolder tmp;
  std::string folder = tmp.path() + "/korva";
  {
    InstanceLock first(folder);
    ASSERT_TRUE(first.held());
    InstanceLock second(folder);
    EXPECT_FALSE(second.held());
    TempFolder other;
    InstanceLock elsewhere(other.path());
    EXPECT_TRUE(elsewhere.held());
  }
  InstanceLock again(folder);
  EXPECT_TRUE(again.held());
}

// The korva program beside this test program, run with its own data home.
class Program {
 public:
  Program(const std::string& path, const std::string& data_home) {
    int out[2], err[2];
    if (pipe(out) != 0 || pipe(err) != 0) return;
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_adddup2(&actions, out[1], 1);
    posix_spawn_file_actions_adddup2(&actions, err[1], 2);
    posix_spawn_file_actions_addclose(&actions, out[0]);
    posix_spawn_file_actions_addclose(&actions, err[0]);
    std::vector<std::string> env_text;
    for (char** e = environ; *e; ++e)
      if (std::strncmp(*e, "XDG_DATA_HOME=", 14) != 0) env_text.emplace_back(*e);
    env_text.push_back("XDG_DATA_HOME=" + data_home);
    std::vector<char*> env;
    for (auto& s : env_text) env.push_back(s.data());
    env.push_back(nullptr);
    std::string program = path;
    char* argv[] = {program.data(), nullptr};
    if (posix_spawn(&pid_, path.c_str(), &actions, nullptr, argv, env.data()) != 0) pid_ = -1;
    posix_spawn_file_actions_destroy(&actions);
    close(out[1]);
    close(err[1]);
    out_ = out[0];
    err_ = err[0];
  }
  ~Program() {
    if (pid_ > 0) {
      kill(pid_, SIGKILL);
      Wait();
    }
    if (out_ >= 0) close(out_);
    if (err_ >= 0) close(err_);
  }

  // Standard output up to and including the first line holding text (10 s
  // at most).
  std::string ReadUntil(const std::string& text) {
    std::string got;
    while (got.find(text) == std::string::npos || got.back() != '\n') {
      pollfd p{out_, POLLIN, 0};
      if (poll(&p, 1, 10000) <= 0) break;
      char buf[512];
      ssize_t n = read(out_, buf, sizeof buf);
      if (n <= 0) break;
      got.append(buf, n);
    }
    return got;
  }
  std::string ReadAllErrors() {
    std::string got;
    char buf[512];
    ssize_t n;
    while ((n = read(err_, buf, sizeof buf)) > 0) got.append(buf, n);
    return got;
  }
  // Exit status, -1 when killed.
  int Wait() {
    int status = 0;
    if (pid_ <= 0 || waitpid(pid_, &status, 0) != pid_) return -1;
    pid_ = -1;
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
  }
  void Signal(int sig) { kill(pid_, sig); }
  bool started() const { return pid_ > 0; }

 private:
  pid_t pid_ = -1;
  int out_ = -1, err_ = -1;
};

std::string ProgramPath() {
  char self[PATH_MAX] = "";
  ssize_t n = readlink("/proc/self/exe", self, sizeof self - 1);
  if (n <= 0) return {};
  return std::filesystem::path(std::string(self, n)).parent_path() / "korva";
}

TEST(Host, StartsOnceShowsTheMeetAndStopsOnASignal) {
  std::string korva = ProgramPath();
  if (access(korva.c_str(), X_OK) != 0) GTEST_SKIP() << "korva is not built";

  // A data folder with a current meet, reached as $XDG_DATA_HOME/korva.
  MeetFixture fixture;
  FixtureMeetSettings s;
  s.Name = "秋季运动会";
  fixture.AddMeet(s);
  CloseDatabases();
  TempFolder home;
  std::filesystem::create_directory_symlink(fixture.folder(), home.path() + "/korva");

  Program first(korva, home.path());
  ASSERT_TRUE(first.started());
  std::string out = first.ReadUntil("meet:");
  EXPECT_NE(out.find(GbkToUtf8("meet: 秋季运动会\n")), std::string::npos) << out;
  EXPECT_EQ(out.find("password"), std::string::npos);  // not a first run

  Program second(korva, home.path());
  EXPECT_EQ(second.Wait(), 1);
  EXPECT_NE(second.ReadAllErrors().find(GbkToUtf8(kAlreadyRunningText)), std::string::npos);

  first.Signal(SIGTERM);
  EXPECT_EQ(first.Wait(), 0);
}

TEST(Host, FirstRunCreatesTheDataFolderAndPrintsThePasswordOnce) {
  std::string korva = ProgramPath();
  if (access(korva.c_str(), X_OK) != 0) GTEST_SKIP() << "korva is not built";
  TempFolder home;
  for (int run = 0; run < 2; ++run) {
    Program p(korva, home.path());
    std::string out = p.ReadUntil("meet:");
    EXPECT_NE(out.find("meet: none yet"), std::string::npos) << out;
    EXPECT_EQ(out.find("password") != std::string::npos, run == 0) << out;
    p.Signal(SIGINT);
    EXPECT_EQ(p.Wait(), 0);
  }
  EXPECT_TRUE(std::filesystem::exists(home.path() + "/korva/PBD.DAT"));
}

}  // namespace
