#pragma once
// The public results board ("/GongGao.html", no sign-in) and its two
// feeds: the result tables of counted rounds, newest first, from the print
// queue ("/GetPbDate.html"), and the class points board
// ("/GetPbDate2.html"). The server keeps nothing per board: each page sends
// the newest queue number it shows.
#include <string>

#include "database/model.h"
#include "web/route_table.h"

namespace korva {

// The HTML block of a queued round's result table: its title and unit,
// then one row per entry ("录取" in a preliminary, "第n名" elsewhere).
// Empty when the table has no rows.
std::string BuildResultTableBlock(const ResultPrintItem& item);

// The result feed's text for a board that shows queue numbers up to seen,
// limited to one grade (0: all): each newer entry of the grade as a hidden
// "NowID" input with its number and its table; "Refresh" when a board that
// has seen something meets an entry with the refresh flag, or has seen a
// number above the queue's highest (an empty queue's too); "Start" for a
// fresh board when there is nothing to show. When the queue's head is not
// among the entries sent, its number goes first, so the board's newest
// number is the queue's and a refresh flag on another grade's entry
// reloads the board once, not at every poll. The caller holds DataLock.
std::string BuildResultBoardFeed(int seen, int grade_id);

RouteTable ResultsBoardRoutes();

}  // namespace korva
