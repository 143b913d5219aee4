#include "pages/setup/setup_tabs.h"

namespace korva {

namespace {

struct Tab {
  SetupTab tab;
  const char* path;
  const char* label;
};

constexpr Tab kTabs[] = {
    {SetupTab::kGrades, "SetupSchool.html", "学校班级设置"},
    {SetupTab::kEvents, "ShowMatch.html", "比赛项目设置"},
    {SetupTab::kVenues, "ShowYards.html", "比赛场地设置"},
    {SetupTab::kSchemes, "ShowScore.html", "得分分制设置"},
    {SetupTab::kRecords, "ShowTopScore.html", "最高纪录设置"},
};

}  // namespace

std::string BuildSetupTabBar(SetupTab current) {
  std::string bar = "<tr><td>";
  for (const Tab& tab : kTabs) {
    if (tab.tab == current) {
      bar += std::string("<div class=\"TabDivHui\">") + tab.label + "</div>";
    } else {
      bar += std::string("<div class=\"TabDivBai\"><a href=\"") + tab.path + "\">" + tab.label + "</a></div>";
    }
  }
  return bar + "</td></tr>\r\n";
}

}  // namespace korva
