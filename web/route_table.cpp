#include "web/route_table.h"

#include <mutex>

#include "web/session.h"
#include "web/web_routes.h"

namespace korva {

namespace {

// The installed tables and answer pages; written at start-up, read by
// every request.
struct Installed {
  std::vector<RouteTable> tables;
  AnswerPages pages;
};
std::mutex tables_mutex;
std::shared_ptr<const Installed> installed;

std::shared_ptr<const Installed> Current() {
  std::lock_guard<std::mutex> hold(tables_mutex);
  if (!installed) installed = std::make_shared<const Installed>(Installed{{WebServerRoutes()}, {}});
  return installed;
}

bool MethodFits(Method method, std::string_view request_method) {
  unsigned bit = request_method == "GET" ? 1u : request_method == "POST" ? 2u : 0u;
  return (static_cast<unsigned>(method) & bit) != 0;
}

}  // namespace

void RouteContext::Refresh() { session = SnapshotSession(shared); }

void InstallRouteTables(std::vector<RouteTable> tables, AnswerPages pages) {
  tables.insert(tables.begin(), WebServerRoutes());
  auto next = std::make_shared<const Installed>(Installed{std::move(tables), pages});
  std::lock_guard<std::mutex> hold(tables_mutex);
  installed = std::move(next);
}

AnswerPages InstalledAnswerPages() { return Current()->pages; }

std::vector<const RouteRow*> AllRouteRows() {
  std::vector<const RouteRow*> rows;
  const std::shared_ptr<const Installed> current = Current();
  for (RouteTable table : current->tables) {
    for (const RouteRow& row : table) rows.push_back(&row);
  }
  return rows;
}

const RouteRow* FindPrefixRouteRow(std::string_view path) {
  const std::shared_ptr<const Installed> current = Current();
  for (RouteTable table : current->tables) {
    for (const RouteRow& row : table) {
      if (row.prefix && path.starts_with(row.path)) return &row;
    }
  }
  return nullptr;
}

const RouteRow* FindRouteRow(int code) {
  const std::shared_ptr<const Installed> current = Current();
  for (RouteTable table : current->tables) {
    for (const RouteRow& row : table) {
      if (row.code == code) return &row;
    }
  }
  return nullptr;
}

const RouteRow* FindRouteRow(std::string_view base_path, std::string_view method, int role) {
  if (role < 0 || role > 8) return nullptr;
  const std::shared_ptr<const Installed> current = Current();
  for (RouteTable table : current->tables) {
    for (const RouteRow& row : table) {
      if (row.path.empty() || row.prefix || row.path != base_path) continue;
      if (MethodFits(row.method, method) && (row.roles & Role(role))) return &row;
    }
  }
  return nullptr;
}

}  // namespace korva
