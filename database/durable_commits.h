#pragma once
// Commits reach the disk in groups. The files run in WAL mode with
// synchronous=NORMAL, so a commit only appends to the -wal file; the thread
// that made it waits, before it answers, until that file is synced. One
// thread syncs for every commit made before its sync began, and the threads
// arriving meanwhile wait for it instead of syncing again.
#include <sqlite3.h>

#include <string>

namespace korva {

// Counts every commit of db and notes the -wal file it went to, for the
// thread that made it. Also checkpoints a -wal file that has grown past
// SQLite's usual size, as SQLite would by itself.
void TrackCommits(sqlite3* db);

// Returns once every commit this thread made is on disk: true, or false when
// a sync failed. Once a sync has failed no later commit counts as durable,
// since the failure may have dropped frames that the later ones build on.
// Must not be called while holding a lock that a syncing thread waits for.
bool WaitForOwnCommits();

// As WaitForOwnCommits, for every commit made so far by any thread: for a
// reply that may tell of what another request committed ("stored already").
// Costs nothing when every commit is on disk.
bool WaitForAllCommits();

// Puts on disk what an earlier process left in the -wal file of the
// database at path, and the -wal file's name in its folder: after a crash
// they may still be in the page cache only, and nothing read from them may
// be reported before they are durable. True when there is no such file.
bool SyncLeftoverCommits(const std::string& database_path);

}  // namespace korva
