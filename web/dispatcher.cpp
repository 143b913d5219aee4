#include "web/dispatcher.h"

#include <ctime>
#include <exception>
#include <mutex>
#include <shared_mutex>

#include "database/data_error.h"
#include "database/data_lock.h"
#include "database/durable_commits.h"
#include "database/model.h"
#include "web/escape.h"
#include "web/login.h"
#include "web/network.h"
#include "web/response.h"
#include "web/route_table.h"
#include "web/router.h"
#include "web/session.h"
#include "web/templates.h"

namespace korva {

namespace {

void ServeResultPage(int code, std::string_view message, const LoginNode& session, std::string& reply) {
  if (auto page = InstalledAnswerPages().result_page) page(code, message, session, reply);
}

void AnswerEmpty(EmptyReply kind, const LoginNode& session, std::string& reply) {
  reply.clear();
  switch (kind) {
    case EmptyReply::kAdminResult:
      ServeResultPage(99, "", session, reply);
      if (reply.empty()) ServeSessionExpiredPage(session, reply);
      break;
    case EmptyReply::kEmptyBody:
      AppendHtmlPage(session, "", reply);
      break;
    case EmptyReply::kSessionExpired:
      ServeSessionExpiredPage(session, reply);
      break;
  }
}

// Runs the handler with DataLock held as its row asks. False when it threw:
// its result then means nothing (0 would read as success), so the caller
// answers as for an empty reply.
bool RunHandler(const RouteRow& row, RouteContext& ctx) {
  try {
    switch (row.access) {
      case Access::kNone: row.handler(ctx); break;
      case Access::kRead: {
        DataReadGuard hold(DataLock);
        row.handler(ctx);
        break;
      }
      case Access::kWrite: {
        DataGuard hold(DataLock);
        row.handler(ctx);
        break;
      }
    }
    return true;
  } catch (const std::exception& e) {
    LogServerMessage("route " + std::to_string(ctx.route) + ": " + e.what());
    ctx.reply.clear();
    return false;
  }
}

// The answer a row builds from its handler's result.
void AnswerFromResult(const RouteRow& row, RouteContext& ctx) {
  const LoginNode& session = ctx.session;
  std::string& reply = ctx.reply;
  switch (row.answer) {
    case Answer::kAsBuilt:
      return;
    case Answer::kResultPage:
      reply.clear();
      ServeResultPage(row.base + ctx.result, ctx.message, session, reply);
      return;
    case Answer::kClassLoginOnFailure:
      if (ctx.result == 0) return;
      reply.clear();
      ServeClassLoginPage(ctx.session, kLoginMeetNotReady, reply);
      return;
    case Answer::kRedirectOnSuccess:
      if (ctx.result != 0) return;
      reply.clear();
      ServeRedirectPage(row.redirect, "", session, reply);
      return;
    case Answer::kRedirectElseResultPage:
      reply.clear();
      if (ctx.result == 0) {
        ServeRedirectPage(row.redirect, ctx.message, session, reply);
      } else {
        ServeResultPage(row.base, ctx.message, session, reply);
      }
      return;
    case Answer::kRedirectElseFailure:
      reply.clear();
      if (ctx.result == 0) {
        ServeRedirectPage(row.redirect, ctx.message, session, reply);
      } else {
        ServeResultPage(row.base, EscapeHtml(ctx.message), session, reply);
      }
      return;
  }
}

// A change that may not be on disk is answered as a failed one, never with
// the handler's success.
void AnswerUnsynced(const RouteRow& row, RouteContext& ctx) {
  LogServerMessage("route " + std::to_string(ctx.route) + ": the change could not be synced to disk");
  ctx.reply.clear();
  if (row.unsynced) AppendHtmlPage(ctx.session, row.unsynced, ctx.reply);
}

}  // namespace

void HandleHttpRequest(const HttpRequest& request, std::string& reply) {
  std::time_t now = std::time(nullptr);
  LoginPtr shared = FindSession(request.SessionNumber, request.ClientAddress, now);
  int role = shared ? SnapshotSession(shared).Role : kRoleNone;
  if (role > kRolePrintAdmin && !IsLocalNetworkAddress(request.ClientAddress)) role = kRoleNone;
  RouteMatch match = MatchRoute(request, role);
  RequestSource source = SourceOfRequest(request);
  // A request that says nothing of where it came from changes something
  // only with the companion cookie, which a browser sends only with what
  // the site itself asked for: a page of another site that hides its
  // address can still have a link followed here with the session cookie.
  bool refused = match.row && ChangesSomething(*match.row) &&
                 (source == RequestSource::kAnotherSite ||
                  (source == RequestSource::kUnmarked &&
                   (request.SiteCookieNumber == 0 || request.SiteCookieNumber != request.SessionNumber)));
  // A new session (and its cookie) only for what needs one; files, scripts
  // and the board's feeds get a blank one that no list holds. Nor does what
  // another site made the browser send, whose cookie would replace the
  // browser's own.
  if (!shared) {
    shared = (!match.row || match.row->session) && !refused && source != RequestSource::kAnotherSite
                 ? FindOrCreateSession(request.SessionNumber, request.ClientAddress, now)
                 : std::make_shared<LoginNode>();
  }
  // This request's reply is built apart, so the empty test sees only it.
  std::string own;
  RouteContext ctx{request, shared, SnapshotSession(shared), own};
  ctx.route = match.code;
  if (refused) {
    AppendStatusReply(403, own);
  } else if (match.row && match.row->handler) {
    const bool ran = RunHandler(*match.row, ctx);
    // Every reply waits, outside DataLock, until what its handler committed
    // is on disk; a writer's, until every commit before it is, since it
    // may report what another request committed ("stored already").
    if (!(match.row->access == Access::kWrite ? WaitForAllCommits() : WaitForOwnCommits())) {
      AnswerUnsynced(*match.row, ctx);
    } else if (ran) {
      AnswerFromResult(*match.row, ctx);
    }
    if (own.empty()) AnswerEmpty(match.row->empty, ctx.session, own);
  }
  if (own.empty()) ServeSessionExpiredPage(ctx.session, own);
  reply += own;
}

}  // namespace korva
