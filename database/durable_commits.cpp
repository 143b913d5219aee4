#include "database/durable_commits.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <condition_variable>
#include <cstdint>
#include <cstring>
#include <map>
#include <mutex>
#include <set>
#include <string>
#include <utility>

#include "database/data_error.h"
#include "database/data_folder.h"

namespace korva {

namespace {

// The -wal size, in pages, past which a commit checkpoints (SQLite's own).
constexpr int kCheckpointPages = 1000;

struct SyncState {
  std::mutex mutex;
  std::condition_variable synced_cv;
  std::uint64_t made = 0;    // commits made
  std::uint64_t synced = 0;  // every commit up to this one is on disk
  bool syncing = false;
  bool failed = false;
  std::set<std::string> unsynced;  // -wal files written since the last sync began
  // Only the syncing thread uses this: the -wal file each path named when
  // its folder was last synced. A new -wal file's name is durable only once
  // its folder is.
  std::map<std::string, ino_t> folder_synced;
};

SyncState& State() {
  static SyncState state;
  return state;
}

thread_local std::uint64_t own_commit = 0;

// A -wal file that is gone was checkpointed whole into its database, and
// that checkpoint synced the database file.
bool SyncWal(const std::string& path, std::map<std::string, ino_t>& folder_synced) {
  int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
  if (fd < 0) return errno == ENOENT;
  struct stat info {};
  bool ok = ::fstat(fd, &info) == 0 && ::fdatasync(fd) == 0;
  ::close(fd);
  if (ok) {
    auto [at, fresh] = folder_synced.try_emplace(path, info.st_ino);
    if (fresh || at->second != info.st_ino) {
      ok = SyncFolderOf(path);
      at->second = ok ? info.st_ino : 0;
    }
  }
  if (!ok) LogServerMessageUtf8("cannot sync " + path + ": " + std::strerror(errno));
  return ok;
}

int OnCommit(void*, sqlite3* db, const char* schema, int wal_pages) {
  if (const char* file = sqlite3_db_filename(db, schema); file && *file) {
    SyncState& state = State();
    std::lock_guard<std::mutex> hold(state.mutex);
    own_commit = ++state.made;
    state.unsynced.insert(std::string(file) + "-wal");
  }
  // A checkpoint syncs the -wal file first, and the database after copying.
  if (wal_pages >= kCheckpointPages) sqlite3_wal_checkpoint_v2(db, schema, SQLITE_CHECKPOINT_PASSIVE, nullptr, nullptr);
  return SQLITE_OK;
}

// Returns once every commit up to target is on disk, syncing for every
// waiting thread when no other thread is.
bool WaitUntilSynced(std::unique_lock<std::mutex>& hold, std::uint64_t target) {
  SyncState& state = State();
  while (!state.failed && state.synced < target) {
    if (state.syncing) {
      state.synced_cv.wait(hold);
      continue;
    }
    state.syncing = true;
    const std::uint64_t made = state.made;
    std::set<std::string> files = std::exchange(state.unsynced, {});
    hold.unlock();
    bool ok = true;
    for (const std::string& file : files) ok = SyncWal(file, state.folder_synced) && ok;
    hold.lock();
    state.syncing = false;
    if (ok) {
      state.synced = made;
    } else {
      state.failed = true;
    }
    state.synced_cv.notify_all();
  }
  return !state.failed;
}

}  // namespace

void TrackCommits(sqlite3* db) { sqlite3_wal_hook(db, OnCommit, nullptr); }

bool WaitForOwnCommits() {
  const std::uint64_t mine = std::exchange(own_commit, 0);
  if (mine == 0) return true;
  std::unique_lock<std::mutex> hold(State().mutex);
  return WaitUntilSynced(hold, mine);
}

bool WaitForAllCommits() {
  own_commit = 0;
  std::unique_lock<std::mutex> hold(State().mutex);
  return WaitUntilSynced(hold, State().made);
}

bool SyncLeftoverCommits(const std::string& database_path) {
  SyncState& state = State();
  std::unique_lock<std::mutex> hold(state.mutex);
  // Counted as a commit of its own, so that the sync that takes it in
  // begins after this call and covers the file.
  state.unsynced.insert(database_path + "-wal");
  return WaitUntilSynced(hold, ++state.made);
}

}  // namespace korva
