#include "pages/setup/venue_pages.h"

#include <algorithm>
#include <string>

#include "database/data_error.h"
#include "database/data_lock.h"
#include "database/loaders.h"
#include "database/lookups.h"
#include "database/model.h"
#include "database/store_catalogue.h"
#include "engine/final_seeding.h"
#include "engine/results_unit.h"
#include "pages/setup/catalogue_page.h"
#include "pages/setup/setup_tabs.h"
#include "web/escape.h"
#include "web/form_field.h"
#include "web/response.h"
#include "web/templates.h"

namespace korva {

namespace {

constexpr std::size_t kNameFieldMax = 100;
constexpr std::size_t kUnitFieldMax = 10;
constexpr std::size_t kInfoFieldMax = 200;
constexpr int kTrackLanes = 12;   // lanes a built-in track can switch
constexpr int kMinTrackLanes = 2;
constexpr int kMaxVenueSize = 50;
constexpr int kNewVenueSize = 13;
constexpr const char* kBadVenue = "提交的数据不正确！";
constexpr const char* kBadDelete = "网页提交的数据不正确！";

// "[name]" and the rest of a sentence, the name escaped. Built by appending:
// the optimiser mistakes a literal added to a fresh string for an overlap.
std::string Named(const std::string& name, const char* rest) {
  std::string text = "[";
  return text.append(EscapeHtml(name)).append("]").append(rest);
}

bool IsTrack(int venue_id) { return venue_id >= 1 && venue_id <= 3; }

// What the track form says of each built-in track.
const char* const kTrackNotes[] = {
    "直线跑道，短跑场地，常用于60米、100米比赛。点击“使用”或“不用”即可改变跑道的使用状态，选择您实际使用的道次即可。",
    "环形跑道，中长跑场地，常用于200米、400米、800米、1500米、3000米等中长跑比赛。点击“使用”或“不用”即可改变跑道的使用状态，"
    "选择您实际使用的道次即可。",
    "跨栏道，常用于跨栏比赛或迎面接力比赛。点击“使用”或“不用”即可改变跑道的使用状态，选择您实际使用的道次即可。",
};

// "/ShowYards.html": every venue; the built-in tracks can't be deleted.
void ServeVenueListPage(RouteContext& ctx) {
  AssertDataLockHeld();
  if (!CatalogueMeetOpen(ctx)) return;
  std::string c = BuildSetupTabBar(SetupTab::kVenues);
  c += "<tr><td><br />比赛场地列表：</td></tr>\r\n"
       "<tr><td><table class=\"style1\" width=\"100%\" border=\"1\" cellspacing=\"0\" cellpadding=\"3\">\r\n"
       "<tr align=\"center\"><td>场地名称</td><td>场地规格</td><td>规格单位</td><td>场地说明</td><td>设置</td>"
       "<td>删除</td></tr>\r\n";
  for (const VenueNode& v : Model().VenueList) {
    const std::string id = std::to_string(v.Id);
    c += "<tr align=\"center\"><td>" + EscapeHtml(v.Name) + "</td><td>" + std::to_string(v.Size) + "</td><td>" +
         EscapeHtml(v.Unit) + "</td><td>" + EscapeHtml(v.Description) + "</td><td>" +
         Button("修改", "ChangeCD(" + id + ")") + "</td><td>" +
         Button("删除", "DelCD(" + id + ",'" + EscapeScript(v.Name) + "')", v.Id < 4) + "</td></tr>\r\n";
  }
  c += "</table></td></tr>\r\n<tr><td><br />" + Button("添加新的场地", "AddCD()") +
       "<form name=\"DelForm\" id=\"DelForm\" method=\"post\" action=\"DelYard.html\">"
       "<input type=\"hidden\" name=\"yardid\" id=\"yardid\" value=\"0\" /></form></td></tr>\r\n"
       "<tr><td><br />提示：<br />1、场地的规格将直接影响在该场地在进行的比赛的预赛后进决赛的人数。<br />"
       "2、直线跑道、环形跑道和跨栏道是系统内置的场地，不能删除，但可以设置实际使用的道次。<br />"
       "3、正在被比赛项目使用的场地不能删除。</td></tr>\r\n";
  ServeCataloguePage(ctx, c);
}

bool LaneInUse(const VenueNode& v, int lane) {
  return std::find(v.LanesInUse.begin(), v.LanesInUse.end(), lane) != v.LanesInUse.end();
}

std::string TrackLaneCells(const VenueNode& v) {
  std::string cells;
  for (int k = 1; k <= kTrackLanes; ++k) {
    const bool on = LaneInUse(v, k);
    const std::string n = std::to_string(k);
    cells += "<td><div id=\"SYD" + n + "\" class=\"" + (on ? "paodaosy" : "paodaobsy") +
             "\"><a href=\"javascript:DaoCiUser(" + n + ")\">" + (on ? "使" : "不") +
             "<br />用</a></div><input type=\"hidden\" name=\"SYHD" + n + "\" id=\"SYHD" + n + "\" value=\"" +
             (on ? "1" : "0") + "\" /></td>\r\n";
  }
  return cells;
}

std::string UnitOptions(const std::string& unit) {
  const bool other = !unit.empty() && unit != "道" && unit != "人";
  std::string options = Option("道", "道", unit == "道") + Option("人", "人", unit == "人" || unit.empty());
  if (other) options += Option(EscapeHtml(unit), EscapeHtml(unit), true);
  return options;
}

// "/SetupYard.html?id=": the form of a venue (template 146), or of a
// built-in track with its lane switches (template 176); id 0 or none is a
// new venue.
void ServeVenueFormPage(RouteContext& ctx) {
  AssertDataLockHeld();
  if (!CatalogueMeetOpen(ctx)) return;
  const int id = FieldInt(ctx.request.Path, "id=");
  const VenueNode* stored = id != 0 ? FindVenueById(id) : nullptr;
  if (id != 0 && !stored) return;  // the look-up logged the data error
  const bool edit = stored != nullptr;
  std::string page;
  if (!LoadHtmlTemplate(IsTrack(id) ? Template::kTrackForm : Template::kVenueForm, page)) return;
  ReplacePlaceholder(page, "小标题", edit ? "编辑比赛场地" : "新建比赛场地");
  ReplacePlaceholder(page, "场地ID", std::to_string(id));
  const std::string name = edit ? EscapeHtml(stored->Name) : "";
  ReplacePlaceholder(page, "场地名称", name);
  if (IsTrack(id)) {
    ReplacePlaceholder(page, "场地名称", name);  // the heading and the hidden field
    ReplacePlaceholder(page, "道次使用", TrackLaneCells(*stored));
    ReplacePlaceholder(page, "场地说明", kTrackNotes[id - 1]);
  } else {
    std::string sizes;
    const int size = edit ? stored->Size : kNewVenueSize;
    for (int n = 1; n <= kMaxVenueSize; ++n) sizes += Option(n, std::to_string(n), n == size);
    ReplacePlaceholder(page, "禁用", "");
    ReplacePlaceholder(page, "场地规格", sizes);
    ReplacePlaceholder(page, "规格单位", UnitOptions(edit ? stored->Unit : ""));
    ReplacePlaceholder(page, "场地说明", edit ? EscapeHtml(stored->Description) : "");
    ReplacePlaceholder(page, "按钮名称", edit ? "提交修改" : "提交新的比赛场地");
  }
  ServeCataloguePage(ctx, page);
}

// The offer to draw again the rounds whose heats were drawn for the old
// size: the rounds to tick, sent to "/ChongPaiBiSai.html".
std::string RegroupOffer(const std::vector<RegroupRow>& offered) {
  std::string rows;
  int k = 0;
  for (const RegroupRow& row : offered) {
    const std::string n = std::to_string(++k);
    rows += "<tr><td><input type=\"checkbox\" name=\"bs" + n + "\" id=\"bs" + n + "\" value=\"" +
            std::to_string(row.RoundId) + "\"" + (row.HasResults ? " disabled" : "") + " /></td><td>" +
            EscapeHtml(row.Title) + "</td><td>" + std::to_string(row.Heats) + "组共" + std::to_string(row.Entrants) +
            (row.Teams ? "队" : "人") + "</td><td>" + (row.HasResults ? "已有成绩，无法重新分组分道！" : "") +
            "</td></tr>\r\n";
  }
  return "<input name=\"Qx1\" id=\"Qx1\" type=\"checkbox\" value=\"1\" onclick=\"Quanxuan()\" />全选/全不选　" +
         Button("将选中的比赛重新分组分道", "retfzfd()") +
         "<div id=\"popupcontent\"></div>\r\n"
         "<table class=\"style1\" width=\"100%\" border=\"1\" cellspacing=\"0\" cellpadding=\"3\">\r\n"
         "<tr align=\"center\"><td>选择</td><td>比赛名称</td><td>现分组情况</td><td>备注(有成绩的无法重新分组分道)</td>"
         "</tr>\r\n" + rows + "</table><input type=\"hidden\" name=\"MaxBsI\" id=\"MaxBsI\" value=\"" +
         std::to_string(k) +
         "\" />\r\n<form name=\"cbform\" id=\"cbform\" method=\"post\" action=\"ChongPaiBiSai.html\">"
         "<input type=\"hidden\" name=\"str1\" id=\"str1\" value=\"\" /></form>";
}

// "/AddYard.html": saves a new venue, an edited one, or a built-in track's
// lanes in use. Answered by the result page (base 50); a size change with
// rounds already drawn at the venue answers 2 with the offer to draw them
// again.
void HandleSaveVenuePost(RouteContext& ctx) {
  AssertDataLockHeld(true);
  if (!CatalogueMeetOpen(ctx)) return;
  const std::string& body = ctx.request.Body;
  const int id = FieldInt(body, "CDID=");
  std::string name, unit, info;
  GetFormField(body, "ChangDiName=", kNameFieldMax, name);
  GetFormField(body, "GuiGeDanWei=", kUnitFieldMax, unit);
  GetFormField(body, "ChangDiInfo=", kInfoFieldMax, info);
  std::vector<VenueNode>& list = Model().VenueList;
  const VenueNode* stored = nullptr;
  for (const VenueNode& v : list) {
    if (v.Id == id) {
      stored = &v;
    } else if (id != 0 && v.Name == name) {
      Refuse(ctx, Named(name, "比赛场地已存在，请重新命名！"));
      return;
    }
  }
  if (id != 0 && !stored) {
    Refuse(ctx, kBadVenue);
    return;
  }
  VenueNode venue = stored ? *stored : VenueNode{};
  if (IsTrack(id)) {
    // A track keeps its name; its size is the number of lanes in use.
    venue.LanesInUse.fill(0);
    int count = 0;
    std::string flag;
    for (int k = 1; k <= kTrackLanes; ++k) {
      GetFormField(body, "SYHD" + std::to_string(k) + "=", kNameFieldMax, flag);
      if (!flag.empty() && flag[0] == '1') venue.LanesInUse[count++] = k;
    }
    if (count < kMinTrackLanes) {
      Refuse(ctx, "至少需要启动2条跑道！");
      return;
    }
    venue.Size = count;
  } else {
    venue.Name = name;
    venue.Unit = unit;
    venue.Description = info;
    venue.Size = FieldInt(body, "CDGuiGe=");
    // The draw and the seeding divide by the size.
    if (venue.Size < 1 || venue.Size > kMaxVenueSize) {
      Refuse(ctx, kBadVenue);
      return;
    }
  }
  if (id == 0) {
    for (const VenueNode& v : list) {
      if (v.Name == name) {
        Refuse(ctx, Named(name, "比赛场地已存在！"));
        return;
      }
    }
  }
  // The venue and its preliminaries' qualifier counts change together.
  const bool size_changed = stored && venue.Size != stored->Size;
  std::vector<RegroupRow> rows;
  int offered = 0;
  bool saved = false;
  {
    ResultsUnit work;  // rolls back as it goes, before the list is read again
    saved = work.ok() && SaveVenue(venue, id) == 0;
    if (saved && size_changed) {
      offered = ListRegroupRows(venue, rows);
      saved = offered >= 0;
    }
    saved = saved && work.Commit();
  }
  if (!saved) {
    static_cast<void>(LoadVenues());  // the failure is answered; a failed reload logs itself
    Refuse(ctx, Named(venue.Name, "比赛场地数据写入数据库时出现错误！"));
    return;
  }
  ctx.result = 0;
  if (id == 0) return;  // the new venue is in the list already
  *FindVenueById(id) = venue;
  ctx.message = "比赛场地名称：";
  ctx.message.append(EscapeHtml(venue.Name))
      .append("<br />规格：")
      .append(std::to_string(venue.Size))
      .append(EscapeHtml(venue.Unit))
      .append("/组<br />");
  if (offered > 0) {
    ctx.message += RegroupOffer(rows);
    ctx.result = 2;
  }
}

// "/DelYard.html": deletes a venue that no event uses; the built-in tracks
// stay. Answered by the result page (base 60).
void HandleDeleteVenuePost(RouteContext& ctx) {
  AssertDataLockHeld(true);
  if (!CatalogueMeetOpen(ctx)) return;
  const int id = FieldInt(ctx.request.Body, "yardid=");
  const auto& list = Model().VenueList;
  auto venue = std::find_if(list.begin(), list.end(), [&](const VenueNode& v) { return v.Id == id; });
  if (venue == list.end() || IsTrack(id)) {
    Refuse(ctx, kBadDelete);
    return;
  }
  for (const EventNode& e : Model().EventList) {
    if (e.ChangDi != id) continue;
    Refuse(ctx, Named(venue->Name, "比赛场地无法删除，因为") + Named(e.Name, "比赛正在使用它！"));
    return;
  }
  std::string message;
  const VenueNode doomed = *venue;
  ctx.result = DeleteVenue(doomed, &message);
  if (ctx.result != 0) static_cast<void>(LoadVenues());  // the failure is answered; a failed reload logs itself
  ctx.message = EscapeHtml(message);
}

using enum Access;
using enum Method;
using enum Answer;

constexpr RouteRow kRows[] = {
    {.path = "/SetupYard.html", .roles = kAdmin, .code = 38, .handler = ServeVenueFormPage,
     .empty = EmptyReply::kAdminResult},
    {.path = "/ShowYards.html", .roles = kAdmin, .code = 39, .handler = ServeVenueListPage,
     .empty = EmptyReply::kAdminResult},
    {.path = "/AddYard.html", .method = kPost, .roles = kAdmin, .code = 150, .handler = HandleSaveVenuePost,
     .access = kWrite, .empty = EmptyReply::kAdminResult, .answer = kResultPage, .base = 50},
    {.path = "/DelYard.html", .method = kPost, .roles = kAdmin, .code = 151, .handler = HandleDeleteVenuePost,
     .access = kWrite, .empty = EmptyReply::kAdminResult, .answer = kResultPage, .base = 60},
};

}  // namespace

RouteTable VenuePageRoutes() { return kRows; }

}  // namespace korva
