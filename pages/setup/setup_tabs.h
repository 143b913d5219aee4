#pragma once
// The tab bar over the school catalogue pages (grades, events, venues,
// scoring schemes, school records): one link per page, the current one
// greyed and without its link.
#include <string>

namespace korva {

enum class SetupTab { kGrades, kEvents, kVenues, kSchemes, kRecords };

// The bar as a content row of the administration frame.
std::string BuildSetupTabBar(SetupTab current);

}  // namespace korva
