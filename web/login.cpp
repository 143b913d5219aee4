#include "web/login.h"

#include <algorithm>
#include <cstdlib>
#include <ctime>
#include <mutex>
#include <unordered_map>
#include <vector>

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

// Failed sign-ins are counted per client address, not only per session: a
// client that sends no cookie, or a new one each time, would otherwise never
// be locked out. They lock that address only, never the account, so that a
// guesser anywhere can't keep the rightful user out.
struct FailureRun {
  int count = 0;
  std::time_t first = 0;
};

// What bounds guessing at one account from many addresses together: each
// password check takes a token, a right password gives it back, and tokens
// come back one per kAccountTokenSeconds up to kAccountTokens. So guesses
// are slowed, not refused for good, and an address that signed in to the
// account before is never slowed.
constexpr double kAccountTokens = 10;
constexpr double kAccountTokenSeconds = 30;
constexpr std::size_t kKnownAddresses = 4;

struct AccountGuard {
  double tokens = kAccountTokens;
  std::time_t counted = 0;  // when tokens was last brought up to date
  std::vector<std::string> known_addresses;  // signed in from, most recent last
};

struct FailureBook {
  std::mutex mutex;
  std::unordered_map<std::string, FailureRun> by_address;
  std::unordered_map<std::string, AccountGuard> by_account;  // by AccountKey
};

// Only attempts that were not refused outright count, so at most three per
// address and five minutes arrive; expired entries are swept past this size.
constexpr std::size_t kSweptEntries = 4096;

FailureBook& Failures() {
  static FailureBook book;
  return book;
}

// The account a sign-in names, whatever way it was typed ("0102" and "102"
// are the same class); empty when it can name none.
std::string AccountKey(std::string_view name, bool staff) {
  if (staff) return "staff:" + std::string(name);
  if (name.empty() || name.size() > 9 || name.find_first_not_of("0123456789") != std::string_view::npos) return {};
  return "class:" + std::to_string(std::atoi(std::string(name).c_str()));
}

bool IsRunLocked(const FailureRun& run, std::time_t now) {
  return run.count >= kLockOutFailures && now - run.first < kLockOutSeconds;
}

bool IsAddressLocked(const std::string& address, std::time_t now) {
  FailureBook& book = Failures();
  std::lock_guard<std::mutex> hold(book.mutex);
  auto found = book.by_address.find(address);
  return found != book.by_address.end() && IsRunLocked(found->second, now);
}

void CountAddressFailure(const std::string& address, std::time_t now) {
  FailureBook& book = Failures();
  std::lock_guard<std::mutex> hold(book.mutex);
  FailureRun& run = book.by_address[address];
  if (run.count == 0 || now - run.first >= kLockOutSeconds) {
    run = {1, now};
  } else {
    ++run.count;
  }
  if (book.by_address.size() > kSweptEntries) {
    std::erase_if(book.by_address, [now](const auto& entry) { return now - entry.second.first >= kLockOutSeconds; });
  }
}

void RefillTokens(AccountGuard& guard, std::time_t now) {
  if (now > guard.counted) {
    guard.tokens = std::min(kAccountTokens, guard.tokens + static_cast<double>(now - guard.counted) / kAccountTokenSeconds);
  }
  guard.counted = now;
}

// Takes the token a password check at the account costs; false while the
// account is slowed down for that address.
bool TakeAccountToken(const std::string& key, const std::string& address, std::time_t now) {
  if (key.empty()) return true;
  FailureBook& book = Failures();
  std::lock_guard<std::mutex> hold(book.mutex);
  AccountGuard& guard = book.by_account[key];
  RefillTokens(guard, now);
  if (std::find(guard.known_addresses.begin(), guard.known_addresses.end(), address) != guard.known_addresses.end())
    return true;
  if (guard.tokens < 1) return false;
  guard.tokens -= 1;
  if (book.by_account.size() > kSweptEntries) {
    std::erase_if(book.by_account, [now](const auto& entry) {
      const AccountGuard& old = entry.second;
      double refilled = old.tokens + static_cast<double>(now - old.counted) / kAccountTokenSeconds;
      return refilled >= kAccountTokens && old.known_addresses.empty();
    });
  }
  return true;
}

// The password was right: the token comes back, and the address is known.
void CountAccountSuccess(const std::string& key, const std::string& address, std::time_t now) {
  if (key.empty()) return;
  FailureBook& book = Failures();
  std::lock_guard<std::mutex> hold(book.mutex);
  AccountGuard& guard = book.by_account[key];
  RefillTokens(guard, now);
  auto& known = guard.known_addresses;
  if (auto found = std::find(known.begin(), known.end(), address); found != known.end()) {
    known.erase(found);
  } else {
    guard.tokens = std::min(kAccountTokens, guard.tokens + 1);
  }
  known.push_back(address);
  if (known.size() > kKnownAddresses) known.erase(known.begin());
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
  return IsAddressLocked(session.ClientAddress, now) ? 1 : 0;
}

void ClearLoginFailures() {
  FailureBook& book = Failures();
  std::lock_guard<std::mutex> hold(book.mutex);
  book.by_address.clear();
  book.by_account.clear();
}

void SignOut(LoginNode& session) {
  LoginGuard hold(LoginListLock);
  ClearLogin(session);
  session.OwnerKey = 0;
  RenumberSession(session);
}

int CheckLogin(LoginNode& session, std::string_view name, std::string_view password, bool staff) {
  std::time_t now = std::time(nullptr);
  std::string client_address;
  {
    LoginGuard hold(LoginListLock);
    client_address = session.ClientAddress;
  }
  const std::string account_key = AccountKey(name, staff);
  AccountRecord account;
  int reason = 1;
  if (IsAddressLocked(client_address, now) || !TakeAccountToken(account_key, client_address, now)) {
    reason = kLoginLockedOut;
  } else if (!password.empty() && !HoldsForbiddenLoginCharacter(name, staff) &&
             !HoldsForbiddenLoginCharacter(password, staff)) {
    // A blank password never signs in, whatever an account holds.
    DataGuard hold(DataLock);
    if (ReadAccount(name, password, staff, account)) reason = RefusalReason(account, staff, client_address, now);
  }
  if (reason == 1) {
    CountAddressFailure(client_address, now);
  } else if (reason != kLoginLockedOut) {
    CountAccountSuccess(account_key, client_address, now);
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
  // seen or set) is worth nothing after. A session no longer listed (all
  // were dropped by a meet switch meanwhile) can't carry a sign-in.
  if ((session.AccountId != account.Id || session.Role != account.Role) && !RenumberSession(session)) {
    ClearLogin(session);
    session.Reason = kLoginNotSaved;
    return 0;
  }
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
