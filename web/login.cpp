#include "web/login.h"

#include <cstdlib>
#include <ctime>
#include <mutex>
#include <unordered_map>

#include "database/data_lock.h"
#include "database/gbk_text.h"
#include "database/lookups.h"
#include "database/model.h"
#include "database/store_accounts.h"
#include "web/escape.h"
#include "web/network.h"
#include "web/response.h"
#include "web/session.h"
#include "web/templates.h"

namespace korva {

namespace {

constexpr int kLockOutFailures = 3;
constexpr std::time_t kLockOutSeconds = 5 * 60;

// A name or password that could break a statement is refused outright.
bool HoldsForbiddenLoginCharacter(std::string_view text, bool staff) {
  for (std::size_t i = 0; i < text.size(); i += GbkCharLength(text, i)) {
    if (GbkCharLength(text, i) == 2) continue;
    switch (text[i]) {
      case '"': case '\r': case '\n': case '\'': case '=': case '&': case '*': case '@': case '+':
      case '(': case ')':
        return true;
      case '-':
        if (staff) return true;
        break;
      default:
        break;
    }
  }
  return false;
}

// Reads the account; the caller holds DataLock. False when none matches.
bool ReadAccount(std::string_view name, std::string_view password, bool staff, AccountRecord& account) {
  if (staff) return FindStaffAccount(name, password, account);
  if (Model().CurrentMeetId == 0) return false;
  if (name.empty() || name.size() > 9 || name.find_first_not_of("0123456789") != std::string_view::npos)
    return false;
  return FindClassTeacherAccount(std::atoi(std::string(name).c_str()), password, account);
}

// The calendar day of t as year * 10000 + month * 100 + day; 0 on failure.
int DayNumber(std::time_t t) {
  std::tm tm{};
  if (!localtime_r(&t, &tm)) return 0;
  return (tm.tm_year + 1900) * 10000 + (tm.tm_mon + 1) * 100 + tm.tm_mday;
}

// True when today is one of the meet's days (two half-day sessions a day).
bool IsMeetDay(std::time_t now) {
  std::time_t start = Model().MeetStartTime;
  int days = (Model().MeetSessionCount + 1) / 2;
  if (Model().CurrentMeetId == 0 || start == 0 || days <= 0) return false;
  std::tm day{};
  if (!localtime_r(&start, &day)) return false;
  day.tm_hour = 12;
  day.tm_min = day.tm_sec = 0;
  day.tm_isdst = -1;
  int today = DayNumber(now);
  for (int k = 0; k < days; ++k) {
    std::tm step = day;
    step.tm_mday += k;
    std::time_t t = std::mktime(&step);
    if (t != static_cast<std::time_t>(-1) && DayNumber(t) == today) return true;
  }
  return false;
}

// The reason a found account may not log in now (0 when it may). A staff
// account that may gets the client address stored as its last one
// (kLoginNotSaved when that fails). The caller holds DataLock.
int RefusalReason(const AccountRecord& account, bool staff, const std::string& client_address, std::time_t now) {
  if (staff) {
    if (account.Role != kRolePrintAdmin && account.Role != kRoleScoreClerk && account.Role != kRoleAdmin)
      return kLoginAccountError;
    if (account.Role > kRolePrintAdmin && !IsLocalNetworkAddress(client_address)) return kLoginAddressRefused;
    if (account.Role == kRoleScoreClerk) {
      if (account.FixedAddress && !account.LastAddress.empty() && account.LastAddress != client_address)
        return kLoginAddressRefused;
      if (account.MeetDaysOnly && !IsMeetDay(now)) return kLoginOutsideMeetPeriod;
    }
    return SaveStaffLastAddress(account.Id, client_address) == 0 ? 0 : kLoginNotSaved;
  }
  if (account.Role != kRoleClassTeacher || !FindClassNode(account.ClassId, account.GradeId)) return kLoginAccountError;
  return 0;
}

// Failed sign-ins are counted per account and per client address, not only
// per session: a client that sends no cookie, or a new one each time, would
// otherwise never be locked out.
struct FailureRun {
  int count = 0;
  std::time_t first = 0;
};

struct FailureBook {
  std::mutex mutex;
  std::unordered_map<std::string, FailureRun> runs;  // by AccountKey or AddressKey
};

// Only attempts that were not refused outright count, so at most three per
// address and five minutes arrive; expired runs are swept past this size.
constexpr std::size_t kSweptFailureRuns = 4096;

FailureBook& Failures() {
  static FailureBook book;
  return book;
}

std::string AccountKey(std::string_view name, bool staff) { return (staff ? "staff:" : "class:") + std::string(name); }
std::string AddressKey(std::string_view address) { return "from:" + std::string(address); }

bool IsRunLocked(const FailureRun& run, std::time_t now) {
  return run.count >= kLockOutFailures && now - run.first < kLockOutSeconds;
}

bool IsKeyLocked(const std::string& key, std::time_t now) {
  FailureBook& book = Failures();
  std::lock_guard<std::mutex> hold(book.mutex);
  auto found = book.runs.find(key);
  return found != book.runs.end() && IsRunLocked(found->second, now);
}

void CountFailure(const std::string& key, std::time_t now) {
  FailureBook& book = Failures();
  std::lock_guard<std::mutex> hold(book.mutex);
  FailureRun& run = book.runs[key];
  if (run.count == 0 || now - run.first >= kLockOutSeconds) {
    run = {1, now};
  } else {
    ++run.count;
  }
  if (book.runs.size() > kSweptFailureRuns) {
    std::erase_if(book.runs, [now](const auto& entry) { return now - entry.second.first >= kLockOutSeconds; });
  }
}

void ForgetFailures(const std::string& key) {
  FailureBook& book = Failures();
  std::lock_guard<std::mutex> hold(book.mutex);
  book.runs.erase(key);
}

const char* LoginMessageText(int message) {
  switch (message) {
    case kLoginWrongPassword: return "用户名或密码错误，请重新输入！";
    case kLoginLockedOut: return "您已连续输入三次错误的密码，五分钟内不再允许登陆，请五分钟后再试！";
    case kLoginMeetNotReady: return "当前运动会未设置完成，无法登陆，请管理员设置运动会！";
    case kLoginAddressRefused: return "该帐号不允许从当前电脑登陆！";
    case kLoginAccountError: return "帐号数据有错误，请联系管理员！";
    case kLoginOutsideMeetPeriod: return "该帐号只能在运动会比赛期间登陆！";
    case kLoginNotSaved: return "登陆信息无法保存，请稍后再试！";
    case kLoginElsewhere: return "您的帐号已经在其他地方登陆！";
    default: return "";
  }
}

std::string MessageHtml(int message) {
  const char* text = LoginMessageText(message);
  if (!*text) return {};
  return std::string("<img src=\"tip.jpg\" />") + text;
}

// A login page: the frame's titles filled, and the message.
std::string LoginPage(Template page_template, int message) {
  std::string page;
  LoadHtmlTemplate(page_template, page);
  FillPageHead(page, kAdminPageTitle);
  ReplacePlaceholder(page, "提示", MessageHtml(message));
  return page;
}

}  // namespace

bool IsRefusedLoginText(std::string_view text, bool staff) { return HoldsForbiddenLoginCharacter(text, staff); }

int IsLoginLockedOut(const LoginNode& session) {
  std::time_t now = std::time(nullptr);
  if (session.FailedLogins >= kLockOutFailures && now - session.FirstFailure < kLockOutSeconds) return 1;
  return IsKeyLocked(AddressKey(session.ClientAddress), now) ? 1 : 0;
}

void ClearLoginFailures() {
  FailureBook& book = Failures();
  std::lock_guard<std::mutex> hold(book.mutex);
  book.runs.clear();
}

int CheckLogin(LoginNode& session, std::string_view name, std::string_view password, bool staff) {
  std::time_t now = std::time(nullptr);
  std::string client_address;
  {
    LoginGuard hold(LoginListLock);
    client_address = session.ClientAddress;
  }
  const std::string account_key = AccountKey(name, staff);
  const std::string address_key = AddressKey(client_address);
  AccountRecord account;
  int reason = 1;
  if (IsKeyLocked(account_key, now) || IsKeyLocked(address_key, now)) {
    reason = kLoginLockedOut;
  } else if (!password.empty() && !HoldsForbiddenLoginCharacter(name, staff) &&
             !HoldsForbiddenLoginCharacter(password, staff)) {
    // A blank password never signs in, whatever an account holds.
    DataGuard hold(DataLock);
    if (ReadAccount(name, password, staff, account)) reason = RefusalReason(account, staff, client_address, now);
  }
  if (reason == 1) {
    CountFailure(account_key, now);
    CountFailure(address_key, now);
  } else if (reason == 0) {
    ForgetFailures(account_key);
  }

  LoginGuard hold(LoginListLock);
  session.Reason = reason;
  if (reason != 0) {
    ClearLogin(session);
    if (reason > 10) {
      session.FailedLogins = 0;
    } else if (reason == kLoginLockedOut) {
      // refused before the password was looked at: not one more failure
    } else if (session.FailedLogins == 0 || now - session.FirstFailure >= kLockOutSeconds) {
      session.FailedLogins = 1;
      session.FirstFailure = now;
    } else {
      ++session.FailedLogins;
    }
    return 0;
  }
  // A number the session had before signing in (one another page may have
  // seen or set) is worth nothing after.
  if (session.AccountId != account.Id || session.Role != account.Role) RenumberSession(session);
  session.AccountId = account.Id;
  session.OwnerKey = account.Id;
  session.Role = account.Role;
  session.GradeId = account.GradeId;
  session.ClassId = account.ClassId;
  session.UserName = account.UserName;
  session.FailedLogins = 0;
  for (LoginPtr& other : LoginList()) {
    if (other.get() == &session || other->AccountId != account.Id) continue;
    if ((other->Role > kRoleClassTeacher) != staff || other->Role == 0) continue;
    ClearLogin(*other);
    other->OwnerKey = 0;
    other->Reason = kLoginElsewhere;
  }
  return 1;
}

void ServeClassLoginPage(LoginNode& session, int message, std::string& reply) {
  std::string options;
  {
    DataReadGuard hold(DataLock);
    for (const ClassNode& c : Model().ClassList) {
      options += "<option value=\"" + std::to_string(c.ClassId) + "\">" + EscapeHtml(c.ClassName) + "</option>";
    }
  }
  std::string page = LoginPage(Template::kClassLogin, message);
  ReplacePlaceholder(page, "班级列表", options);
  AppendHtmlPage(session, page, reply);
}

void ServeStaffLoginPage(LoginNode& session, int message, std::string& reply) {
  AppendHtmlPage(session, LoginPage(Template::kStaffLogin, message), reply);
}

}  // namespace korva
