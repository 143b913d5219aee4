#pragma once
// The built-in templates (ids 130 to 177): pages, fragments, scripts, style
// sheets and the order book's Word XML pieces, kept in resources/templates
// as UTF-8 and converted to GBK once when the cache is loaded. A page's
// placeholder is "<%=name%>"; the Word pieces hold bare words.
#include <string>
#include <string_view>

#include "web/login_list.h"

namespace korva {

// The built-in templates by name; the number is the template's id and the
// name of its file under resources/templates.
enum class Template : int {
  kStaffLogin = 130,          // staff login page
  kClassHome = 131,           // class teacher's home page
  kAdminFrame = 132,          // administration frame
  kMeetStatus = 133,          // administrator's home: the set-up status table
  kServiceClosed = 134,
  kClassLogin = 135,
  kCreateMeetForm = 136,
  kCreateMeetScript = 137,
  kSessionExpired = 138,
  kMeetInfoScript = 139,
  kMeetInfoForm = 140,
  kGroupsForm = 141,
  kGroupEventsForm = 142,
  kGroupsScript = 143,
  kGroupEventsScript = 144,
  kAdminJs = 145,             // admin.js
  kVenueForm = 146,
  kEventForm = 147,
  kGradeForm = 148,
  kClassFrame = 150,          // class teacher's secondary pages
  kAdminCss = 151,            // admin.css
  kSchedule = 152,            // schedule fragment
  kOrderBookControl = 153,
  kAfJs = 154,                // af.js
  // The order book's Word XML pieces; their placeholders are bare words.
  kOrderBookHead = 155,       // the XML head up to "<w:body><wx:sect>"
  kOrderBookTail = 156,       // section set-up, page header and footer: 主办单位, 运动会名称
  kOrderBookTitle = 157,      // centred 黑体 title: 标题, and 36 for its size in half-points
  kOrderBookPageTitle = 158,  // the same after a page break: 标题
  kOrderBookHeatTable = 159,  // the 4 x 7 heat table: 格11 .. 格47
  kInscoreJs = 165,           // inscore.js
  kPrintFrame = 166,          // print-document frame
  kPrintCssBase = 167,        // print style-sheet base
  kAddAdminForm = 168,
  kClerkFrame = 169,          // score-entry clerk's frame
  kAdvancedMenu = 170,        // advanced-functions menu
  kPrintAdminFrame = 172,     // print administrator's frame
  kEnrollForm = 173,          // class teacher's enrol page
  kReportsMenu = 174,
  kResultsBoard = 175,
  kTrackForm = 176,           // built-in track form
};

// Loads every template of ids 130 to 177 that exists into HtmlTemplateCache;
// the number loaded. Called once at server start, before any request.
int LoadHtmlTemplateCache();

// Copies the cached text of a template into out: true; false for a template
// that is not built in (out is left unchanged).
bool LoadHtmlTemplate(Template id, std::string& out);

// The cached text of a template, null when there is none. Valid until the
// cache is reloaded (server start only).
const std::string* FindHtmlTemplate(Template id);

// Replaces the first "<%=name%>" in page with value (placed as given: the
// caller escapes data values). A placeholder that is not there is a fault
// of the program: false, and a line on standard error.
bool ReplacePlaceholder(std::string& page, std::string_view name, std::string_view value);

// Fills the head every page template carries: "<%=标题%>" = title,
// "<%=主办单位%>" = OrganiserName and "<%=运动会名称%>" = MeetName (both
// escaped). Takes DataLock shared to read the meet globals.
void FillPageHead(std::string& page, std::string_view title);

// A page frame (kAdminFrame, kClerkFrame or kPrintAdminFrame) with
// "<%=标题%>" = title, "<%=主办单位%>" = OrganiserName,
// "<%=运动会名称%>" = MeetName and "<%=用户名%>" = the session's user name (these
// three escaped), "<%=脚本%>" = script and "<%=具体内容%>" = content (program
// markup, placed as given). Takes DataLock shared to read the meet globals.
std::string BuildFramedPage(Template frame, const LoginNode& session, std::string_view title,
                            std::string_view script, std::string_view content);

// The frame of a staff role, whose menu holds only what that role may open:
// the print administrator's (role 6), the clerk's (7) or the
// administrator's (8 and any other).
Template StaffFrameOf(int role);

// The title every administration page carries.
inline constexpr const char* kAdminPageTitle = "欢迎使用QV网络运动会管理系统";
// The script tags of the frames' "<%=脚本%>".
inline constexpr const char* kAdminScriptTag = "<script src=\"admin.js\" type=\"text/javascript\"></script>";
inline constexpr const char* kAfScriptTag = "<script src=\"af.js\" type=\"text/javascript\"></script>";
inline constexpr const char* kInscoreScriptTag = "<script src=\"inscore.js\" type=\"text/javascript\"></script>";

}  // namespace korva
