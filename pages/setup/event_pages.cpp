#include "pages/setup/event_pages.h"

#include <algorithm>
#include <initializer_list>
#include <string>
#include <vector>

#include "database/data_error.h"
#include "database/data_lock.h"
#include "database/loaders.h"
#include "database/lookups.h"
#include "database/model.h"
#include "database/store_catalogue.h"
#include "pages/common/setup_result_page.h"
#include "pages/setup/catalogue_page.h"
#include "pages/setup/setup_tabs.h"
#include "web/escape.h"
#include "web/form_field.h"
#include "web/response.h"
#include "web/templates.h"

namespace korva {

namespace {

constexpr std::size_t kFieldMax = 100;
constexpr std::size_t kUnitFieldMax = 20;
constexpr int kCombined = 3;
// A combined event lists at most this many parts less one.
constexpr std::size_t kPartLimit = kMaxCombinedParts;
constexpr int kMaxTeamSize = 30;
constexpr int kMaxMatchMinutes = 10;
constexpr int kNewTeamSize = 4;
constexpr const char* kNoVenue = "您还没有添加场地，请先添加比赛场地！";
constexpr int kResultNoVenue = 5;

const char* const kSheetNames[] = {"径赛分道表", "径赛分组表", "田赛三轮表", "田赛多轮表"};

std::string MultiplierText(int multiplier) {
  return multiplier == 1 ? "正常计分" : std::to_string(multiplier) + "倍计分";
}

std::string TeamText(const EventNode& e) {
  if (e.TuanTiType == 1) return "个人单项";
  const std::string size = std::to_string(e.TuanTiRenShu);
  return e.TuanTiType == 2 ? "团队赛<br />(男女各" + size + "人)" : "混合团队赛<br />(男女共" + size + "人)";
}

// The move and edit cells every row ends with.
std::string RowButtons(const EventNode& e) {
  const std::string id = std::to_string(e.Id);
  return "<td>" + Button("位置上移", "BiSaiMove(" + id + ",1)") + Button("位置下移", "BiSaiMove(" + id + ",2)") +
         "</td><td>" + Button("修改", "ChangeBiSai(" + id + ")") +
         Button("删除", "DelBiSai(" + id + ",'" + EscapeScript(e.Name) + "')") + "</td></tr>\r\n";
}

std::string EventRow(const EventNode& e) {
  std::string row = "<tr align=\"center\"><td>" + EscapeHtml(e.Name) + "</td>";
  if (e.BiSaiType == kCombined) {
    row += "<td>全能比赛</td><td colspan=\"4\">分项：";
    // A part deleted from the catalogue is passed over; the page stays whole.
    for (int part_id : e.Parts) {
      const EventNode* part = FindEventById(part_id);
      if (!part) {
        ShowDataErrorCode(148);
        continue;
      }
      row += EscapeHtml(part->Name) + "；";
    }
    return row + "</td><td>" + MultiplierText(e.DeFenJiSuan) + "</td>" + RowButtons(e);
  }
  const VenueNode* venue = FindVenueById(e.ChangDi);
  row += std::string("<td>") + (e.FZFDType == 1 ? "分道" : "分组") + "<br />" +
         (e.BiSaiType == 1 ? "径赛类" : e.BiSaiType == 2 ? "田赛类" : "全能类") + "<br />" + TeamText(e) +
         "</td><td>" + (e.YuJueType != 0 ? "有" : "无") + "</td><td>" +
         kSheetNames[e.JiLuBiaoType >= 1 && e.JiLuBiaoType <= 3 ? e.JiLuBiaoType - 1 : 3] + "</td><td>" +
         (e.BingLieType == 1 ? "允许并列" : "不允许并列") + "<br>" +
         (e.PaiXuType == 1 ? "成绩数值小为先" : "成绩数值大为先") + "</td><td>" +
         (venue ? EscapeHtml(venue->Name) : "") + "</td><td>" + MultiplierText(e.DeFenJiSuan) + "</td>";
  return row + RowButtons(e);
}

// "/ShowMatch.html": the event catalogue in list order.
void ServeEventListPage(RouteContext& ctx) {
  AssertDataLockHeld();
  if (!CatalogueMeetOpen(ctx)) return;
  std::string c = BuildSetupTabBar(SetupTab::kEvents);
  c += "<tr><td><br />比赛项目列表：</td></tr>\r\n"
       "<tr><td><table class=\"style1\" width=\"100%\" border=\"1\" cellspacing=\"0\" cellpadding=\"3\">\r\n"
       "<tr align=\"center\"><td>比赛名称</td><td>比赛类型</td><td>预赛</td><td>记录表</td><td>成绩处理</td>"
       "<td>比赛场地</td><td>得分<br>倍数</td><td>排列</td><td>编辑</td></tr>\r\n";
  for (const EventNode& e : Model().EventList) c += EventRow(e);
  c += "</table></td></tr>\r\n<tr><td><br />" + Button("添加新的比赛项目", "AddBS()") +
       "<form name=\"DelForm\" id=\"DelForm\" method=\"post\" action=\"DelMatch.html\">"
       "<input type=\"hidden\" name=\"matchid\" id=\"matchid\" value=\"0\" /></form></td></tr>\r\n"
       "<tr><td><br />提示：<br>1.如果想删除正在使用的比赛项目，请新建一个新的运动会，或者将该比赛在竞赛组设置中删除，"
       "再删除这个不需要的比赛项目！</td></tr>\r\n";
  ServeCataloguePage(ctx, c);
}

// Options with the values first..first + count - 1 and their texts; the
// one equal to selected is marked.
std::string Options(int first, std::initializer_list<const char*> texts, int selected) {
  std::string options;
  int value = first;
  for (const char* text : texts) {
    options += Option(value, text, value == selected);
    ++value;
  }
  return options;
}

std::string NumberOptions(int last, const char* unit, int selected) {
  std::string options;
  for (int n = 1; n <= last; ++n) options += Option(n, std::to_string(n) + unit, n == selected);
  return options;
}

// The data-error code of the first stored value the form can't show, 0
// when every one fits.
int FormRangeError(const EventNode& e) {
  if (e.BiSaiType < 1 || e.BiSaiType > 3) return 15350;
  if (e.FZFDType < 1 || e.FZFDType > 2) return 16250;
  if (e.YuJueType < 0 || e.YuJueType > 1) return 774;
  if (e.JiLuBiaoType < 1 || e.JiLuBiaoType > 4) return 775;
  if (e.PaiXuType < 1 || e.PaiXuType > 2) return 776;
  if (e.BingLieType < 1 || e.BingLieType > 2) return 777;
  return 0;
}

const char* const kTeamKinds[] = {"个人单项", "团队赛(男女分开的)", "团队赛(男女混合的)"};

// "/SetupMatch.html?id=": the event form (template 147); id 0 or none is a
// new event, which needs a venue to exist first.
void ServeEventFormPage(RouteContext& ctx) {
  AssertDataLockHeld();
  if (!CatalogueMeetOpen(ctx)) return;
  const MeetModel& m = Model();
  const int id = FieldInt(ctx.request.Path, "id=");
  if (id == 0 && m.VenueList.empty()) {
    ServeAdminResultPage(kResultNoVenue, kNoVenue, ctx.session, ctx.reply);
    return;
  }
  const EventNode* stored = id != 0 ? FindEventById(id) : nullptr;
  if (id != 0 && !stored) {
    ShowDataErrorCode(149);
    return;
  }
  const bool edit = stored != nullptr;
  // A new event marks none of the kinds below, so the browser shows the
  // first option of each.
  const EventNode e = edit ? *stored : EventNode{.BiSaiType = 0, .TuanTiType = 1, .TuanTiRenShu = kNewTeamSize,
                                                 .FZFDType = 0, .JiLuBiaoType = 0, .PaiXuType = 0,
                                                 .BingLieType = 0, .ChangDi = 1, .MatchTime = 1};
  if (edit) {
    if (int code = FormRangeError(e)) {
      ShowDataErrorCode(code);
      return;
    }
  }
  std::string team;
  if (!edit) {
    team = Options(1, {kTeamKinds[0], kTeamKinds[1], kTeamKinds[2]}, 1);
  } else if (e.TuanTiType >= 1 && e.TuanTiType <= 3) {
    // The kind of an event cannot change after its creation.
    team = Option(e.TuanTiType, kTeamKinds[e.TuanTiType - 1], true);
  } else {
    ShowDataErrorCode(13150);
    LogServerMessage(e.Name +
                     " 比赛发生错误，因为在旧版本中未能正常保存比赛类型所导致，请立刻到比赛项目管理中设置该比赛的正常类型,并保存！");
    team = Options(1, {kTeamKinds[0], kTeamKinds[1], kTeamKinds[2]}, 0);
  }
  std::string units;
  for (const char* unit : UnitNames) units += Option(unit, unit, edit && e.Unit == unit);
  std::string venues;
  for (const VenueNode& v : m.VenueList) venues += Option(v.Id, EscapeHtml(v.Name), v.Id == e.ChangDi);
  std::string parts;
  for (const EventNode& other : m.EventList) {
    if (other.Id == e.Id || other.BiSaiType == kCombined || other.TuanTiType != 1) continue;
    const bool ticked = std::find(e.Parts.begin(), e.Parts.end(), other.Id) != e.Parts.end();
    parts += "<input type=\"checkbox\" name=\"qnfxbs\" value=\"" + std::to_string(other.Id) + "\"" +
             (ticked ? " checked=\"checked\"" : "") + " />" + EscapeHtml(other.Name) + "　\r\n";
  }
  const bool combined = e.BiSaiType == kCombined;
  const char* hidden = " style=\"display:none\"";

  std::string page;
  if (!LoadHtmlTemplate(Template::kEventForm, page)) return;
  ReplacePlaceholder(page, "比赛ID", std::to_string(id));
  ReplacePlaceholder(page, "小标题", edit ? "编辑比赛项目" : "新建比赛项目");
  ReplacePlaceholder(page, "比赛名称", EscapeHtml(e.Name));
  ReplacePlaceholder(page, "比赛类型", Options(1, {"径赛", "田赛"}, e.BiSaiType));
  ReplacePlaceholder(page, "得分倍数", Options(1, {"正常计分", "双倍计分"}, edit && e.DeFenJiSuan != 1 ? 2 : 1));
  ReplacePlaceholder(page, "显示田径", combined ? hidden : "");
  ReplacePlaceholder(page, "团队赛", team);
  ReplacePlaceholder(page, "禁用团队人数", e.TuanTiType == 2 || e.TuanTiType == 3 ? "" : " disabled");
  ReplacePlaceholder(page, "团队人数", NumberOptions(kMaxTeamSize, "人", e.TuanTiRenShu));
  ReplacePlaceholder(page, "预赛", Options(0, {"没有", "有"}, edit ? e.YuJueType : -1));
  ReplacePlaceholder(page, "分道分组", Options(1, {"分道比赛", "分组比赛"}, e.FZFDType));
  ReplacePlaceholder(page, "记录表类型",
                     Options(1, {kSheetNames[0], kSheetNames[1], kSheetNames[2], kSheetNames[3]}, e.JiLuBiaoType));
  ReplacePlaceholder(page, "成绩排序", Options(1, {"成绩数值小为先(如跑步)", "成绩数值大为先(如跳远)"}, e.PaiXuType));
  ReplacePlaceholder(page, "并列处理", Options(1, {"允许并列", "不允许并列"}, e.BingLieType));
  ReplacePlaceholder(page, "成绩单位", units);
  ReplacePlaceholder(page, "比赛场地", venues);
  ReplacePlaceholder(page, "比赛用时", NumberOptions(kMaxMatchMinutes, "分钟", e.MatchTime));
  ReplacePlaceholder(page, "男生公式", EscapeHtml(e.BoyGS));
  ReplacePlaceholder(page, "女生公式", EscapeHtml(e.GirlGS));
  // A new event starts as a track event: the parts stay hidden.
  ReplacePlaceholder(page, "显示全能", combined ? "" : hidden);
  ReplacePlaceholder(page, "全能比赛", parts);
  ReplacePlaceholder(page, "按钮名称", edit ? "保存修改" : "保存新的比赛项目");
  ServeCataloguePage(ctx, page);
}

// The values every combined event carries, whatever the form sends.
void MakeCombined(EventNode& e) {
  e.BiSaiType = kCombined;
  e.FZFDType = 2;
  e.PaiXuType = 2;
  e.BingLieType = 2;
  e.TuanTiType = 1;
  e.TuanTiRenShu = 1;
  e.YuJueType = 0;
  e.JiLuBiaoType = 3;
  e.MatchTime = 0;
  e.ChangDi = 1;
  e.Unit = "分";
  e.BoyGS.clear();
  e.GirlGS.clear();
}

// The notice after an existing event's save when its contests in the meet
// run preliminaries the event no longer asks for, or the other way round:
// a button that aligns them (the administrative AJAX function 1).
std::string PrelimNotice(const EventNode& e) {
  for (const ContestNode& contest : Model().ContestList) {
    if (contest.EventId != e.Id || contest.HasPrelim == e.YuJueType) continue;
    const std::string id = std::to_string(e.Id);
    const bool has = contest.HasPrelim == 1;
    return std::string("<div id=\"RetMsg1\" style=\"border:1px; border-color:#F00; border-style:dashed\">") +
           (has ? "检测到当前运动会中该比赛安排了预赛，是否需要删除当前运动会中该比赛项目的预赛？"
                : "检测到当前运动会中该比赛没有安排预赛，是否需要在当前运动会中安排该比赛项目的预赛？") +
           "<input type=\"button\" name=\"cyjs1\" id=\"cyjs1\" onclick=\"jschangeyjs(" + id + ")\" value=\"" +
           (has ? "确定删除" : "确定安排") + "\" /></div>";
  }
  return {};
}

// "/AddMatch.html": saves a new or an edited event. Answered by the result
// page (base 70).
void HandleSaveEventPost(RouteContext& ctx) {
  AssertDataLockHeld(true);
  if (!CatalogueMeetOpen(ctx)) return;
  const std::string& body = ctx.request.Body;
  const int id = FieldInt(body, "bsID=");
  EventNode e;
  GetFormField(body, "BiSaiName=", kFieldMax, e.Name);
  if (e.Name.empty()) {
    Refuse(ctx, "网页提交的数据有错误！");
    return;
  }
  e.BiSaiType = FieldInt(body, "BiSaiType=");
  e.DeFenJiSuan = FieldInt(body, "DeFenJiSuan=");
  const EventNode* stored = id > 0 ? FindEventById(id) : nullptr;
  // The form offers no combined type: an edited combined event stays one.
  if (stored && stored->BiSaiType == kCombined) e.BiSaiType = kCombined;
  if (e.BiSaiType == kCombined) {
    MakeCombined(e);
    std::size_t pos = 0;
    std::string part;
    while (GetNextFormField(body, pos, "qnfxbs=", kFieldMax, part) == 1) {
      e.Parts.push_back(std::atoi(part.c_str()));
      if (e.Parts.size() >= kPartLimit) {
        Refuse(ctx, "添加全能比赛时分项比赛太多。");
        return;
      }
    }
    if (e.Parts.size() < 2) {
      Refuse(ctx, "全能比赛至少需要选择两个分项比赛。");
      return;
    }
  } else {
    e.FZFDType = FieldInt(body, "FZFDType=");
    e.TuanTiType = FieldInt(body, "TuanTiType=");
    e.TuanTiRenShu = FieldInt(body, "TuanTiRenShu=");
    e.YuJueType = FieldInt(body, "YuJueType=");
    e.JiLuBiaoType = FieldInt(body, "JiLuBiaoType=");
    e.PaiXuType = FieldInt(body, "PaiXuType=");
    e.BingLieType = FieldInt(body, "BingLieType=");
    GetFormField(body, "UnitType=", kUnitFieldMax, e.Unit);
    e.ChangDi = FieldInt(body, "ChangDi=");
    e.MatchTime = FieldInt(body, "MatchTime=");
    GetFormField(body, "BoyGS=", kFieldMax, e.BoyGS);
    GetFormField(body, "GirlGS=", kFieldMax, e.GirlGS);
  }
  for (const EventNode& other : Model().EventList) {
    if (other.Id != id && other.Name == e.Name) {
      Refuse(ctx, "该比赛名称已经存在！");
      return;
    }
  }
  if (id != 0 && !stored) {
    Refuse(ctx, "未找到该比赛！");
    return;
  }
  std::string message;
  ctx.result = SaveEvent(e, id, &message);
  if (LoadEvents() != 0 && ctx.result == 0) {
    ctx.result = 1;
    message = kReloadFailedText;
  }
  ctx.message = EscapeHtml(message);
  if (ctx.result == 0 && id != 0) ctx.message += PrelimNotice(e);
}

// The competition groups that hold an event, directly or as a part of a
// combined event they hold (whose rounds then name it); null when a group
// is missing.
bool GroupsUsingEvent(int event_id, std::vector<const GroupNode*>* groups) {
  for (const GroupEventNode& node : Model().GroupEventList) {
    bool uses = false;
    for (int held : node.EventIds) {
      const EventNode* event = FindEventById(held);
      uses = uses || held == event_id ||
             (event && std::find(event->Parts.begin(), event->Parts.end(), event_id) != event->Parts.end());
    }
    if (!uses) continue;
    const GroupNode* group = FindGroupById(node.GroupId);
    if (!group) return false;
    groups->push_back(group);
  }
  return true;
}

// "/DelMatch.html": deletes an event that no competition group holds.
// Answered by the result page (base 70).
void HandleDeleteEventPost(RouteContext& ctx) {
  AssertDataLockHeld(true);
  if (!CatalogueMeetOpen(ctx)) return;
  const int id = FieldInt(ctx.request.Body, "matchid=");
  const EventNode* event = id != 0 ? FindEventById(id) : nullptr;
  if (!event) {
    Refuse(ctx, "网页提交了不正确的数据！");
    return;
  }
  std::vector<const GroupNode*> groups;
  if (!GroupsUsingEvent(id, &groups)) {
    ShowDataErrorCode(1580);
    Refuse(ctx, "数据错误，请联系管理员！");
    return;
  }
  if (!groups.empty()) {
    std::string list;
    for (const GroupNode* group : groups)
      list += EscapeHtml(group->GradeName) + (group->Sex == 1 ? "男子组" : "女子组") + "<br>";
    Refuse(ctx, "无法删除[" + EscapeHtml(event->Name) + "]比赛，因为下列竞赛组正在使用它：<br>" + list +
                    "<br>如果想删除比赛，请先建立一个新的运动会，然后在设置运动会之前，删除该比赛！");
    return;
  }
  std::string message;
  ctx.result = DeleteEvent(*event, &message);
  if (LoadEvents() != 0 && ctx.result == 0) {
    ctx.result = 1;
    message = kReloadFailedText;
  }
  ctx.message = EscapeHtml(message);
}

// "/MoveBiSai.html?MatchId=&MakeId=": moves an event up (1) or down (2) the
// list by exchanging its definition with its neighbour's; both keep their
// ids. Replies "OK", or "E1" bad request, "E2" no such event, "E3" either
// event in use, "E4" database error, "E5" nothing to move past.
void HandleMoveEvent(RouteContext& ctx) {
  AssertDataLockHeld(true);
  const std::string& query = ctx.request.Path;
  const int id = FieldInt(query, "MatchId=");
  const int direction = FieldInt(query, "MakeId=");
  const char* answer = "OK";
  const std::vector<EventNode>& list = Model().EventList;
  auto at = std::find_if(list.begin(), list.end(), [&](const EventNode& e) { return e.Id == id; });
  std::vector<const GroupNode*> groups;
  if (id < 1 || (direction != 1 && direction != 2)) {
    answer = "E1";
  } else if (at == list.end()) {
    answer = "E2";
  } else if ((direction == 1 && at == list.begin()) || (direction == 2 && at + 1 == list.end())) {
    answer = "E5";
  } else {
    const int neighbour = (direction == 1 ? at - 1 : at + 1)->Id;
    if (!GroupsUsingEvent(id, &groups) || !GroupsUsingEvent(neighbour, &groups) || !groups.empty()) {
      answer = "E3";
    } else {
      if (SwapEventIds(id, neighbour) != 0 || LoadEvents() != 0) answer = "E4";
    }
  }
  AppendHtmlPage(ctx.session, answer, ctx.reply);
}

using enum Access;
using enum Method;
using enum Answer;

constexpr RouteRow kRows[] = {
    {.path = "/ShowMatch.html", .roles = kAdmin, .code = 40, .handler = ServeEventListPage,
     .empty = EmptyReply::kAdminResult},
    {.path = "/SetupMatch.html", .roles = kAdmin, .code = 41, .handler = ServeEventFormPage,
     .empty = EmptyReply::kAdminResult},
    {.path = "/MoveBiSai.html", .roles = kAdmin, .code = 60, .handler = HandleMoveEvent, .access = kWrite,
     .empty = EmptyReply::kEmptyBody},
    {.path = "/AddMatch.html", .method = kPost, .roles = kAdmin, .code = 152, .handler = HandleSaveEventPost,
     .access = kWrite, .empty = EmptyReply::kAdminResult, .answer = kResultPage, .base = 70},
    {.path = "/DelMatch.html", .method = kPost, .roles = kAdmin, .code = 153, .handler = HandleDeleteEventPost,
     .access = kWrite, .empty = EmptyReply::kAdminResult, .answer = kResultPage, .base = 70},
};

}  // namespace

RouteTable EventPageRoutes() { return kRows; }

}  // namespace korva
