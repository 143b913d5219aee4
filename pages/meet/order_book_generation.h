#pragma once
// Generating the order book in the background: the start requests and their
// refusals, the worker that numbers the athletes, draws every round, writes
// the document into the data folder and records it, and the progress code
// the control page polls.
#include <atomic>
#include <ctime>
#include <string>

#include "web/route_table.h"

namespace korva {

// OrderBookState: the worker's progress, which is also the width in px of
// the control page's progress bar (200 wide). Lives in memory only.
enum OrderBookProgress {
  kBookNotRun = 0,        // no run since the server started
  kBookNoAthletes = 5,    // ended: no athlete at all, nothing written
  kBookStarting = 10,     // start accepted, worker starting
  kBookNumbering = 20,
  kBookDrawing = 40,
  kBookRoster = 80,
  kBookSchedule = 100,    // the timetable and the group tables
  kBookWritingFile = 140,
  kBookFailed = 150,      // ended: the file could not be written or recorded
  kBookFinished = 200,
};
extern std::atomic<int> OrderBookState;

// The answers to a start request.
enum OrderBookStart {
  kStartAccepted = 1,
  kStartBusy = 2,           // a run is under way
  kStartNotReady = 3,       // registration open, or a round without session or order
  kStartNoThread = 5,       // the worker thread could not be made; the state is as before
  kStartEntriesMissing = 9, // the pre-check found contests without entrants
};

// One HTML line per contest that no athlete of its grade could run in, and
// per class with nobody in a team event ("%s团队赛%s还无人报名，请提醒班主任
// 报名。"). 1 when a line was added or a record was missing (logged; the
// check then ends), else 0. The caller holds DataLock.
int CheckEntriesBeforeOrderBook(std::string& list);

// Starts fn on a thread of its own; false when no thread could be made.
using WorkerLauncher = bool (*)(void (*fn)());
bool LaunchDetachedThread(void (*fn)());

// A start request: refused while registration is open or a round is not
// scheduled (3), while a run is under way (2, answered at once without
// waiting for the run), and, when check_entries is set, when the pre-check
// finds missing entrants (9, its lines in list). Otherwise the state becomes
// 10 and the worker starts (1); when it cannot, the state goes back (5). A
// run that ended without a document (5 or 150) never blocks the next start.
// Takes DataLock itself.
int StartOrderBook(bool check_entries, std::string& list, WorkerLauncher launch = LaunchDetachedThread);

// The worker: reports only through OrderBookState. Numbers the athletes and
// draws every round (or again only the contests with an athlete still
// without a lane) holding DataLock alone, reads the document from the meet
// under the shared lock, writes it into DataFolder under none and records
// it. A file that cannot be written is removed
// and ends the run in 150 with nothing recorded.
void OrderBookThread();

// Called on the worker with each state it sets, when not null (tests watch
// and pause a run with it).
extern std::atomic<void (*)(int state)> OrderBookProgressObserver;

// Waits until no worker runs (shut-down and tests).
void WaitForOrderBookWorker();

// "秩序册(%d%d%d%d%d).doc" (GBK) of the local month, day, hour, minute and
// second of when, each unpadded.
std::string OrderBookFileName(std::time_t when);

// The administrator's requests: 50 "/MakeCXC1990.html" starts with the
// pre-check ("%d-%s": the code, the list and a force button after it when it
// is not empty), 57 "/MakeCXC1991.html" without it ("%d"); both take
// DataLock themselves. 51 "/YdhCXCJingDu1991.html" answers "%d" of
// OrderBookState without DataLock.
RouteTable OrderBookGenerationRoutes();

}  // namespace korva
