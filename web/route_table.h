#pragma once
// The table from route code to page handler. The page folders register
// their handlers at start-up (RegisterSetupPages, RegisterMeetPages); the
// dispatcher looks them up. A route without a handler answers the
// session-expired page.
#include <string>

#include "web/http_request.h"
#include "web/login_list.h"

// What the dispatcher sends when a handler leaves its reply empty.
enum class EmptyReply {
  kSessionExpired,  // an ordinary page: the session-expired page
  kAdminResult,     // an administrator page: the result page with code 99
  kEmptyBody,       // AJAX, fragment or print frame: the header with an empty body
};

struct RouteContext {
  const HttpRequest& request;
  LoginNode& session;
  std::string& reply;  // the whole reply, header included, in GBK
};

using RouteHandler = void (*)(RouteContext& ctx);

struct RouteEntry {
  RouteHandler handler = nullptr;
  EmptyReply empty = EmptyReply::kSessionExpired;
  // The dispatcher holds DataLock around the handler unless this is false
  // (progress polls that must answer while the order book is written).
  bool hold_data_lock = true;
};

void RegisterRoute(int code, RouteHandler handler, EmptyReply empty = EmptyReply::kSessionExpired,
                   bool hold_data_lock = true);
// The entry of a route code; handler null when none is registered.
RouteEntry FindRoute(int code);
