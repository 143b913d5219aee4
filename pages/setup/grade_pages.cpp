#include "pages/setup/grade_pages.h"

#include <algorithm>
#include <span>
#include <string>

#include "database/data_error.h"
#include "database/data_lock.h"
#include "database/gbk_text.h"
#include "database/loaders.h"
#include "database/lookups.h"
#include "database/model.h"
#include "database/store_classes.h"
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
constexpr int kMaxClasses = 60;
constexpr int kNewGradeClasses = 6;
// A starting number feeds the bib counter, an int: ten digits could
// overflow it.
constexpr std::size_t kMaxStartDigits = 9;
constexpr const char* kBadPost = "网页提交的数据有错误！";
constexpr const char* kBadClassNamesPost = "网页提交的数据有错误；";

// The classes of a grade: its run of consecutive nodes in ClassList.
std::span<const ClassNode> GradeClasses(int grade_id) {
  const std::vector<ClassNode>& list = Model().ClassList;
  auto first = std::find_if(list.begin(), list.end(), [&](const ClassNode& c) { return c.GradeId == grade_id; });
  auto last = std::find_if(first, list.end(), [&](const ClassNode& c) { return c.GradeId != grade_id; });
  return {first, last};
}

// A grade's name for a sentence: from its classes, else from the grade
// table, else its id.
std::string GradeLabel(int grade_id, bool* known) {
  std::span<const ClassNode> classes = GradeClasses(grade_id);
  *known = true;
  if (!classes.empty()) return classes.front().GradeName;
  for (const GradeOption& grade : LoadGradeOptions())
    if (grade.GradeId == grade_id) return grade.GradeName;
  *known = false;
  return "ID " + std::to_string(grade_id);
}

// "/SetupSchool.html": one row per grade with its class count.
void ServeGradeListPage(RouteContext& ctx) {
  AssertDataLockHeld();
  if (!CatalogueMeetOpen(ctx)) return;
  const std::vector<ClassNode>& list = Model().ClassList;
  std::string c = BuildSetupTabBar(SetupTab::kGrades);
  c += "<tr><td><br />" + EscapeHtml(Model().OrganiserName) + "　学校年级列表：</td></tr>\r\n";
  c += "<tr><td><table class=\"style1\" width=\"100%\" border=\"1\" cellspacing=\"0\" cellpadding=\"3\">\r\n"
       "<tr align=\"center\"><td>序号</td><td>年级名称</td><td>年级简称</td><td>班级数量</td><td>修改</td>"
       "<td>删除</td></tr>\r\n";
  int row = 0;
  for (std::size_t i = 0; i < list.size();) {
    std::span<const ClassNode> classes = GradeClasses(list[i].GradeId);
    const ClassNode& first = classes.front();
    const std::string id = std::to_string(first.GradeId);
    c += "<tr align=\"center\"><td>" + std::to_string(++row) + "</td><td>" + EscapeHtml(first.GradeName) +
         "</td><td>" + EscapeHtml(first.GradeShortName) + "</td><td>" + std::to_string(classes.size()) +
         "</td><td>" + Button("修改", "ChangNJ(" + id + ")") + "</td><td>" +
         Button("删除", "DelNJ(" + id + ",'" + EscapeScript(first.GradeName) + "')") + "</td></tr>\r\n";
    i += classes.size();
  }
  c += "</table></td></tr>\r\n<tr><td><br />" + Button("添加新的年级", "AddNJ()") +
       "<form name=\"DelForm\" id=\"DelForm\" method=\"post\" action=\"DelGrade.html\">"
       "<input type=\"hidden\" name=\"Gradeid\" id=\"Gradeid\" value=\"0\" /></form></td></tr>\r\n";
  ServeCataloguePage(ctx, c);
}

std::string ClassTable(std::span<const ClassNode> classes) {
  std::string t =
      "本年级班级信息：<br><table class=\"style1\" width=\"100%\" border=\"1\" cellspacing=\"0\" cellpadding=\"3\">\r\n"
      "<tr align=\"center\"><td>班级序号</td><td>班级名称</td><td>班级运动员起始号码(男生)</td>"
      "<td>班级运动员起始号码(女生)</td></tr>\r\n";
  int n = 0;
  for (const ClassNode& cls : classes)
    t += "<tr align=\"center\"><td>" + std::to_string(++n) + "</td><td>" + EscapeHtml(cls.ClassName) + "</td><td>" +
         EscapeHtml(cls.BoyStartNumber) + "</td><td>" + EscapeHtml(cls.GirlStartNumber) + "</td></tr>\r\n";
  return t + "</table>";
}

// "/SetupGrade.html?id=": the grade form (template 148); id 0 or none is a
// new grade, which also chooses its number of classes.
void ServeGradeFormPage(RouteContext& ctx) {
  AssertDataLockHeld();
  if (!CatalogueMeetOpen(ctx)) return;
  const int id = FieldInt(ctx.request.Path, "id=");
  std::span<const ClassNode> classes = GradeClasses(id);
  if (id != 0 && classes.empty()) {
    ShowDataErrorCode(151510);
    return;
  }
  std::string page;
  if (!LoadHtmlTemplate(Template::kGradeForm, page)) return;
  const bool edit = id != 0;
  const int count = static_cast<int>(classes.size());
  std::string size_row, class_table, class_buttons;
  if (edit) {
    class_table = ClassTable(classes);
    class_buttons = Button("增加一个班", "M_ADDorDLLBJ(1)", count >= kMaxClasses) + " " +
                    Button("减少一个班", "M_ADDorDLLBJ(0)", count <= 1) + " " +
                    Button("自定义班级名称和起始号码", "M_EDITBJ(" + std::to_string(id) + ")");
  } else {
    size_row = "<tr><td align=\"right\">年级规模：</td><td><select name=\"BanJiShuLiang\" id=\"BanJiShuLiang\">\r\n";
    for (int n = 1; n <= kMaxClasses; ++n) size_row += Option(n, std::to_string(n) + "个班", n == kNewGradeClasses);
    size_row += "</select> 设置该年级有几个班级</td></tr>";
  }
  ReplacePlaceholder(page, "小标题", edit ? "<strong>编辑年级信息</strong>" : "<strong>添加新的年级</strong>");
  ReplacePlaceholder(page, "年级ID", std::to_string(id));
  ReplacePlaceholder(page, "年级名称", edit ? EscapeHtml(classes.front().GradeName) : "");
  ReplacePlaceholder(page, "年级简称", edit ? EscapeHtml(classes.front().GradeShortName) : "");
  ReplacePlaceholder(page, "年级规模", size_row);
  ReplacePlaceholder(page, "按钮名称", edit ? "提交修改" : "提交新的年级");
  ReplacePlaceholder(page, "班级名称", class_table);
  ReplacePlaceholder(page, "班级按钮", class_buttons);
  ServeCataloguePage(ctx, page);
}

// "/EditClassName.html?GDID=": the names and starting numbers of a
// grade's classes, posted to "/EditCSname.html".
void ServeClassNamesPage(RouteContext& ctx) {
  AssertDataLockHeld();
  if (!CatalogueMeetOpen(ctx)) return;
  const int grade_id = FieldInt(ctx.request.Path, "GDID=");
  std::span<const ClassNode> classes = GradeClasses(grade_id);
  if (classes.empty()) {
    ShowDataErrorCode(13550);
    return;
  }
  const std::string id = std::to_string(grade_id);
  std::string c =
      "<tr><td><form name=\"CSnameFORM\" id=\"CSnameFORM\" method=\"post\" action=\"EditCSname.html\">\r\n"
      "<strong>自定义班级名称及起始号码:</strong><input type=\"hidden\" name=\"NJid\" id=\"NJid\" value=\"" + id +
      "\" /><br />\r\n年级名称：" + EscapeHtml(classes.front().GradeName) + "<br />\r\n年级简称：" +
      EscapeHtml(classes.front().GradeShortName) +
      "<br />\r\n<table class=\"style1\" width=\"100%\" border=\"1\" cellspacing=\"0\" cellpadding=\"3\">\r\n"
      "<tr align=\"center\"><td>班级</td><td>自定义名称</td><td>自定义起始号码(男子)</td>"
      "<td>自定义起始号码(女子)[可选]</td></tr>\r\n";
  for (const ClassNode& cls : classes) {
    c += "<tr align=\"center\"><td>" + std::to_string(cls.ClassNumber) +
         "班:<input type=\"hidden\" name=\"CSid\" value=\"" + std::to_string(cls.ClassId) +
         "\" /></td><td><input type=\"text\" name=\"CSname\" size=\"16\" maxlength=\"10\" value=\"" +
         EscapeHtml(cls.ClassName) + "\" /></td><td><input type=\"text\" name=\"MQsHao\" size=\"8\" maxlength=\"6\" value=\"" +
         EscapeHtml(cls.BoyStartNumber) +
         "\" /></td><td><input type=\"text\" name=\"GQsHao\" size=\"8\" maxlength=\"6\" value=\"" +
         EscapeHtml(cls.GirlStartNumber) + "\" /></td></tr>\r\n";
  }
  c += "</table><br />" + Button("提交修改", "checkbjname()") + " " + Button("返回", "ChangNJ(" + id + ")") + " " +
       Button("自动填充运动员号码", "AutoTcHaoMa()") +
       "</form></td></tr>\r\n<tr><td><br />提示：<br />1、本页可以自定义班级名称与各班起始码号。<br />"
       "2、起始号码为空时，系统将按班级顺序自动编排运动员号码；女子起始号码为空时，女生号码接在男生之后。<br />"
       "3、各班的起始号码不能相同，同一个班的男子与女子起始号码也不能相同。<br />"
       "4、填好前两个班的起始号码后，可按“自动填充运动员号码”按相同的间隔填充其余各班。</td></tr>\r\n";
  ServeCataloguePage(ctx, c);
}

// "/AddGrade.html": saves a new grade with its classes, or an existing
// grade's names. Answered by the result page (base 80).
void HandleSaveGradePost(RouteContext& ctx) {
  AssertDataLockHeld(true);
  if (!CatalogueMeetOpen(ctx)) return;
  const std::string& body = ctx.request.Body;
  const int grade_id = FieldInt(body, "GDID=");
  std::string name, short_name;
  GetFormField(body, "GradeName=", kFieldMax, name);
  GetFormField(body, "GradeStName=", kFieldMax, short_name);
  // The names are kept in 50-byte fields.
  name = CutGbk(name, kClassTextBytes - 1);
  short_name = CutGbk(short_name, kClassTextBytes - 1);
  if (name.empty() || short_name.empty()) {
    Refuse(ctx, "必须指定年级名称及简称");
    return;
  }
  int class_count = 0;
  if (grade_id == 0) {
    class_count = FieldInt(body, "BanJiShuLiang=");
    if (class_count < 1 || class_count > kMaxClasses) {
      Refuse(ctx, kBadPost);
      return;
    }
  } else if (GradeClasses(grade_id).empty()) {
    Refuse(ctx, kBadPost);
    return;
  }
  for (const ClassNode& cls : Model().ClassList) {
    if (cls.GradeId == grade_id) continue;
    if (cls.GradeName == name) {
      Refuse(ctx, "年级名称[" + EscapeHtml(name) + "]已经存在，年级名称不允许有重名！");
      return;
    }
    if (cls.GradeShortName == short_name) {
      Refuse(ctx, "年级简称[" + EscapeHtml(short_name) + "]已经存在，年级简称不允许有重名！");
      return;
    }
  }
  std::string message;
  ctx.result = SaveGrade(name, short_name, &message, grade_id, class_count);
  bool reloaded = LoadClasses() == 0;
  // The groups carry their grade's name onto the group-events and
  // schedule pages.
  if (grade_id != 0) reloaded = LoadGroups() == 0 && LoadGroupEvents() == 0 && reloaded;
  if (!reloaded && ctx.result == 0) {
    ctx.result = 1;
    message = "[" + name + "]年级数据写入数据库时出现错误！";
  }
  ctx.message = EscapeHtml(message);
}

// "/DelGrade.html": deletes a grade without athletes, with its classes,
// their accounts and its competition groups (and everything hanging on
// those). Answered by the result page (base 80).
void HandleDeleteGradePost(RouteContext& ctx) {
  AssertDataLockHeld(true);
  if (!CatalogueMeetOpen(ctx)) return;
  const int grade_id = FieldInt(ctx.request.Body, "Gradeid=");
  if (grade_id == 0) {
    Refuse(ctx, kBadPost);
    return;
  }
  bool known = false;
  const std::string label = GradeLabel(grade_id, &known);
  for (const AthleteNode& athlete : Model().AthleteList) {
    if (athlete.GradeId != grade_id) continue;
    Refuse(ctx, "[" + EscapeHtml(label) +
                    "]不能被删除，因为该年级已经有运动员报名！您可以新建一个运动会，在运动员报名之前，然后再来删除此年级！");
    return;
  }
  // A grade that is nowhere would be reported deleted without anything
  // happening.
  if (!known) {
    Refuse(ctx, kBadPost);
    return;
  }
  std::string message;
  ctx.result = DeleteGrade(grade_id, &message);
  // The grade's groups went with their contests and rounds.
  const bool reloaded = LoadClasses() == 0 && LoadGroups() == 0 && LoadGroupEvents() == 0 && LoadContests() == 0 &&
                        LoadRounds() == 0;
  if (!reloaded && ctx.result == 0) {
    ctx.result = 1;
    message = kReloadFailedText;
  }
  ctx.message = EscapeHtml(message);
}

// "/AddOrDelClass.html?GDID=&ADDorDELL=": adds a class after the grade's
// last one (1) or removes the last one (0). The reply is "OK" or the
// refusal, read by the page's script.
void HandleAddOrDeleteClass(RouteContext& ctx) {
  AssertDataLockHeld(true);
  const std::string& query = ctx.request.Path;
  std::string add;
  GetFormField(query, "ADDorDELL=", kFieldMax, add);
  std::span<const ClassNode> classes = GradeClasses(FieldInt(query, "GDID="));
  std::string answer = "OK";
  if ((add != "0" && add != "1") || classes.empty()) {
    answer = "网页提交的数据有错误";
  } else if (add == "1" && classes.size() >= static_cast<std::size_t>(kMaxClasses)) {
    answer = "每个年级只能有60个班级";
  } else if (add == "0" && classes.size() < 2) {
    answer = "每个年级至少需要一个班级";
  } else if (add == "0" && FindFirstAthleteOfClass(classes.back().ClassId)) {
    answer = EscapeHtml(classes.back().ClassName) +
             "已经有运动员报名，不能删除！您可以新建一个运动会，在运动员报名之前，来删除班级！";
  } else {
    const ClassNode last = classes.back();
    std::string message;
    if (AddOrDeleteClass(last, add == "1", &message) != 0) answer = message;
    if (LoadClasses() != 0 && answer == "OK") answer = add == "1" ? "操作数据库出错！[1]" : "操作数据库出错！[0]";
  }
  AppendHtmlPage(ctx.session, answer, ctx.reply);
}

// A starting number: empty, or at most nine digits.
bool IsStartNumber(const std::string& text) {
  return text.size() <= kMaxStartDigits &&
         std::all_of(text.begin(), text.end(), [](char c) { return c >= '0' && c <= '9'; });
}

// Reads a row's starting number from pos; false (text = what was sent, cut
// for the sentence) when it is too long for the field.
bool ReadStartNumber(std::string_view body, std::size_t& pos, std::string_view key, std::string& text) {
  std::size_t before = pos;
  if (GetNextFormField(body, pos, key, kClassTextBytes, text) == 0 && pos != before) {
    std::size_t at = body.find(key, before) + key.size();
    text = CutGbk(UrlDecode(body.substr(at, std::min<std::size_t>(pos - at, kClassTextBytes))), kMaxStartDigits + 1);
    return false;
  }
  return true;
}

std::string BadStartNumber(const std::string& text) {
  return "您输入的起始号码有错误:[" + text + "]不是有效的数字！请输入纯数字，字母与空格都不允许！";
}

// "/EditCSname.html": the names and starting numbers of a grade's classes,
// row by row; rows saved before a refusal stay saved. Success: result 0
// with the grade id as the message (the redirect to the grade form).
void HandleSaveClassNamesPost(RouteContext& ctx) {
  AssertDataLockHeld(true);
  if (!CatalogueMeetOpen(ctx)) return;
  const std::string& body = ctx.request.Body;
  const int grade_id = FieldInt(body, "NJid=");
  std::size_t pos = body.find("CSid=");
  if (grade_id == 0 || pos == std::string::npos) {
    Refuse(ctx, kBadClassNamesPost);
    return;
  }
  std::string value, name, boys, girls;
  while (GetNextFormField(body, pos, "CSid=", kFieldMax, value) == 1) {
    const int class_id = std::atoi(value.c_str());
    GetNextFormField(body, pos, "CSname=", kFieldMax, name);
    name = CutGbk(name, kClassTextBytes - 1);
    if (class_id == 0 || name.empty()) {
      Refuse(ctx, kBadClassNamesPost);
      return;
    }
    if (FindClassNameClash(class_id, name)) {
      Refuse(ctx, "[" + name + "]班级名称已经存在，更新班级名称操作被迫中断；");
      return;
    }
    ClassNode* cls = FindClassNode(class_id, grade_id);
    if (!cls) {
      Refuse(ctx, kBadClassNamesPost);
      return;
    }
    // The row's numbers stand before the next row's class id.
    const std::string_view row = std::string_view(body).substr(0, body.find("CSid=", pos));
    std::size_t numbers = pos;
    if (!ReadStartNumber(row, numbers, "MQsHao=", boys) || !IsStartNumber(boys)) {
      Refuse(ctx, BadStartNumber(boys));
      return;
    }
    if (!ReadStartNumber(row, numbers, "GQsHao=", girls) || !IsStartNumber(girls)) {
      Refuse(ctx, BadStartNumber(girls));
      return;
    }
    const long boy_value = std::atol(boys.c_str()), girl_value = std::atol(girls.c_str());
    if (boy_value > 0 && boy_value == girl_value) {
      Refuse(ctx, "您输入的起始号码有错误:男生不能与女生的起始号码相同！");
      return;
    }
    if (int clash = FindStartNumberClash(boys, girls, class_id)) {
      Refuse(ctx, "您输入的起始号码有错误:[" + (clash == 1 ? boys : girls) + "]号码已经被使用！");
      return;
    }
    if (UpdateClassNameAndStartNumbers(name, boys, girls, class_id) != 0) {
      Refuse(ctx, "数据库操作出错；[" + std::to_string(class_id) + "][" + name + "]");
      return;
    }
    cls->ClassName = name;
    cls->BoyStartNumber = boys;
    cls->GirlStartNumber = girls;
  }
  ctx.result = 0;
  ctx.message = std::to_string(grade_id);
}

using enum Access;
using enum Method;
using enum Answer;

constexpr RouteRow kRows[] = {
    {.path = "/SetupSchool.html", .roles = kAdmin, .code = 42, .handler = ServeGradeListPage,
     .empty = EmptyReply::kAdminResult},
    {.path = "/SetupGrade.html", .roles = kAdmin, .code = 43, .handler = ServeGradeFormPage,
     .empty = EmptyReply::kAdminResult},
    {.path = "/EditClassName.html", .roles = kAdmin, .code = 44, .handler = ServeClassNamesPage,
     .empty = EmptyReply::kAdminResult},
    {.path = "/AddGrade.html", .method = kPost, .roles = kAdmin, .code = 155, .handler = HandleSaveGradePost,
     .access = kWrite, .empty = EmptyReply::kAdminResult, .answer = kResultPage, .base = 80},
    {.path = "/DelGrade.html", .method = kPost, .roles = kAdmin, .code = 156, .handler = HandleDeleteGradePost,
     .access = kWrite, .empty = EmptyReply::kAdminResult, .answer = kResultPage, .base = 80},
    {.path = "/AddOrDelClass.html", .method = kGet, .roles = kAdmin, .code = 157, .handler = HandleAddOrDeleteClass,
     .access = kWrite, .empty = EmptyReply::kEmptyBody},
    // Success: result 0 with the grade id as the message.
    {.path = "/EditCSname.html", .method = kPost, .roles = kAdmin, .code = 158, .handler = HandleSaveClassNamesPost,
     .access = kWrite, .empty = EmptyReply::kAdminResult, .answer = kRedirectElseFailure, .base = 81,
     .redirect = 3},
};

}  // namespace

RouteTable GradePageRoutes() { return kRows; }

}  // namespace korva
