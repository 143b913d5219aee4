#include "pages/meet/advanced_fragments.h"

#include <string>
#include <string_view>
#include <vector>

#include "database/data_lock.h"
#include "database/gbk_text.h"
#include "database/loaders.h"
#include "database/lookups.h"
#include "database/store_athletes.h"
#include "pages/common/number_list.h"
#include "pages/meet/entry_changes.h"
#include "pages/meet/entry_forms.h"
#include "pages/meet/reports.h"
#include "pages/meet/round_settings_panel.h"
#include "web/escape.h"
#include "web/form_field.h"
#include "web/response.h"

namespace korva {

namespace {

constexpr std::size_t kDstrBytes = 50;
constexpr std::size_t kNameFieldBytes = 10;  // the edit form's name input
constexpr int kNoFragment = 99;
constexpr std::size_t kSearchTextAt = 10;  // behind "4-0-0-0-0-"
constexpr std::size_t kSaveTextAt = 8;     // behind "7-0-0-0-"

constexpr const char* kTip = "<img src=\"tip.jpg\" />提示：";
constexpr const char* kBackButton = "<input name=\"AN5\" type=\"button\" onclick=\"GetGnStr(3)\" value=\"返回\" />";

constexpr const char* kSimulationBox =
    "<fieldset style='padding: 2' id='mnbm'><legend>模拟报名</legend>\r\n"
    "<p><input name=\"gjgn1\" type=\"button\" id=\"gjgn1\" onclick=\"mybmfn()\" value=\"点击我自动完成运动名报名\" "
    "/></p>\r\n"
    "<p>当前功能介绍：为使用户能完整体验到本软件的功能，按此按钮将自动进行运动员报名，然后就可以直接开始生成秩序册，"
    "录入比赛成绩，打印检录表、成绩表、奖状等信息。</p>\r\n"
    "<p><input name=\"gjgn2\" type=\"button\" id=\"gjgn2\" onclick=\"DelAtBmfn()\" value=\"点击删除模拟报名的数据\" "
    "/></p>\r\n"
    "<p>说明：按此按钮将删除模拟报名产生的所有运动员及其报名、分组分道和成绩数据，并重新开放报名；"
    "只有所有运动员都是模拟报名产生且姓名未被修改时才能删除。</p>\r\n</fieldset>";

constexpr const char* kRenumberBox =
    "<fieldset style='padding: 2' id='SCFZFDHM'><legend>重排运动员号码</legend>\r\n"
    "<p><input name=\"cphm1\" type=\"button\" id=\"cphm1\" onclick=\"mycphm()\" value=\"点击我重排所有运动员号码\" "
    "/></p>\r\n"
    "<p>说明：按此按钮将删除所有运动员的号码，然后按各班设置的起始号码（未设置的按默认顺序）重新编排所有运动员的号码，"
    "其他数据不变。</p>\r\n</fieldset>";

constexpr const char* kDeleteHeatsBox =
    "<fieldset style='padding: 2' id='SCFZFDHM'><legend>删除学生分组分道及号码</legend>\r\n"
    "<p><input name=\"gjgn1\" type=\"button\" id=\"gjgn1\" onclick=\"mydelfzfdhm()\" "
    "value=\"点击我删除学生分组分道及号码数据\" /></p>\r\n"
    "<p>说明：按此按钮将删除所有运动员的分组、分道及号码数据，运动员的报名数据保留，之后可以重新开放报名，"
    "并重新生成秩序册。</p>\r\n</fieldset>";

constexpr const char* kSearchBox =
    "<br /><fieldset style='padding: 2' id='mnbm'><legend>修改运动员</legend>\r\n"
    "请输入运动员的姓名或号码：<input type=\"text\" name=\"ststr\" id=\"ststr\" size=\"20\" maxlength=\"10\" />\r\n"
    "<input name=\"an3\" type=\"button\" id=\"an3\" onclick=\"findst1()\" value=\"查找\" />\r\n"
    "<p>"
    "本方法说明：用于在已经生成运动会秩序册的情况下，修改运动员的姓名、号码、比赛项目等，但是已经有成绩的比赛不允许再修"
    "改。</p>"
    "\r\n</fieldset>";

constexpr const char* kAddExplanation =
    "<p>说明：<br />\r\n"
    "1、运动会开始以后也可以添加运动员，但是如果已经生成了秩序册，添加运动员后必须到“秩序册管理”中重新生成秩序册，"
    "新添加的运动员才会有号码并被分组分道，只有他报名的比赛会被重新分组分道；<br />\r\n"
    "2、如果一个比赛已经被报满，则该比赛显示为灰色，不可再报名。<br />\r\n"
    "3、如果报名的单项比赛达到每人限报，则其他单项比赛也会变成灰色不可用，防止多报。<br />\r\n"
    "4、每个比赛后面显示的是本班已报名该比赛的运动员和其他班已报名该比赛的人数。</p>";

const char* SexText(int sex) { return sex == 1 ? "男" : "女"; }

// Piece 2: the class and sex select, and the entry form of the chosen one.
std::string AddAthletePanel(const LoginNode& session, int class_id, int sex) {
  std::string select;
  GroupNode* group = nullptr;
  std::string panel;
  if (BuildGroupSelect(select, class_id, sex, group) == 1) {
    panel = std::string("<img src=\"tip.jpg\" />提示：所有班级都已经报满，没有班级可以再添加运动员了。</fieldset>");
  } else if (!group || class_id == 0 || sex == 0) {
    panel = select + "<img src=\"tip.jpg\" />提示：请先选择需要添加运动员竞赛组（即班级+组别）！";
  } else {
    std::string form;
    BuildAthleteEventForm(session, form, *group, class_id, sex, 0);
    panel = select + form + kAddExplanation;
  }
  return "<fieldset style='padding: 2' id='mnbm'><legend>添加运动员</legend>\r\n" + panel + "\r\n</fieldset>";
}

// Piece 4: every athlete whose number is the text's number or whose name
// holds the text.
std::string SearchResult(std::string_view dstr) {
  const std::string not_found = "<img src=\"tip.jpg\" />未能找到任何运动员，请确认您输入的姓名或者号码是正确的。";
  if (dstr.size() <= kSearchTextAt) return not_found;
  std::string_view text = dstr.substr(kSearchTextAt);
  text = text.substr(0, text.find('-'));
  const int number = LeadingNumber(text);
  std::string rows;
  for (const AthleteNode& athlete : Model().AthleteList) {
    if (athlete.Bib != number && !ContainsGbk(athlete.Name, text)) continue;
    const ClassNode* cls = FindClassNode(athlete.ClassId, athlete.GradeId);
    if (!cls) return "<img src=\"tip.jpg\" />提示：数据错误，错误号：88221！";
    const std::string id = std::to_string(athlete.Id);
    rows +=
        "<tr><td>" + EscapeHtml(athlete.Name) + "</td><td>" + SexText(athlete.Sex) + "</td><td>" + athlete.BibText +
        "</td><td>" + EscapeHtml(cls->ClassName) +
        "</td><td><input name=\"an1\" type=\"button\" onclick=\"GetGnStr('5-0-0-0-" + id +
        "')\" value=\"修改运动员的信息\" /></td><td><input name=\"an2\" type=\"button\" onclick=\"GetGnStr('6-0-0-0-" +
        id + "')\" value=\"修改运动员的比赛\" /></td></tr>\r\n";
  }
  if (rows.empty()) return not_found;
  return "<fieldset style='padding: 2' id='mnbm'><legend>搜索结果</legend>\r\n"
         "请输入运动员的姓名或号码：<input type=\"text\" name=\"ststr\" id=\"ststr\" size=\"20\" maxlength=\"10\" "
         "/>\r\n"
         "<input name=\"an3\" type=\"button\" id=\"an3\" onclick=\"findst1()\" value=\"查找\" />\r\n"
         "<table border=\"1\"><tr align=\"center\"><td>姓名</td><td>性别</td><td>号码</td><td>班级</td>"
         "<td>操作一</td><td>操作二</td></tr>\r\n" +
         rows +
         "</table>\r\n<p>提示：1、“修改运动员的信息”用于修改运动员的姓名和号码；<br />\r\n"
         "2、“修改运动员的比赛”用于让运动员参加或者退出比赛，已经有成绩的比赛不能退出。</p>\r\n</fieldset>";
}

// Piece 5: the name and number form of an athlete.
std::string EditForm(int athlete_id) {
  const AthleteNode* athlete = FindAthleteById(athlete_id);
  if (!athlete) return "<img src=\"tip.jpg\" />提示：数据错误，错误号：883341！";
  const ClassNode* cls = FindClassNode(athlete->ClassId, athlete->GradeId);
  if (!cls) return "<img src=\"tip.jpg\" />提示：数据错误，错误号：88321！";
  const std::string name = EscapeHtml(athlete->Name);
  return "<fieldset style='padding: 2' id='mnbm'><legend>修改运动员信息</legend>\r\n"
         "运动员姓名：<input type=\"text\" name=\"stname\" id=\"stname\" value=\"" +
         name +
         "\" size=\"10\" maxlength=\"10\" />\r\n运动员号码：<input type=\"text\" name=\"sthaoma\" id=\"sthaoma\" "
         "value=\"" +
         athlete->BibText + "\" size=\"10\" maxlength=\"10\" />\r\n性别：" + SexText(athlete->Sex) + " 班级：" +
         EscapeHtml(cls->ClassName) + "\r\n<input type=\"hidden\" name=\"oldname\" id=\"oldname\" value=\"" + name +
         "\" /><input type=\"hidden\" name=\"oldhaoma\" id=\"oldhaoma\" value=\"" + athlete->BibText +
         "\" />\r\n<p><input name=\"an4\" type=\"button\" id=\"an4\" onclick=\"SaveStInfo(" +
         std::to_string(athlete->Id) +
         ")\" value=\"保存修改\" /> <input name=\"AN5\" type=\"button\" id=\"AN5\" onclick=\"GetGnStr(3)\" "
         "value=\"取消\" /></p>\r\n</fieldset>";
}

std::string Refusal(const char* text, bool back = false) {
  return std::string(kTip) + text + (back ? std::string("<br />") + kBackButton : std::string());
}

// Piece 7: "7-0-0-0-<id>-<name>-<number>" saves an athlete's name and
// number once every check has passed.
std::string SaveNameAndNumber(std::string_view dstr, int athlete_id) {
  const std::size_t id_end = dstr.size() > kSaveTextAt ? dstr.find('-', kSaveTextAt) : std::string_view::npos;
  if (id_end == std::string_view::npos) return Refusal("您提交的信息有错误！（0）");
  const std::size_t name_end = dstr.find('-', id_end + 1);
  if (name_end == std::string_view::npos) return Refusal("您提交的信息有错误！（1）");
  const std::string name(dstr.substr(id_end + 1, name_end - id_end - 1));
  if (name.empty() || name.size() > kNameFieldBytes) return Refusal("您提交的信息有错误！（1）");
  std::string_view digits = dstr.substr(name_end + 1);
  digits = digits.substr(0, digits.find('-'));
  if (digits.find_first_not_of("0123456789") != std::string_view::npos)
    return Refusal("运动员号码必须为数字，您的修改已失败！（2）");
  const std::size_t first = digits.find_first_not_of('0');
  // A number needs a digit other than 0, and fits nine digits like every bib.
  if (first == std::string_view::npos || digits.size() - first > 9)
    return Refusal("您提交的信息有错误，请检查后再提交！（3）");
  const int number = std::stoi(std::string(digits.substr(first)));

  AthleteNode* athlete = FindAthleteById(athlete_id);
  if (!athlete) return Refusal("您提交的信息有错误！（4）");
  if (!FindClassNode(athlete->ClassId, athlete->GradeId)) return Refusal("您提交的信息有错误！（5）");
  if (name != athlete->Name) {
    if (!FindFirstAthleteOfClassAndSex(athlete->ClassId, athlete->Sex)) return Refusal("您提交的信息有错误！（6）");
    for (const AthleteNode& other : ClassAthletes(athlete->GradeId, athlete->ClassId)) {
      if (other.Sex == athlete->Sex && other.Id != athlete->Id && other.Name == name)
        return Refusal("该姓名已被使用，修改失败！", true);
    }
  }
  if (number != athlete->Bib) {
    for (const AthleteNode& other : Model().AthleteList) {
      if (other.Bib == number) return Refusal("该号码已被使用，修改失败！", true);
    }
  }
  if (UpdateAthleteNameBib(name, number, athlete->Id) != 0) return Refusal("数据库写入出现错误，修改失败！", true);
  athlete->Name = name;
  athlete->Bib = number;
  athlete->BibText = FormatBibText(number, Model().BibWidth);
  return std::string(kTip) + "修改成功！新的信息如下：<br />\r\n运动员姓名：" + EscapeHtml(athlete->Name) +
         "\r\n<br />运动员号码：" + athlete->BibText + "\r\n<br />" + kBackButton + "<br />";
}

std::string AthleteEventTable(int athlete_id) {
  std::string table;
  BuildAthleteEventEditForm(athlete_id, table);
  return table;
}

std::string RoundSettingsPanel(int kind) {
  std::string panel;
  BuildChangeRoundDataPage(panel, kind);
  return panel;
}

std::string Fragment(const LoginNode& session, const std::vector<int>& n, std::string_view dstr) {
  switch (n[0]) {
    case 1:
      return kSimulationBox;
    case 2:
      return AddAthletePanel(session, n[2], n[3]);
    case 3:
      return kSearchBox;
    case 4:
      return SearchResult(dstr);
    case 5:
      return EditForm(n[4]);
    case 6:
      return AthleteEventTable(n[4]);
    case 7:
      return SaveNameAndNumber(dstr, n[4]);
    case 8: {
      std::string text;
      WithdrawAthleteFromEvent(n[1], n[4], text);
      return text;
    }
    case 9: {
      std::string text;
      AddAthleteToEvent(n[4], n[1], text);
      return text;
    }
    case 40:
      return kRenumberBox;
    case 60:
      return kDeleteHeatsBox;
    case 70:
      return RoundSettingsPanel(1);
    case 80:
      return RoundSettingsPanel(2);
    case 90:
      return BuildTotalPointsTable();
    case 100:
      return BuildResultTables();
    case 110:
      return BuildRecordsTable();
    case 120:
      return BuildStudentScoreList();
    default:
      return {};
  }
}

bool IsReport(int piece) { return piece == 90 || piece == 100 || piece == 110 || piece == 120; }

// Route 88: the fragment behind the page header. The reports menu serves
// every staff role, so a report is theirs too; every other piece, some of
// which change the meet, is the administrator's.
void AdvancedPageRoute(RouteContext& ctx) {
  AssertDataLockHeld(true);
  std::string dstr;
  GetFormField(ctx.request.Path, "Dstr=", kDstrBytes, dstr);
  std::vector<int> numbers = ReadNumberList(dstr, '-', 5);
  const bool allowed = ctx.session.Role == kRoleAdmin || (!numbers.empty() && IsReport(numbers[0]));
  if (numbers.size() < 5 || !allowed) numbers = {kNoFragment, 0, 0, 0, 0};
  AppendHtmlPage(ctx.session, Fragment(ctx.session, numbers, dstr), ctx.reply);
}

constexpr RouteRow kRows[] = {
    {.path = "/getgnstr.html",
     .roles = kStaff,
     .code = 88,
     .handler = AdvancedPageRoute,
     .access = Access::kWrite,
     .empty = EmptyReply::kEmptyBody},
};

}  // namespace

RouteTable AdvancedPageRoutes() { return kRows; }

}  // namespace korva
