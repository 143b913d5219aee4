#pragma once
// Commits reach the disk in groups. The files run in WAL mode with
// synchronous=NORMAL, so a commit only appends to the -wal file; the thread
// that made it waits, before it answers, until that file is synced. One
// thread syncs for every commit made before its sync began, and the threads
// arriving meanwhile wait for it instead of syncing again.
#include <sqlite3.h>

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

}  // namespace korva
