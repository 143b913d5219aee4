#include "pages/meet/athlete_registration.h"

#include <cstdlib>
#include <unordered_map>
#include <utility>

#include "database/connections.h"
#include "database/data_error.h"
#include "database/data_lock.h"
#include "database/loaders.h"
#include "database/lookups.h"
#include "database/sqlite_db.h"
#include "database/store_athletes.h"
#include "web/escape.h"
#include "web/form_field.h"
#include "web/response.h"

namespace korva {

namespace {

// The longest name the enrol form may register, in GBK bytes.
constexpr std::size_t kFormNameBytes = 10;

constexpr const char* kBadDataMessage = "<p><img src=\"tip.jpg\" />网页提交的数据有错误！(002)</p>";
constexpr const char* kClosedMessage = "<p><img src=\"tip.jpg\" />运动员报名已经截止！</p>";
constexpr const char* kNoClassMessage =
    "<p><img src=\"tip.jpg\" />您提交的数据有问题！请重新登陆再报名</p>";
constexpr const char* kDuplicateNameMessage =
    "<p><img src=\"tip.jpg\" />学生姓名重复，报名失败！</p><p>如果您需要修改该运动员的比赛项目，"
    "请在班级主页中点击该运动员姓名后，在打开的网页中即可修改！</p>";
constexpr const char* kNotInClassMessage = "<p><img src=\"tip.jpg\" />网页提交的数据有错误！(001)</p>";
constexpr const char* kGroupFullMessage =
    "<p><img src=\"tip.jpg\" />报名人数超过每组限报人数，报名失败！</p>";
constexpr const char* kBadEventMessage = "<p><img src=\"tip.jpg\" />网页提交的数据有错误！</p>";
constexpr const char* kStoreFailedMessage =
    "<p><img src=\"tip.jpg\" />读写数据库时出现错误！（007）请联系管理员！</p>";

std::string EventFullMessage(int limit, const std::string& event_name, int entered) {
  return "<p><img src=\"tip.jpg\" />报名失败！当前竞赛组每项限报" + std::to_string(limit) + "人,[" +
         EscapeHtml(event_name) + "]已经有" + std::to_string(entered) + "人报名！</p>";
}

std::string TeamFullMessage(const std::string& event_name, int size, int entered) {
  return "<p><img src=\"tip.jpg\" />报名失败！[" + EscapeHtml(event_name) + "]团体比赛限制" +
         std::to_string(size) + "参加，已经有" + std::to_string(entered) + "人报名！<p>";
}

std::string MixedTeamFullMessage(const std::string& event_name, int size, int entered) {
  return "<p><img src=\"tip.jpg\" />报名失败！[" + EscapeHtml(event_name) + "]男女混和团体比赛限制" +
         std::to_string(size) + "参加，已经有" + std::to_string(entered) + "人报名！</p>";
}

std::string CombinedLimitMessage(int limit) {
  return "<p><img src=\"tip.jpg\" />报名失败！参加全能比赛只能报" + std::to_string(limit) +
         "项，不能再报其他项目！<p>";
}

std::string SingleLimitMessage(int limit) {
  return "<p><img src=\"tip.jpg\" />报名失败！单项比赛只能报" + std::to_string(limit) +
         "项，不能再报其他项目！</p>";
}

void AddEntriesToTally(const AthleteNode& athlete, std::unordered_map<int, int>& tally) {
  for (int contest_id : athlete.ContestIds) ++tally[contest_id];
}

int TallyOf(const std::unordered_map<int, int>& tally, int contest_id) {
  auto it = tally.find(contest_id);
  return it == tally.end() ? 0 : it->second;
}

bool SortsBeforeClass(const AthleteNode& athlete, int grade_id, int class_id) {
  return athlete.GradeId < grade_id || (athlete.GradeId == grade_id && athlete.ClassId < class_id);
}

// Writes the athlete in one transaction and puts it into AthleteList. On a
// failure nothing stays in the file and the list is reloaded from it.
bool StoreAthlete(RegistrationPlan& plan) {
  const bool is_new = plan.athlete.Id == 0;
  Transaction transaction(MeetConnection());
  int id = transaction.ok() ? SaveAthlete(plan.athlete) : 0;
  if (id == 0 || !transaction.Commit()) {
    transaction.Rollback();
    static_cast<void>(LoadAthletes());  // the failure is answered; a failed reload logs itself
    return false;
  }
  auto& list = Model().AthleteList;
  if (is_new) {
    plan.athlete.Id = id;
    std::size_t at = plan.insert_at <= list.size() ? plan.insert_at : list.size();
    list.insert(list.begin() + static_cast<std::ptrdiff_t>(at), plan.athlete);
    return true;
  }
  AthleteNode* node = FindAthleteById(id);
  if (node != nullptr) {
    node->ContestIds = plan.athlete.ContestIds;
    node->Reserved = plan.athlete.Reserved;
    node->Name = plan.athlete.Name;
    node->Ordinal = 0;
  }
  return true;
}

}  // namespace

AthleteRegistration ReadAthleteRegistration(std::string_view query, const LoginNode& session) {
  AthleteRegistration request;
  request.athlete_id = GetFormInt(query, "stid=", 100);
  request.sex = GetFormInt(query, "stxb=", 100);
  std::string name;
  ReadNameListField(query, name);
  for (char c : name) {
    if (c != ' ') request.name += c;
  }
  if (session.Role == kRoleAdmin) {
    request.grade_id = GetFormInt(query, "NjId=", 100);
    request.class_id = GetFormInt(query, "BjId=", 100);
  } else {
    request.grade_id = session.GradeId;
    request.class_id = session.ClassId;
  }
  std::size_t pos = 0;
  std::string value;
  while (GetNextFormField(query, pos, "STBC1=", 100, value) == 1) {
    request.event_ids.push_back(std::atoi(value.c_str()));
  }
  return request;
}

RegistrationPlan CheckAthleteRegistration(const AthleteRegistration& request, int role) {
  RegistrationPlan plan;
  auto refuse = [&plan](std::string message) {
    plan.refusal = std::move(message);
    return plan;
  };
  if (request.name.empty() || (request.sex != 1 && request.sex != 2) ||
      request.name.size() > kFormNameBytes) {
    return refuse(kBadDataMessage);
  }
  if (role != kRoleAdmin && Model().RegistrationClosed != 0) return refuse(kClosedMessage);
  const int grade_id = request.grade_id;
  const int class_id = request.class_id;
  const int sex = request.sex;
  const GroupNode* group = FindGroupByGradeAndSex(grade_id, sex);
  if (FindClassNode(class_id, grade_id) == nullptr || group == nullptr) return refuse(kNoClassMessage);

  // Entries the other athletes of the class hold, per contest; the group
  // count of this class and sex; and where a new athlete belongs in the list.
  std::unordered_map<int, int> tally;
  int count = 0;
  bool edited_found = false;
  const auto& list = Model().AthleteList;
  std::size_t after_same = 0, after_boy = 0, after_before = 0;  // index + 1, 0 = none
  for (std::size_t i = 0; i < list.size(); ++i) {
    const AthleteNode& athlete = list[i];
    if (SortsBeforeClass(athlete, grade_id, class_id)) after_before = i + 1;
    if (athlete.ClassId != class_id) continue;
    if (athlete.Sex == 1) after_boy = i + 1;
    if (athlete.Sex != sex) {
      AddEntriesToTally(athlete, tally);
      continue;
    }
    after_same = i + 1;
    ++count;
    if (request.athlete_id != 0 && athlete.Id == request.athlete_id) {
      edited_found = true;
      continue;
    }
    if (athlete.Name == request.name) return refuse(kDuplicateNameMessage);
    AddEntriesToTally(athlete, tally);
  }
  plan.insert_at = after_same != 0 ? after_same : (sex == 2 && after_boy != 0) ? after_boy : after_before;
  if (request.athlete_id != 0) {
    if (!edited_found) return refuse(kNotInClassMessage);
    plan.group_full_after = count == group->AthletesPerClass;
  } else {
    if (count >= group->AthletesPerClass) return refuse(kGroupFullMessage);
    plan.group_full_after = count == group->AthletesPerClass - 1;
  }

  AthleteNode& athlete = plan.athlete;
  athlete.Id = request.athlete_id;
  athlete.Name = request.name;
  athlete.GradeId = grade_id;
  athlete.ClassId = class_id;
  athlete.Sex = sex;
  int combined = 0;
  int single = 0;
  for (int event_id : request.event_ids) {
    if (athlete.ContestIds.size() >= static_cast<std::size_t>(kMaxAthleteEntries)) {
      return refuse(kBadEventMessage);
    }
    const EventNode* event = FindEventById(event_id);
    if (event == nullptr) return refuse(kBadEventMessage);
    plan.event_names += EscapeHtml(event->Name) + "，";
    const ContestNode* contest = FindContestByGroupAndEvent(group->Id, event_id);
    if (contest == nullptr) {
      ShowDataErrorCode(17550);
      return refuse(kNoClassMessage);
    }
    athlete.ContestIds.push_back(contest->Id);
    int entered = TallyOf(tally, contest->Id);
    if (event->TuanTiType == 1) {
      if (entered >= group->EntrantsPerEvent) {
        return refuse(EventFullMessage(group->EntrantsPerEvent, event->Name, entered));
      }
      ++(event->BiSaiType == 3 ? combined : single);
    } else if (event->TuanTiType == 2) {
      if (entered >= event->TuanTiRenShu) {
        return refuse(TeamFullMessage(event->Name, event->TuanTiRenShu, entered));
      }
    } else if (const ContestNode* other = FindOppositeSexContest(group->Id, event_id)) {
      int both = entered + TallyOf(tally, other->Id);
      if (both >= event->TuanTiRenShu) {
        return refuse(MixedTeamFullMessage(event->Name, event->TuanTiRenShu, both));
      }
    }
  }
  if (combined > 0) {
    if (combined + single > group->CombinedLimit) return refuse(CombinedLimitMessage(group->CombinedLimit));
  } else if (single > group->EventsPerAthlete) {
    return refuse(SingleLimitMessage(group->EventsPerAthlete));
  }
  return plan;
}

bool HandleAddStudent(std::string_view path, const LoginNode& session, std::string& reply) {
  AssertDataLockHeld(true);
  AthleteRegistration request = ReadAthleteRegistration(path, session);
  RegistrationPlan plan = CheckAthleteRegistration(request, session.Role);
  if (!plan.refusal.empty()) {
    reply += plan.refusal;
    return false;
  }
  if (!StoreAthlete(plan)) {
    reply += kStoreFailedMessage;
    return false;
  }
  reply += "<p><img src=\"tip.jpg\" />报名成功，报名信息如下：</p><p>姓名：" + EscapeHtml(request.name) +
           ",报名的比赛：" + plan.event_names + "。</p><br />";
  if (session.Role == kRoleAdmin) {
    reply += "<div class=\"TabDivBai\"><a href=\"javascript:GetGnStr(2)\">继续新增运动员</a></div>"
             "<div class=\"TabDivBai\"><a href=\"Adft.html\">返回</a></div>";
    if (!Model().LaneList.empty()) {
      reply += "<br /><img src=\"tip.jpg\" />提示：系统检查到当前已经生成比赛安排，但该学生并未被编排进比赛，"
               "请报名结束后到“秩序册管理”中重新生成一下秩序册，\t\t\t\t\t"
               "放心，已经安排好的比赛与号码并不会发生变化，只有新报名的比赛会被重新安排。";
    }
    return true;
  }
  if (request.sex == 1) {
    reply += plan.group_full_after ? "<p><img src=\"tip.jpg\" />男子竞赛组已报满，请返回班级首页！</p>"
                                   : "<div class=\"TabDivBai\"><a href=\"BoyEnroll.html\">继续报名</a></div>";
  } else {
    reply += plan.group_full_after ? "<p><img src=\"tip.jpg\" />女子竞赛组已报满，请返回班级首页！</p>"
                                   : "<div class=\"TabDivBai\"><a href=\"GirlEnroll.html\">继续报名</a></div>";
  }
  reply += "<div class=\"TabDivBai\"><a href=\"ShowClass.html\">返回班级首面</a></div>";
  return true;
}

namespace {

// "/AddStudent.html" (class teacher and administrator): an HTML fragment
// that the enrol form puts in place of itself.
void AddStudentRoute(RouteContext& ctx) {
  std::string text;
  if (!HandleAddStudent(ctx.request.Path, ctx.session, text)) {
    text += ctx.session.Role == kRoleAdmin
                ? "<div class=\"TabDivBai\"><a href=\"Adft.html\">返回</a></div>"
                : "<div class=\"TabDivBai\"><a href=\"ShowClass.html\">返回班级首面</a></div>";
  }
  AppendHtmlPage(ctx.session, text, ctx.reply);
}

constexpr RouteRow kRows[] = {
    {.path = "/AddStudent.html", .roles = Role(kRoleClassTeacher) | Role(kRoleAdmin), .code = 113,
     .handler = AddStudentRoute, .access = Access::kWrite, .empty = EmptyReply::kEmptyBody},
};

}  // namespace

RouteTable AthleteRegistrationRoutes() { return kRows; }

}  // namespace korva
