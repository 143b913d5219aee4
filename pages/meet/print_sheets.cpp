#include "pages/meet/print_sheets.h"

#include <array>
#include <atomic>
#include <cstdio>
#include <ctime>
#include <functional>
#include <span>
#include <string>

#include "database/data_lock.h"
#include "database/hold_cache.h"
#include "database/lookups.h"
#include "database/store_rounds.h"
#include "pages/common/number_list.h"
#include "pages/meet/certificate_layout.h"
#include "pages/meet/certificates.h"
#include "pages/meet/check_in_sheets.h"
#include "pages/meet/result_sheet.h"
#include "pages/meet/round_context.h"
#include "web/escape.h"
#include "web/response.h"
#include "web/templates.h"

namespace korva {

namespace {

// The sheets a "/ViewTable.html" request may ask for.
enum Sheet { kCheckIn = 1, kOtherRoundCheckIn = 2, kResults = 3, kCertificates = 4, kPreview = 5, kTestCertificate = 6 };

constexpr const char* kPrintNow = "<script type=\"text/javascript\">\r\n\tparent.printhtml(0);\r\n</script>\r\n";
constexpr const char* kSampleSchool = "育才小学";
constexpr const char* kSampleMeet = "春季田径运动会";
constexpr const char* kSamplePupil = "<strong>三年级(2)班 李明</strong>同学：";
constexpr const char* kSampleEvent = "荣获 一年级 男子 立定跳远 比赛";

// The query text after the first "=" (empty without one).
std::string_view QueryText(std::string_view path) {
  const std::size_t at = path.find('=');
  return at == std::string_view::npos ? std::string_view() : path.substr(at + 1);
}

// The print a sheet view counts once its page is built: the round's counter,
// and its print-queue entry's when asked from the print centre.
struct PrintCount {
  int RoundId = 0;
  int RoundNode::*Counter = nullptr;
  int ResultPrintItem::*QueueCounter = nullptr;
};

// Counts the print; the caller holds DataLock, shared is enough (see
// CountRoundPrint). A round gone meanwhile counts nothing.
void CountPrint(const PrintCount& count) {
  RoundNode* round = FindRoundById(count.RoundId);
  if (!round) return;
  CountRoundPrint(*round, count.Counter);
  if (!count.QueueCounter) return;
  for (ResultPrintItem& item : Model().PrintQueue)
    if (item.RoundId == count.RoundId)
      std::atomic_ref<int>(item.*count.QueueCounter).fetch_add(1, std::memory_order_relaxed);
}

// The sheets of round T (1 to 4) into sheets, with the print to count;
// false when the round or one of its parts is missing.
bool BuildRoundSheet(int sheet, int round_id, bool from_print_centre, std::string& sheets, PrintCount& count) {
  RoundContext context;
  if (ResolveRoundContext(round_id, context) != 0) return false;
  const std::span<const LaneNode> lanes = LanesOfRound(round_id);
  if (lanes.empty()) return false;
  const RoundNode& round = *context.Round;
  count.RoundId = round_id;
  switch (sheet) {
    case kCheckIn:
      PrintRoundCheckIn(sheets, round, *context.Event, *context.Group, lanes);
      count.Counter = &RoundNode::CheckInPrints;
      return true;
    case kOtherRoundCheckIn: {
      // A preliminary's final, a final's preliminary; a direct final has
      // no other round.
      const int other_kind = round.Kind == kPrelim ? kFinalAfterPrelim : round.Kind == kFinalAfterPrelim ? kPrelim : 0;
      const RoundNode* other = other_kind ? FindRoundByContestAndKind(round.ContestId, other_kind) : nullptr;
      const EventNode* event = other ? FindEventOfRound(*other) : nullptr;
      const std::span<const LaneNode> other_lanes = other ? LanesOfRound(other->Id) : std::span<const LaneNode>();
      if (!event || other_lanes.empty()) return false;
      PrintRoundCheckIn(sheets, *other, *event, *context.Group, other_lanes);
      count = {.RoundId = other->Id, .Counter = &RoundNode::CheckInPrints};
      return true;
    }
    case kResults:
      BuildResultSheet(lanes, sheets, round, *context.Event, *context.Group);
      count.Counter = &RoundNode::ResultPrints;
      if (from_print_centre) count.QueueCounter = &ResultPrintItem::ResultPrints;
      return true;
    case kCertificates:
      BuildRoundCertificates(lanes, sheets, *context.Event, *context.Group);
      count.Counter = &RoundNode::CertificatePrints;
      if (from_print_centre) count.QueueCounter = &ResultPrintItem::CertificatePrints;
      return true;
    default: return false;
  }
}

// A check-in sheet built, with the print a view of it counts.
struct BuiltSheet {
  bool Built = false;
  std::string Text;
  PrintCount Count;
};

// BuildRoundSheet; the check-in sheets (1 and 2) are built once per change
// of the meet, since views come in bursts while it stands still (a count
// changes no sheet).
bool BuildRoundSheetOnce(int sheet, int round_id, bool from_print_centre, std::string& sheets, PrintCount& count) {
  if (sheet != kCheckIn && sheet != kOtherRoundCheckIn)
    return BuildRoundSheet(sheet, round_id, from_print_centre, sheets, count);
  static HoldCache<std::pair<int, int>, BuiltSheet> cache;  // only rounds that exist: bounded by the meet
  const BuiltSheet built = cache.Get({sheet, round_id}, [&](BuiltSheet& out) {
    return out.Built = BuildRoundSheet(sheet, round_id, from_print_centre, out.Text, out.Count);
  });
  if (!built.Built) return false;
  sheets += built.Text;
  count = built.Count;
  return true;
}

// The sample certificate of the layout page: the date that prints, a
// sample pupil, event and place, and the school's own organiser and meet
// lines, or a sample school's while the school has not given its name.
CertificateLines SampleLines(bool test_print) {
  const MeetModel& meet = Model();
  CertificateLines lines;
  lines.Pupil = kSamplePupil;
  lines.Event = kSampleEvent;
  lines.Place = "第 一 名";
  lines.Date = FormatCertificateDate(std::time(nullptr));
  if (meet.OrganiserName == kDefaultOrganiserName) {
    lines.Organiser = kSampleSchool;
    lines.Meet = FormatCertificateMeetLine(kSampleSchool, kSampleMeet);
    return lines;
  }
  const std::string& organiser = meet.OrganiserName;
  const std::string meet_name = meet.MeetName.empty() ? kSampleMeet : meet.MeetName;
  lines.Meet = test_print ? "在 " + EscapeHtml(organiser) + EscapeHtml(meet_name) + " 中"
                          : FormatCertificateMeetLine(organiser, meet_name);
  lines.Organiser = EscapeHtml(organiser);
  return lines;
}

// A "/ViewTable.html" page (below) into the reply, with the print to count.
void BuildViewTable(RouteContext& ctx, const std::array<int, 4>& n, PrintCount& count) {
  std::string sheets;
  if (n[0] == kPreview) {
    BuildCertificatePreview(sheets, SampleLines(false));
    // The preview shows the print style sheet on the screen, with the move
    // buttons' script in place of the screen style sheet.
    std::string page = BuildPrintFrame(ctx.session, sheets);
    const std::string screen_sheet = "<link href=\"admin.css\" rel=\"stylesheet\" type=\"text/css\">";
    if (std::size_t at = page.find(screen_sheet); at != std::string::npos)
      page.replace(at, screen_sheet.size(),
                   "<script language=\"JavaScript\" src=\"af.js\" type=\"text/javascript\"></script>");
    if (std::size_t at = page.find("media=\"print\""); at != std::string::npos) page.erase(at, 13);
    AppendHtmlPage(ctx.session, page, ctx.reply);
    return;
  }
  if (n[0] == kTestCertificate) {
    int first_done = 0;
    BuildCertificateBlock(SampleLines(true), sheets, first_done);
    sheets += "<script type=\"text/javascript\">\r\n\tparent.printhtml(1);\r\n</script>\r\n";
  } else if (n[0] == 0 || !BuildRoundSheetOnce(n[0], n[1], n[3] != 0, sheets, count)) {
    count = {};
    return;
  } else {
    sheets += kPrintNow;
  }
  AppendHtmlPage(ctx.session, BuildPrintFrame(ctx.session, sheets), ctx.reply);
}

// "/ViewTable.html?str=T-round-x-f": T 1 check-in sheet, 2 the other
// round's check-in sheet, 3 result sheet, 4 certificates of the round
// (each counted on the round, and on its print-queue entry when f is not
// 0), 5 the certificate layout preview, 6 a test certificate. A bad query
// or a missing round leaves the reply empty. The page is built and its
// print counted under the shared lock; the count writer puts the count in
// the file a second later.
void ViewTableRoute(RouteContext& ctx) {
  const std::string_view text = QueryText(ctx.request.Path);
  std::array<int, 4> n{};
  if (text.size() < 2 || ReadDashNumbers(text, n) != 4 || n[0] < 0 || n[0] > 6) return;
  DataReadGuard hold(DataLock);
  PrintCount count;
  BuildViewTable(ctx, n, count);
  if (count.Counter) CountPrint(count);
}

// "/printzx.html?str=1-session-kind": every check-in sheet of one half-day
// session, kind 1 track and 2 field rounds drawn with the order book, 3
// track and 4 field finals drawn after their preliminaries. Not counted.
void SessionCheckInRoute(RouteContext& ctx) {
  const std::string_view text = QueryText(ctx.request.Path);
  std::array<int, 3> n{};
  if (text.size() < 2 || ReadDashNumbers(text, n) != 3) return;
  std::string sheets;
  int result = 0;
  if (n[0] == 1 && n[2] >= 1 && n[2] <= 4)
    result = BuildSessionCheckInSheets(sheets, n[1], n[2] % 2 == 1 ? 1 : 2, n[2] <= 2 ? 1 : 0);
  if (result == 1) {
    sheets += "<script type=\"text/javascript\">\r\n    alert(\"无数据可以打印\");\r\n\tparent.tipqingchu();\r\n\t</script>\r\n";
  } else if (result == 2) {
    sheets +=
        "<script type=\"text/javascript\">\r\n    alert(\"无数据可以打印，请先至“秩序册管理”中生成秩序册！\");\r\n"
        "\tparent.tipqingchu();\r\n\t</script>\r\n";
  } else {
    sheets += kPrintNow;
  }
  AppendHtmlPage(ctx.session, BuildPrintFrame(ctx.session, sheets), ctx.reply);
}

constexpr RouteRow kRows[] = {
    // A view counts a print, so only the site itself may ask for one.
    {.path = "/ViewTable.html", .roles = kStaff, .code = 63, .handler = ViewTableRoute, .access = Access::kNone,
     .empty = EmptyReply::kEmptyBody, .changes = true},
    {.path = "/printzx.html", .roles = kStaff, .code = 68, .handler = SessionCheckInRoute,
     .empty = EmptyReply::kEmptyBody},
};

}  // namespace

std::string BuildPrintFrame(const LoginNode& session, std::string_view sheets) {
  std::string page;
  LoadHtmlTemplate(Template::kPrintFrame, page);
  ReplacePlaceholder(page, "标题", kAdminPageTitle);
  // Browsers keep "/view.css" for a long time: the link names the
  // account's sheet as it stands, so a moved certificate line is fetched
  // anew and printed where it was put.
  std::string css;
  BuildCertificateCss(session.OwnerKey, css);
  char version[24];
  std::snprintf(version, sizeof version, "%zx", std::hash<std::string>{}(css));
  ReplacePlaceholder(page, "userID", EscapeHtml(session.UserName) + "&amp;L=" + version);
  // The sheets go in last, so nothing inside them is ever replaced.
  ReplacePlaceholder(page, "表册", sheets);
  return page;
}

RouteTable PrintSheetRoutes() { return kRows; }

}  // namespace korva
