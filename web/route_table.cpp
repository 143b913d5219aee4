#include "web/route_table.h"

#include <atomic>
#include <mutex>

#include "web/session.h"
#include "web/web_routes.h"

namespace korva {

namespace {

// The installed tables; written at start-up, read by every request.
std::mutex tables_mutex;
std::shared_ptr<const std::vector<RouteTable>> installed;

std::shared_ptr<const std::vector<RouteTable>> Tables() {
  std::lock_guard<std::mutex> hold(tables_mutex);
  if (!installed) installed = std::make_shared<const std::vector<RouteTable>>(1, WebServerRoutes());
  return installed;
}

bool MethodFits(Method method, std::string_view request_method) {
  unsigned bit = request_method == "GET" ? 1u : request_method == "POST" ? 2u : 0u;
  return (static_cast<unsigned>(method) & bit) != 0;
}

std::atomic<AdminResultPageHook> admin_result_hook{nullptr};
std::atomic<SetupStageHook> setup_stage_hook{nullptr};
std::atomic<CertificateCssHook> certificate_css_hook{nullptr};

}  // namespace

void RouteContext::Refresh() { session = SnapshotSession(shared); }

void InstallRouteTables(std::vector<RouteTable> tables) {
  tables.insert(tables.begin(), WebServerRoutes());
  auto next = std::make_shared<const std::vector<RouteTable>>(std::move(tables));
  std::lock_guard<std::mutex> hold(tables_mutex);
  installed = std::move(next);
}

std::vector<const RouteRow*> AllRouteRows() {
  std::vector<const RouteRow*> rows;
  for (RouteTable table : *Tables()) {
    for (const RouteRow& row : table) rows.push_back(&row);
  }
  return rows;
}

const RouteRow* FindRouteRow(int code) {
  for (RouteTable table : *Tables()) {
    for (const RouteRow& row : table) {
      if (row.code == code) return &row;
    }
  }
  return nullptr;
}

const RouteRow* FindRouteRow(std::string_view base_path, std::string_view method, int role) {
  if (role < 0 || role > 8) return nullptr;
  for (RouteTable table : *Tables()) {
    for (const RouteRow& row : table) {
      if (row.path.empty() || row.prefix || row.path != base_path) continue;
      if (MethodFits(row.method, method) && (row.roles & Role(role))) return &row;
    }
  }
  return nullptr;
}

void SetAdminResultPageHook(AdminResultPageHook hook) { admin_result_hook = hook; }

void ServeAdminResultPage(int code, std::string_view message, const LoginNode& session, std::string& reply) {
  if (AdminResultPageHook hook = admin_result_hook) hook(code, message, session, reply);
}

void SetSetupStageHook(SetupStageHook hook) { setup_stage_hook = hook; }

int SetupStageOfMeet() {
  SetupStageHook hook = setup_stage_hook;
  return hook ? hook() : 0;
}

void SetCertificateCssHook(CertificateCssHook hook) { certificate_css_hook = hook; }

void BuildCertificateCssFor(int layout_key, std::string& css) {
  if (CertificateCssHook hook = certificate_css_hook) hook(layout_key, css);
}

}  // namespace korva
