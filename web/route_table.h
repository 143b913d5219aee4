#pragma once
// Route rows: everything the server knows about one path. Each page file
// declares its routes as one table of rows next to its handlers; the page
// folders hand their tables to InstallRouteTables at start-up, and the
// router and the dispatcher only read them. A new route is one row and its
// handler; the web server names no page of the page folders.
#include <memory>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "web/http_request.h"
#include "web/login_list.h"

namespace korva {

// Methods a row accepts.
enum class Method : unsigned char { kGet = 1, kPost = 2, kEither = 3 };

// Role sets: bit n stands for UserRole n.
constexpr unsigned Role(int role) { return 1u << role; }
inline constexpr unsigned kAnyone = Role(0) | Role(1) | Role(6) | Role(7) | Role(8);
inline constexpr unsigned kTeacher = Role(1);
inline constexpr unsigned kLoggedIn = Role(1) | Role(6) | Role(7) | Role(8);
inline constexpr unsigned kStaff = Role(6) | Role(7) | Role(8);  // roles 6 and above
inline constexpr unsigned kClerks = Role(7) | Role(8);           // roles above 6
inline constexpr unsigned kAdmin = Role(8);

// How the dispatcher holds DataLock around a handler.
enum class Access : unsigned char {
  kNone,   // not at all: the handler takes what it needs (logins, files,
           // the order book's progress poll)
  kRead,   // shared: the handler only reads the meet
  kWrite,  // alone: the handler changes the meet, a counter or the files
};

// What the dispatcher sends when a handler leaves its reply empty (or
// throws).
enum class EmptyReply : unsigned char {
  kSessionExpired,  // an ordinary page: the session-expired page
  kAdminResult,     // an administrator page: the result page with code 99
  kEmptyBody,       // AJAX, fragment or print frame: the header with an empty body
};

// How the dispatcher answers from the handler's result (RouteContext::result
// and ::message). Every kind but kAsBuilt replaces what the handler wrote.
enum class Answer : unsigned char {
  kAsBuilt,                 // the handler's reply stands
  kResultPage,              // the administration result page, code base + result
  kClassLoginOnFailure,     // non-zero: the class login page with message 3
  kRedirectOnSuccess,       // 0: the redirect page of kind redirect; else as built
  kRedirectElseResultPage,  // 0: redirect of kind redirect with the message;
                            // else the result page with code base
  kRedirectElseFailure,     // 0: redirect of kind redirect with the message;
                            // else the result page with code base and the
                            // message, plain text, escaped
};

struct RouteContext;
using RouteHandler = void (*)(RouteContext& ctx);

struct RouteRow {
  // The path before any query; empty for a route that is reached only by
  // its code (the router's own choices, or a handler that serves another
  // row's page).
  std::string_view path;
  Method method = Method::kEither;
  unsigned roles = 0;
  int code = 0;  // the system's route code
  // Null while the page is not built: the session-expired page.
  RouteHandler handler = nullptr;
  Access access = Access::kRead;
  EmptyReply empty = EmptyReply::kSessionExpired;
  Answer answer = Answer::kAsBuilt;
  int base = 0;      // result-page base (or code) of the answer
  int redirect = 0;  // ServeRedirectPage kind of the answer
  // The path matches any request path that starts with it ("/upcj.html").
  bool prefix = false;
  // Changes something although the dispatcher does not hold DataLock alone
  // for it (signing in or out, starting the order book): like a kWrite row,
  // only the site's own pages may ask (see ChangesSomething).
  bool changes = false;
  // False for what is asked for far more often than pages and needs no web
  // session (images, scripts, style sheets, the results board's feeds): a
  // request without a known cookie is answered without making one, and no
  // cookie is set.
  bool session = true;
  // The body that tells the page its change failed, for a row whose change
  // could not be made durable; null: the empty reply above.
  const char* unsynced = nullptr;
};

using RouteTable = std::span<const RouteRow>;

// True for a row that changes the meet, the accounts or a session, or starts
// work: kWrite rows and those marked changes. The dispatcher answers such a
// row only for a request that the site itself made (a page of the site, a
// typed address), never for one another site's page made the browser send.
inline bool ChangesSomething(const RouteRow& row) { return row.access == Access::kWrite || row.changes; }

// What a handler sees of its request.
struct RouteContext {
  RouteContext(const HttpRequest& request_in, LoginPtr shared_in, LoginNode session_in, std::string& reply_in)
      : request(request_in), shared(std::move(shared_in)), session(std::move(session_in)), reply(reply_in) {}

  const HttpRequest& request;
  // The web session itself, shared with the session list: CheckLogin on it
  // signs this very session in or out. Read its fields through `session`.
  LoginPtr shared;
  // The session's fields as they stood when the request arrived (or at the
  // last Refresh). A copy, so other threads never change it mid-page.
  LoginNode session;
  std::string& reply;  // the whole reply, header included, in GBK
  int route = 0;       // the code being answered (one handler may serve several)
  int result = 0;      // read by the row's answer kind
  std::string message;

  // Reads the shared session again, after the handler changed it.
  void Refresh();
};

// The pages the dispatcher answers with from a row's answer kind and empty
// reply: the administration result page for a code and message (which, for
// the codes of a refused meet creation, is the posted meet name). It lives
// with the page folders, which hand it over with their tables; without it
// those answers stay empty (the session-expired page).
struct AnswerPages {
  void (*result_page)(int code, std::string_view message, const LoginNode& session, std::string& reply) = nullptr;
};

// Replaces every installed table and the answer pages. The web server's own
// rows come first; the page folders' tables follow in the order given. Call
// before the server listens (tests may call it again between runs).
void InstallRouteTables(std::vector<RouteTable> tables, AnswerPages pages = {});

// The installed answer pages.
AnswerPages InstalledAnswerPages();

// Every installed row, the web server's own first.
std::vector<const RouteRow*> AllRouteRows();

// The first installed prefix row whose path starts path (null when none).
const RouteRow* FindPrefixRouteRow(std::string_view path);

// The first installed row with code (null when none).
const RouteRow* FindRouteRow(int code);

// The first installed row for base path, method ("GET"/"POST") and role
// (null when none).
const RouteRow* FindRouteRow(std::string_view base_path, std::string_view method, int role);

}  // namespace korva
