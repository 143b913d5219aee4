#include "pages/meet/order_book_generation.h"

#include <condition_variable>
#include <exception>
#include <mutex>
#include <optional>
#include <system_error>
#include <thread>
#include <unordered_set>

#include "database/data_error.h"
#include "database/data_folder.h"
#include "database/data_lock.h"
#include "database/durable_commits.h"
#include "database/gbk_text.h"
#include "database/lookups.h"
#include "database/model.h"
#include "database/setup_stage.h"
#include "database/store_documents.h"
#include "engine/bib_numbers.h"
#include "engine/draw.h"
#include "engine/draw_steps.h"
#include "pages/meet/order_book_writer.h"
#include "web/escape.h"
#include "web/response.h"

namespace korva {

std::atomic<int> OrderBookState{kBookNotRun};
std::atomic<void (*)(int state)> OrderBookProgressObserver{nullptr};

namespace {

constexpr int kErrCheckContestMissing = 26550;  // logged after the look-up's 12550
constexpr int kErrCheckEventMissing = 25550;

constexpr const char* kForceButton =
    "<button onClick=\"cxcstart(0);\" id=\"makexcan2\">强制开始生成秩序册</button>";

// Whether a worker is between its launch and its last step.
std::mutex worker_mutex;
std::condition_variable worker_ended;
bool worker_running = false;

// A run under way. The end states 5 and 150 left nothing behind that a new
// run would disturb, so they let the next start in.
bool IsRunning(int state) {
  return state >= 1 && state <= 199 && state != kBookNoAthletes && state != kBookFailed;
}

const AthleteNode* FirstAthleteOfGrade(int grade_id) {
  for (const AthleteNode& athlete : Model().AthleteList)
    if (athlete.GradeId == grade_id) return &athlete;
  return nullptr;
}

bool EnteredIn(const AthleteNode& athlete, int contest_id, int partner_id) {
  for (int id : athlete.ContestIds)
    if (id == contest_id || (partner_id > 0 && id == partner_id)) return true;
  return false;
}

// The lines of one team contest: each class of the grade without an athlete
// entered in it (or in its opposite-sex partner of a mixed team).
void CheckTeamEntries(const ContestNode& contest, const EventNode& event, const GroupNode& group,
                      int partner_id, std::string& list) {
  for (const ClassNode& cls : Model().ClassList) {
    if (cls.GradeId != group.GradeId) continue;
    bool entered = false;
    for (const AthleteNode& athlete : Model().AthleteList) {
      if (athlete.GradeId == group.GradeId && athlete.ClassId == cls.ClassId &&
          EnteredIn(athlete, contest.Id, partner_id)) {
        entered = true;
        break;
      }
    }
    if (!entered)
      list += EscapeHtml(event.Name) + "团队赛" + EscapeHtml(cls.ClassName) + "还无人报名，请提醒班主任报名。<br />\r\n";
  }
}

void SetProgress(int state) {
  OrderBookState = state;
  if (auto observer = OrderBookProgressObserver.load()) observer(state);
}

// Steps 2 to 10 of a run; the state the run ends in. The numbering and the
// draw change the meet and hold DataLock alone, and copy the model as they
// end; the document is read from that copy and the file written under no
// lock, so pages and clerks keep going; the file is recorded under the lock
// held alone.
int GenerateBook() {
  std::optional<PrivateModel> copy;
  {
    DataGuard hold(DataLock);
    MeetModel& model = Model();
    if (model.AthleteList.empty()) return kBookNoAthletes;
    // The numbering and the draw log their own data errors; the book is
    // written from whatever they left.
    SetProgress(kBookNumbering);
    AssignBibNumbers();
    SetProgress(kBookDrawing);
    if (model.LaneList.empty()) {
      DrawAllRounds();
    } else {
      RedrawUndrawnContests();
    }
    FreeLaneMemoryList();
    copy.emplace(Model());
  }

  std::string document;
  std::string folder;
  copy->Enter();
  folder = Model().DataFolder;
  WriteOrderBookHead(document);
  SetProgress(kBookRoster);
  WriteAthleteRoster(document);
  SetProgress(kBookSchedule);
  WriteScheduleAndGroups(document);
  WriteOrderBookTail(document);
  copy.reset();

  SetProgress(kBookWritingFile);
  const std::time_t now = std::time(nullptr);
  const std::string name = OrderBookFileName(now);
  if (!WriteWholeDataFile(folder, GbkToUtf8(name), document)) {
    LogServerMessageUtf8(GbkToUtf8("秩序册文件无法写入：") + folder + "/" + GbkToUtf8(name));
    return kBookFailed;
  }
  DataGuard hold(DataLock);
  return RecordOrderBookFile(name, now) == 0 ? kBookFinished : kBookFailed;
}

void RunWorker() {
  OrderBookThread();
  std::lock_guard<std::mutex> hold(worker_mutex);
  worker_running = false;
  worker_ended.notify_all();
}

}  // namespace

int CheckEntriesBeforeOrderBook(std::string& list) {
  list.clear();
  int result = 0;
  // A contest is looked at once, through its preliminary or its direct final
  // (the parts of a combined event share their contest).
  std::unordered_set<int> checked;
  for (const RoundNode& round : Model().RoundList) {
    if (round.Kind == kFinalAfterPrelim || !checked.insert(round.ContestId).second) continue;
    const ContestNode* contest = FindContestById(round.ContestId);  // a miss logs 12550
    if (!contest) {
      ShowDataErrorCode(kErrCheckContestMissing);
      return 1;
    }
    const EventNode* event = FindEventById(contest->EventId);
    if (!event) {
      ShowDataErrorCode(kErrCheckEventMissing);
      return 1;
    }
    const GroupNode* group = FindGroupById(contest->GroupId);  // a miss logs 123511
    if (!group) return 1;
    int partner_id = 0;
    if (event->TuanTiType == 3) {
      if (const ContestNode* partner = FindOppositeSexContest(group->Id, event->Id)) partner_id = partner->Id;
    }
    if (!FirstAthleteOfGrade(group->GradeId)) {
      list += EscapeHtml(group->GradeName) + EscapeHtml(event->Name) + "没有运动员报名！<br />\r\n";
      result = 1;
      continue;
    }
    if (event->TuanTiType == 1) continue;
    const std::size_t before = list.size();
    CheckTeamEntries(*contest, *event, *group, partner_id, list);
    if (list.size() != before) result = 1;
  }
  return result;
}

bool LaunchDetachedThread(void (*fn)()) {
  try {
    std::thread(fn).detach();
    return true;
  } catch (const std::system_error&) {
    return false;
  }
}

int StartOrderBook(bool check_entries, std::string& list, WorkerLauncher launch) {
  list.clear();
  // A second start is answered now, not after the numbering and the draw
  // that hold DataLock alone.
  if (IsRunning(OrderBookState)) return kStartBusy;
  DataReadGuard hold(DataLock);
  if (Model().RegistrationClosed == 0 || !AllRoundsScheduled()) return kStartNotReady;
  int before = OrderBookState;
  if (IsRunning(before)) return kStartBusy;
  if (check_entries && CheckEntriesBeforeOrderBook(list) != 0) return kStartEntriesMissing;
  // Two starts at once: only one moves the state on.
  if (!OrderBookState.compare_exchange_strong(before, kBookStarting)) return kStartBusy;
  {
    std::lock_guard<std::mutex> lock(worker_mutex);
    worker_running = true;
  }
  if (!launch(RunWorker)) {
    {
      std::lock_guard<std::mutex> lock(worker_mutex);
      worker_running = false;
    }
    OrderBookState = before;
    return kStartNoThread;
  }
  return kStartAccepted;
}

void OrderBookThread() {
  int end_state = kBookFailed;
  try {
    end_state = GenerateBook();
  } catch (const std::exception& e) {
    LogServerMessage(std::string("秩序册生成失败：") + e.what());
    end_state = kBookFailed;
  }
  // The numbering and the draw are on disk before the book counts as made.
  if (!WaitForOwnCommits() && end_state == kBookFinished) end_state = kBookFailed;
  // Set once the lock is free, so the page that reloads on it does not wait.
  SetProgress(end_state);
}

void WaitForOrderBookWorker() {
  std::unique_lock<std::mutex> lock(worker_mutex);
  worker_ended.wait(lock, [] { return !worker_running; });
}

std::string OrderBookFileName(std::time_t when) {
  std::tm tm{};
  if (!localtime_r(&when, &tm)) tm = std::tm{};
  return "秩序册(" + std::to_string(tm.tm_mon + 1) + std::to_string(tm.tm_mday) + std::to_string(tm.tm_hour) +
         std::to_string(tm.tm_min) + std::to_string(tm.tm_sec) + ").doc";
}

namespace {

void MakeOrderBookRoute(RouteContext& ctx) {
  const bool check_entries = ctx.route == 50;
  std::string list;
  const int code = StartOrderBook(check_entries, list);
  std::string body = std::to_string(code);
  if (check_entries) {
    if (!list.empty()) list += kForceButton;
    body += "-" + list;
  }
  AppendHtmlPage(ctx.session, body, ctx.reply);
}

void OrderBookProgressRoute(RouteContext& ctx) {
  AppendHtmlPage(ctx.session, std::to_string(OrderBookState.load()), ctx.reply);
}

// A start during a run is answered at once: the handler, not the
// dispatcher, takes DataLock, after looking at the state.
constexpr RouteRow kRows[] = {
    {.path = "/MakeCXC1990.html", .roles = kAdmin, .code = 50, .handler = MakeOrderBookRoute,
     .access = Access::kNone, .empty = EmptyReply::kEmptyBody, .changes = true},
    {.path = "/MakeCXC1991.html", .roles = kAdmin, .code = 57, .handler = MakeOrderBookRoute,
     .access = Access::kNone, .empty = EmptyReply::kEmptyBody, .changes = true},
    {.path = "/YdhCXCJingDu1991.html", .roles = kAdmin, .code = 51, .handler = OrderBookProgressRoute,
     .access = Access::kNone, .empty = EmptyReply::kEmptyBody},
};

}  // namespace

RouteTable OrderBookGenerationRoutes() { return kRows; }

}  // namespace korva
