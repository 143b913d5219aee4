#include "pages/setup/scheme_pages.h"

#include <algorithm>
#include <string>

#include "database/data_lock.h"
#include "database/lookups.h"
#include "database/model.h"
#include "database/store_catalogue.h"
#include "pages/setup/catalogue_page.h"
#include "pages/setup/setup_tabs.h"
#include "web/escape.h"
#include "web/form_field.h"

namespace korva {

namespace {

constexpr std::size_t kFieldMax = 100;
constexpr int kMaxPoints = 20;
constexpr const char* kBadPost = "网页提交的数据有错误！";

// "/ShowScore.html": every scheme with its points.
void ServeScoringSchemeListPage(RouteContext& ctx) {
  AssertDataLockHeld();
  if (!CatalogueMeetOpen(ctx)) return;
  std::string c = BuildSetupTabBar(SetupTab::kSchemes);
  c += "<tr><td><br />得分分制列表：</td></tr>\r\n"
       "<tr><td><table class=\"style1\" width=\"100%\" border=\"1\" cellspacing=\"0\" cellpadding=\"3\">\r\n"
       "<tr align=\"center\"><td>分制名称</td><td>名次数量</td><td>得分序列</td><td>设置</td><td>删除</td></tr>\r\n";
  for (const ScoringSchemeNode& s : Model().ScoringSchemeList) {
    std::string points;
    for (int place = 0; place < std::clamp(s.PlacesScored, 0, kSchemePlaces); ++place)
      points.append(place > 0 ? "," : "").append(std::to_string(s.Points[place]));
    const std::string id = std::to_string(s.Id);
    c += "<tr align=\"center\"><td>" + EscapeHtml(s.Name) + "</td><td>" + std::to_string(s.PlacesScored) +
         "</td><td>" + points + "</td><td>" + Button("修改", "ChangeFZ(" + id + ")") + "</td><td>" +
         Button("删除", "DelFZ(" + id + ",'" + EscapeScript(s.Name) + "')") + "</td></tr>\r\n";
  }
  c += "</table></td></tr>\r\n<tr><td><br />" + Button("添加新的分制", "AddFZ()") +
       "<form name=\"DelForm\" id=\"DelForm\" method=\"post\" action=\"DelScore.html\">"
       "<input type=\"hidden\" name=\"ScoreID\" id=\"ScoreID\" value=\"0\" /></form></td></tr>\r\n"
       "<tr><td><br />提示：<br />1.得分序列中第一个数字为第一名得分，第二个数字为第二名得分，以此类推；<br />"
       "2.在当前运动会中使用的分制将不能被删除，你可以新建一个新的运动会，然后删除掉不需要的分制。</td></tr>\r\n";
  ServeCataloguePage(ctx, c);
}

// "/SetupScore.html?id=": the scheme form, one points select per place;
// id 0 or none is a new scheme.
void ServeScoringSchemeFormPage(RouteContext& ctx) {
  AssertDataLockHeld();
  if (!CatalogueMeetOpen(ctx)) return;
  const int id = FieldInt(ctx.request.Path, "id=");
  const ScoringSchemeNode* stored = id != 0 ? FindScoringScheme(id) : nullptr;
  if (id != 0 && !stored) return;
  const ScoringSchemeNode scheme = stored ? *stored : ScoringSchemeNode{};
  std::string c = std::string("<tr><td><strong>") + (stored ? "编辑分制" : "添加新的分制") +
                  "</strong></td></tr>\r\n<tr><td>"
                  "<form name=\"NewFzForm\" id=\"NewFzForm\" method=\"post\" action=\"AddScore.html\">"
                  "<input type=\"hidden\" name=\"FZID\" id=\"FZID\" value=\"" + std::to_string(id) + "\" />\r\n"
                  "<table border=\"0\" cellspacing=\"0\" cellpadding=\"3\">\r\n"
                  "<tr><td>分制名称：</td><td><input type=\"text\" name=\"FZName\" id=\"FZName\" size=\"30\" "
                  "maxlength=\"20\" value=\"" + EscapeHtml(scheme.Name) +
                  "\" /></td><td>请输入分制名称，最多20个字。</td></tr>\r\n";
  for (int place = 1; place <= kSchemePlaces; ++place) {
    std::string select = "<select name=\"SDF\">\r\n";
    for (int points = 0; points <= kMaxPoints; ++points)
      select += Option(points, std::to_string(points), points == scheme.Points[place - 1]);
    c += "<tr><td>第" + std::to_string(place) + "名</td><td>得" + select + "</select>分</td><td></td></tr>\r\n";
  }
  c += "</table>" + Button("提交数据", "CheckDataFZ()") +
       " <input type=\"button\" value=\"返回\" onclick=\"window.location.href='ShowScore.html'\" /></form></td></tr>\r\n";
  ServeCataloguePage(ctx, c);
}

// "/AddScore.html": saves a new or an edited scheme. Success answers the
// redirect to the list, a refusal the failure page.
void HandleSaveScoringSchemePost(RouteContext& ctx) {
  AssertDataLockHeld(true);
  if (!CatalogueMeetOpen(ctx)) return;
  const std::string& body = ctx.request.Body;
  ScoringSchemeNode scheme;
  scheme.Id = FieldInt(body, "FZID=");
  GetFormField(body, "FZName=", kFieldMax, scheme.Name);
  std::vector<ScoringSchemeNode>& list = Model().ScoringSchemeList;
  ScoringSchemeNode* stored = nullptr;
  for (ScoringSchemeNode& s : list) {
    if (s.Id == scheme.Id) {
      stored = &s;
    } else if (s.Name == scheme.Name) {
      Refuse(ctx, "该分制已存在，请使用其他的分制名称！");
      return;
    }
  }
  if (scheme.Id != 0 && !stored) {
    Refuse(ctx, "该分制不存在！");
    return;
  }
  // The places that score run to the last place with points; a zero
  // before it is a scoring place worth nothing.
  std::size_t pos = 0;
  std::string value;
  for (int place = 0; place < kSchemePlaces && GetNextFormField(body, pos, "SDF=", kFieldMax, value) == 1; ++place) {
    scheme.Points[place] = std::atoi(value.c_str());
    if (scheme.Points[place] != 0) scheme.PlacesScored = place + 1;
  }
  if (scheme.PlacesScored == 0 || scheme.Name.empty()) {
    Refuse(ctx, kBadPost);
    return;
  }
  std::string message;
  if (SaveScoringScheme(scheme, &message) != 0) {
    Refuse(ctx, message);
    return;
  }
  if (stored) {
    *stored = scheme;
  } else {
    list.push_back(scheme);
  }
  ctx.result = 0;
}

// "/DelScore.html": deletes a scheme that no group or contest of the meet
// uses. Success answers the redirect to the list, a refusal the failure
// page.
void HandleDeleteScoringSchemePost(RouteContext& ctx) {
  AssertDataLockHeld(true);
  if (!CatalogueMeetOpen(ctx)) return;
  const int id = FieldInt(ctx.request.Body, "ScoreID=");
  std::vector<ScoringSchemeNode>& list = Model().ScoringSchemeList;
  auto scheme = std::find_if(list.begin(), list.end(), [&](const ScoringSchemeNode& s) { return s.Id == id; });
  // An id that names no scheme would be reported deleted without anything
  // happening.
  if (id == 0 || scheme == list.end()) {
    Refuse(ctx, kBadPost);
    return;
  }
  for (const GroupNode& group : Model().GroupList) {
    if (group.SchemeId == id) {
      Refuse(ctx, "当前运动会正在使用该分制，无法删除！");
      return;
    }
  }
  for (const ContestNode& contest : Model().ContestList) {
    if (contest.SchemeId != id) continue;
    const EventNode* event = FindEventById(contest.EventId);
    const GroupNode* group = FindGroupById(contest.GroupId);
    if (!event || !group) {
      Refuse(ctx, "数据错误，错误号0033422！");
      return;
    }
    Refuse(ctx, group->GradeName + (group->Sex == 1 ? "男子" : "女子") + event->Name +
                    "比赛使用该分制，无法删除！详情请至“高级功能”->“更改径（田）赛数据”中查看或修改！");
    return;
  }
  std::string message;
  if (DeleteScoringScheme(id, &message) != 0) {
    Refuse(ctx, message);
    return;
  }
  list.erase(scheme);
  ctx.result = 0;
}

using enum Access;
using enum Method;
using enum Answer;

constexpr RouteRow kRows[] = {
    {.path = "/ShowScore.html", .roles = kAdmin, .code = 45, .handler = ServeScoringSchemeListPage,
     .empty = EmptyReply::kAdminResult},
    {.path = "/SetupScore.html", .roles = kAdmin, .code = 46, .handler = ServeScoringSchemeFormPage,
     .empty = EmptyReply::kAdminResult},
    {.path = "/AddScore.html", .method = kPost, .roles = kAdmin, .code = 159, .handler = HandleSaveScoringSchemePost,
     .access = kWrite, .empty = EmptyReply::kAdminResult, .answer = kRedirectElseFailure, .base = 91,
     .redirect = 4},
    {.path = "/DelScore.html", .method = kPost, .roles = kAdmin, .code = 160,
     .handler = HandleDeleteScoringSchemePost, .access = kWrite, .empty = EmptyReply::kAdminResult,
     .answer = kRedirectElseFailure, .base = 91,
     .redirect = 4},
};

}  // namespace

RouteTable SchemePageRoutes() { return kRows; }

}  // namespace korva
