#pragma once
// What the pages of set-up steps ① to ③ (meet information, competition
// groups, group events) share: the refusal while no meet is open, the
// sections of their posted forms, the reload after a group change and the
// store reports shown on the result page.
#include <string>
#include <string_view>
#include <vector>

#include "web/login_list.h"

namespace korva {

// While no meet is open, appends the result page that sends the
// administrator to create one and returns true; false otherwise. The
// caller holds DataLock.
bool ServeNoMeetPage(const LoginNode& session, std::string& reply);

// Splits a posted body into sections: each starts at an occurrence of
// start_key (the first one) and runs to the next occurrence of next_key or
// to the end of the body. False when the body has no start_key, when a
// section starts fewer than 10 bytes before the end of the body or when a
// section holds max_bytes or more.
bool SplitFormSections(std::string_view body, std::string_view start_key, std::string_view next_key,
                       std::size_t max_bytes, std::vector<std::string_view>* sections);

// Rebuilds the lists a group or group-event change touches: groups, their
// events, contests and rounds. False (logged) when a loader failed. The
// caller holds DataLock for writing.
bool ReloadGroupLists();

// A store's report (plain GBK lines, each ending in "\n") as markup for the
// result page: escaped, the lines separated by "<br />".
std::string ReportHtml(std::string_view report);

}  // namespace korva
