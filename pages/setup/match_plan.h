#pragma once
// The schedule page "/MatchPlan.html" (administrator): every round is put
// into a half-day session and ordered there; the page shows one session and
// one kind (track or field) at a time, with the start time of each round.
#include <string>
#include <string_view>

#include "web/login_list.h"
#include "web/route_table.h"

namespace korva {

// Kinds of the page's two tabs.
enum MatchPlanKind { kTrackRounds = 1, kFieldRounds = 2 };

// The sentence of a GET that found the model inconsistent.
inline constexpr const char* kMatchPlanDataError = "数据有错误，建议管理员重新建立运动会！";

// Appends the whole page (header and framed template 152) for half-day
// session day_id and kind match_type to reply: 0. A session below 1 shows
// session 1, a kind other than 1 and 2 the track tab. selection holds the
// rounds to mark selected on the right, each id between dashes ("-3-7-").
// 1, with reply untouched, when a round's contest, group, event or venue is
// missing or its grade has no class (the misses of contest, group and venue
// are logged). Reads the model: the caller holds DataLock.
int ServeMatchPlanPage(const LoginNode& session, std::string& reply, int day_id, int match_type,
                       std::string_view selection);

// The schedule form's POST (fields Isday, IsYard, CaoZuo and the repeated
// dablist for CaoZuo 1, yablist for the others): applies the operation to
// the submitted rounds in one go. 0 with reply = the query that brings the
// page back to the same session, kind and selection
// ("?DayID=1&MatchType=2&YapSel=-3-7-"); 1 with reply = the sentence when
// the form was malformed or named an unknown round (nothing changed) or
// when storing failed (nothing changed either). The caller holds DataLock alone.
int HandleMatchPlanPost(std::string_view body, std::string& reply);

// GET "/MatchPlan.html" with its query (route 47), "/SetupMeet.html" at
// the scheduling stage (route 36) and POST "/MatchPlan.html" (route 161).
RouteTable MatchPlanRoutes();

}  // namespace korva
