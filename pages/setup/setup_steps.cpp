#include "pages/setup/setup_steps.h"

#include "database/data_error.h"
#include "database/data_lock.h"
#include "database/loaders.h"
#include "database/model.h"
#include "pages/common/setup_result_page.h"
#include "web/escape.h"

namespace korva {

namespace {

constexpr std::size_t kMinSectionTail = 10;
// The result page that sends the administrator to the create-meet page.
constexpr int kResultNoMeet = 7;

}  // namespace

bool ServeNoMeetPage(const LoginNode& session, std::string& reply) {
  AssertDataLockHeld();
  if (Model().CurrentMeetId != 0) return false;
  ServeSetupResultPage(session, kResultNoMeet, "您还没有建立运动会，请先新建一个运动会！", reply);
  return true;
}

bool SplitFormSections(std::string_view body, std::string_view start_key, std::string_view next_key,
                       std::size_t max_bytes, std::vector<std::string_view>* sections) {
  std::size_t start = body.find(start_key);
  if (start == std::string_view::npos) return false;
  while (start != std::string_view::npos) {
    std::size_t next = body.find(next_key, start + 1);
    std::size_t end = next == std::string_view::npos ? body.size() : next;
    if (body.size() - start < kMinSectionTail || end - start >= max_bytes) return false;
    sections->push_back(body.substr(start, end - start));
    start = next;
  }
  return true;
}

bool ReloadGroupLists() {
  AssertDataLockHeld(true);
  // Group events hang on the groups, so the groups come first.
  bool loaded = LoadGroups() == 0 && LoadGroupEvents() == 0 && LoadContests() == 0 && LoadRounds() == 0;
  if (!loaded) LogServerMessage("set-up: the groups, contests or rounds could not be reloaded");
  return loaded;
}

std::string ReportHtml(std::string_view report) {
  std::string html;
  std::size_t start = 0;
  while (start < report.size()) {
    std::size_t end = report.find('\n', start);
    if (end == std::string_view::npos) end = report.size();
    if (!html.empty()) html += "<br />";
    html += EscapeHtml(report.substr(start, end - start));
    start = end + 1;
  }
  return html;
}

}  // namespace korva
