#include "web/route_table.h"

#include <array>
#include <atomic>
#include <mutex>

namespace korva {

namespace {

// Route codes run from 0 to 399; registration happens before the server
// listens, but a lock keeps a late registration safe as well.
constexpr int kMaxRoute = 400;
std::array<RouteEntry, kMaxRoute> routes;
std::mutex routes_mutex;

std::atomic<AdminResultPageHook> admin_result_hook{nullptr};
std::atomic<CertificateCssHook> certificate_css_hook{nullptr};
std::atomic<SetupStageHook> setup_stage_hook{nullptr};
std::atomic<ModelConsistencyHook> consistency_hook{nullptr};

}  // namespace

void RegisterRoute(int code, RouteHandler handler, EmptyReply empty, bool hold_data_lock) {
  if (code < 0 || code >= kMaxRoute) return;
  std::lock_guard<std::mutex> hold(routes_mutex);
  routes[code] = RouteEntry{handler, empty, hold_data_lock};
}

RouteEntry FindRoute(int code) {
  if (code < 0 || code >= kMaxRoute) return {};
  std::lock_guard<std::mutex> hold(routes_mutex);
  return routes[code];
}

void SetAdminResultPageHook(AdminResultPageHook hook) { admin_result_hook = hook; }

void ServeAdminResultPage(int code, std::string_view message, LoginNode& session, std::string& reply) {
  if (AdminResultPageHook hook = admin_result_hook) hook(code, message, session, reply);
}

void SetCertificateCssHook(CertificateCssHook hook) { certificate_css_hook = hook; }

void BuildCertificateCssFor(int layout_key, std::string& css) {
  if (CertificateCssHook hook = certificate_css_hook) hook(layout_key, css);
}

void SetSetupStageHook(SetupStageHook hook) { setup_stage_hook = hook; }

int SetupStageOfMeet() {
  SetupStageHook hook = setup_stage_hook;
  return hook ? hook() : 0;
}

void SetModelConsistencyHook(ModelConsistencyHook hook) { consistency_hook = hook; }

int ModelConsistencyOfMeet() {
  ModelConsistencyHook hook = consistency_hook;
  return hook ? hook() : 0;
}

}  // namespace korva
