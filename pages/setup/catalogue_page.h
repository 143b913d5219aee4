#pragma once
// Steps shared by the school catalogue pages (grades and classes, events,
// venues, scoring schemes): they all work on the open meet, whose tables
// and their base-file twins they change together.
#include <string>
#include <string_view>

#include "web/route_table.h"

namespace korva {

// What the catalogue pages answer while no meet is open: the catalogue
// lives in the open meet's file, so it is set up once a meet exists.
inline constexpr const char* kNoMeetOpen = "您还没有建立运动会，请先新建一个运动会！";

// True while a meet is open. Otherwise a page request gets the result page
// that leads to the create-meet page; a post gets result 1 with the reason.
bool CatalogueMeetOpen(RouteContext& ctx);

// Appends the administration frame (script admin.js) around content.
void ServeCataloguePage(RouteContext& ctx, std::string_view content);

// The integer of a query or body field, as the browser sends it (atoi
// rules, 0 when absent).
int FieldInt(std::string_view source, std::string_view key);

// A button that runs onclick (program script), greyed when disabled.
std::string Button(const char* label, const std::string& onclick, bool disabled = false);

// A refused or failed post: result 1 with the reason.
void Refuse(RouteContext& ctx, std::string reason);

// One option of a select: value, text (program text or escaped data) and
// whether it is marked selected.
std::string Option(std::string_view value, std::string_view text, bool selected);
std::string Option(int value, std::string_view text, bool selected);

}  // namespace korva
