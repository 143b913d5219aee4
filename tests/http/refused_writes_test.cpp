// Writes that must be refused, or that fail in the file part-way: every
// row answers its reason, and afterwards both files hold exactly what they
// held before and the lists still follow the file.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "tests/http/server_fixture.h"

namespace korva {

namespace {

// The meet a row runs on; consecutive rows on the same meet share it.
enum class Meet {
  kCatalogue,         // the default catalogue, nothing chosen
  kGroup,             // kGroupSql: group 11 using events and scheme 1, 三项全能's contest scheme 2
  kBesideAnother,     // a round on the first morning, and a second meet 春季运动会
  kGroupsToChoose,    // two grades of groups; grade 7 has no classes
  kEventsToChoose,    // two grades of groups and grade 3's boys alone
  kRegistration,      // class 101: 甲 (100米), girl 丁; class 102: 戊
  kClosedRegistration,
  kNoAthletes,         // the registration meet before anyone registered
  kEntryOfNoContest,  // 甲 entered in a contest that is gone
  kScoring,           // the scoring meet: the boys' 100米 (1101) a final, the girls' (1201) a preliminary too
};

struct Refusal {
  std::string body;
  std::string answer;  // in the reply; a reply of a few characters is compared whole
  std::string fail = {};   // "OP table": that write fails in the file
  std::string page = {};   // a page that still shows what the files hold:
  std::string shows = {};  // this text, or with a leading '!' not this one
};
// Posted by the administrator, on the registration meets by the teacher of
// class 101; without a path each row's body is the path asked for with GET.
struct Refusals {
  Meet meet;
  std::string path;
  std::vector<Refusal> rows;
};

const std::string kAthletes = AthleteSql(1, "甲", 1, 101, 1, {1101}) + AthleteSql(4, "丁", 1, 101, 2, {}) +
                              AthleteSql(5, "戊", 1, 102, 1, {});

class RefusedWritesTest : public RegistrationServerTest {
 protected:
  void Open(Meet meet) {
    TearDown();
    SetUp();
    FixtureMeetSettings closed;
    closed.RegistrationClosed = 1;
    switch (meet) {
      case Meet::kCatalogue: meet_->OpenNewMeet(); break;
      case Meet::kGroup:
        meet_->OpenNewMeet(std::string(kGroupSql) + "UPDATE qrtb425 SET qrtb436 = 2 WHERE qrtb426 = 1116;");
        break;
      case Meet::kBesideAnother: {
        FixtureMeetSettings other;
        other.Name = "春季运动会";
        meet_->AddMeet(other, false);
        meet_->OpenNewMeet(OneRoundSql(1, 1), closed);
        break;
      }
      case Meet::kGroupsToChoose:
        meet_->OpenNewMeet(kTwoGradesSql + "INSERT INTO qrtb219 (qrtb220, qrtb221, qrtb222, qrtb223, qrtb225)"
                                           " VALUES (7, 'x', 'x', 'x', 0);",
                           closed);
        break;
      case Meet::kEventsToChoose:
        meet_->OpenNewMeet(kTwoGradesSql + "INSERT INTO qrtb373 (qrtb374, qrtb375, qrtb376, qrtb377, qrtb378,"
                                           " qrtb379, qrtb380, qrtb381, qrtb382) VALUES (31, 3, 1, 3, 2, 2, 2, 6, 1);",
                           closed);
        break;
      case Meet::kRegistration: OpenRegistrationMeet(*meet_, kAthletes); break;
      case Meet::kClosedRegistration: OpenRegistrationMeet(*meet_, kAthletes, 1); break;
      case Meet::kNoAthletes: OpenRegistrationMeet(*meet_); break;
      case Meet::kEntryOfNoContest: OpenRegistrationMeet(*meet_, AthleteSql(1, "甲", 1, 101, 1, {7777})); break;
      case Meet::kScoring: OpenScoringMeet(*meet_); break;
    }
    admin_ = LoginAdmin();
    if (meet == Meet::kRegistration || meet == Meet::kClosedRegistration) teacher_ = LoginTeacher();
  }
  SessionCookie teacher_;
};

std::string Files() { return MeetFileRows() + MeetFileRows("base"); }

TEST_F(RefusedWritesTest, AnswerTheReasonAndLeaveBothFilesAndTheListsAsTheyWere) {
  const std::string rest = Selection(2, 12, {4}) + Selection(3, 21, {4}) + Selection(4, 22, {4});
  const std::string group_refused = "Sorry:操作失败，原因是网页提交的数据不正确！";
  const Refusals groups[] = {
      // Grades.
      {Meet::kCatalogue, "/AddGrade.html", {
           {GradeBody(0, "", "7", 3), Failed("必须指定年级名称及简称")},
           // The field filter empties the short name.
           {GradeBody(0, "七年级", "7/", 3), Failed("必须指定年级名称及简称")},
           {GradeBody(0, "七年级", "7", 0), Failed("网页提交的数据有错误！")},
           {GradeBody(0, "七年级", "7", 61), Failed("网页提交的数据有错误！")},
           {GradeBody(99, "七年级", "7"), Failed("网页提交的数据有错误！")},
           {GradeBody(0, "二年级", "7", 3), Failed("年级名称[二年级]已经存在，年级名称不允许有重名！")},
           {GradeBody(1, "一年级", "2"), Failed("年级简称[2]已经存在，年级简称不允许有重名！")},
           {GradeBody(0, "七年级", "7", 3), Failed("[七年级]年级数据写入数据库时出现错误！"),
            "INSERT base.qrtb40", "/SetupSchool.html", "!七年级"},
       }},
      // Venues.
      {Meet::kCatalogue, "/AddYard.html", {
           {VenueBody(4, "跳远沙坑", 0), Failed("提交的数据不正确！")},
           {VenueBody(0, "新场地", 51), Failed("提交的数据不正确！")},
           {VenueBody(99, "新场地", 10), Failed("提交的数据不正确！")},
           {VenueBody(0, "跳高场地", 10), Failed("[跳高场地]比赛场地已存在！")},
           {VenueBody(4, "跳高场地", 10), Failed("[跳高场地]比赛场地已存在，请重新命名！")},
           {LaneBody(1, {5}), Failed("至少需要启动2条跑道！")},
           {VenueBody(4, "沙坑", 9), Failed("[沙坑]比赛场地数据写入数据库时出现错误！"),
            "UPDATE base.qrtb123", "/ShowYards.html", "<td>跳远沙坑</td>"},
       }},
      // Events.
      {Meet::kGroup, "/AddMatch.html", {
           {TrackBody(0, ""), Failed("网页提交的数据有错误！")},
           {TrackBody(0, "a=b"), Failed("网页提交的数据有错误！")},
           {TrackBody(0, "跳远"), Failed("该比赛名称已经存在！")},
           {TrackBody(99, "新项目"), Failed("未找到该比赛！")},
           {TrackBody(-2, "新项目"), Failed("未找到该比赛！")},
           {CombinedBody(0, "二项全能", 3, 1), Failed("全能比赛至少需要选择两个分项比赛。")},
           {CombinedBody(0, "多项全能", 3, 30), Failed("添加全能比赛时分项比赛太多。")},
           {CombinedBody(16, "三项全能", 1, 0), Failed("全能比赛至少需要选择两个分项比赛。")},
           {CombinedBody(16, "三项全能", 1, 2), Failed("[三项全能]比赛项目全能数据写入操作出现错误！错误号：1342"),
            "INSERT base.qrtb112", "/ShowMatch.html", "分项：60米；跳远；垒球掷远；"},
       }},
      // Scoring schemes.
      {Meet::kGroup, "/AddScore.html", {
           {SchemeBody(0, "前六名计分", {3}), Failed("该分制已存在，请使用其他的分制名称！")},
           {SchemeBody(9, "新分制", {3}), Failed("该分制不存在！")},
           {SchemeBody(0, "新分制", {0, 0, 0}), Failed("网页提交的数据有错误！")},
           {SchemeBody(0, "", {3}), Failed("网页提交的数据有错误！")},
           {SchemeBody(2, "前六名", {5}), Failed("数据库操作出错！"), "UPDATE base.qrtb80", "/ShowScore.html",
            "<td>前六名计分</td><td>6</td><td>7,5,4,3,2,1</td>"},
       }},
      // In the result page's rows, with the way back to the schemes.
      {Meet::kGroup, "/DelScore.html", {
           {"ScoreID=1", Failed("当前运动会正在使用该分制，无法删除！") +
                             "</td></tr>\t\t\t\t<tr><td><br /><a href=\"ShowScore.html\">点此继续设置分制</a></td></tr>"
                             "\t\t\t\t<tr><td><br /><a href=\"Admin.html\">点此返回管理员首页</a></td></tr>"},
           {"ScoreID=0", Failed("网页提交的数据有错误！")},
           {"ScoreID=9", Failed("网页提交的数据有错误！")},
           {"ScoreID=2", Failed("一年级男子三项全能比赛使用该分制，无法删除！详情请至“高级功能”-&gt;"
                                "“更改径（田）赛数据”中查看或修改！")},
       }},
      // The meet's information.
      {Meet::kBesideAnother, "/ChangYdhName.html", {
           {InfoBody("", 4, 5, 13, 2, 1), "“测试运动会”信息修改失败！因为请输入运动会名称！"},
           // The field filter empties a name holding '&'; blanks alone are no name.
           {InfoBody("a&b", 4, 5, 13, 2, 1), "因为请输入运动会名称！"},
           {InfoBody("   ", 4, 5, 13, 2, 1), "因为请输入运动会名称！"},
           {InfoBody("春季运动会", 4, 5, 13, 2, 1), "“测试运动会”信息修改失败！因为已存在相同的运动会名称！"},
           {InfoBody("新名称", 4, 5, 13, 7, 1),
            "因为已经有比赛被安排到第一天上午，如果想将开幕式设定为半天，请先取消第一天上午的比赛安排。！"},
       }},
      // Competition groups.
      {Meet::kGroupsToChoose, "/ChangeGrade.html", {
           {GroupsBody(GradeRow(7, true, true)), group_refused},
           {GroupsBody(GradeRow(2, false, false)), group_refused},
           {GroupsBody(GradeRow(2, true, true, "&wmzxb=4&wmxxb=0&wmrxb=3&wqnxb=2&wqmc=8&wfz=2")), group_refused},
           {GroupsBody(GradeRow(0, true, true)), group_refused},
           {GroupsBody(GradeRow(1, true, true, kLimits + "&padding=" + std::string(440, 'x'))), group_refused},
           {"wpjf1=1", group_refused},
           {GroupsBody(GradeRow(1, true, false) + GradeRow(1, true, true)), group_refused},
           {"", group_refused},
       }},
      // The events of each group.
      {Meet::kEventsToChoose, "/ChangGrdeMatch.html", {
           // 迎面接力 (mixed) for grade 3, which has boys only.
           {Selection(1, 11, {15}) + rest + Selection(5, 31, {4}), group_refused},
           {Selection(1, 11, {4, 99}) + rest, group_refused},
           {Selection(1, 77, {4}) + rest, group_refused},
           {Selection(1, 0, {4}) + rest, group_refused},
           {Selection(1, 11, {4}) + rest + Selection(5, 11, {9}), group_refused},
           {Selection(1, 11, {4, 4}) + rest, group_refused},
           {Selection(1, 11, {4}) + std::string(500, 'x') + "&" + rest, group_refused},
           {"x=1", group_refused},
           {"", group_refused},
       }},
      // Registering and deleting athletes.
      {Meet::kRegistration, "", {
           {AddPath(0, 1, "乙", {902}), "<p><img src=\"tip.jpg\" />读写数据库时出现错误！（007）请联系管理员！</p>",
            "INSERT qrtb397"},
           {AddPath(1, 1, "甲", {902}), "读写数据库时出现错误", "INSERT qrtb397"},
       }},
      {Meet::kRegistration, "/DelST.html", {
           // A girl ticked as a boy.
           {"sex=1&manc1=4", "<br>非法的操作</td></tr>"},
           {"sex=3&manc1=1", "<br>网页提交的数据有错误！</td></tr>"},
           {"sex=1", "<br>网页提交的数据有错误！</td></tr>"},
           {"sex=2&manc1=4", "<br>网页提交的数据有错误！</td></tr>"},
           {"manc1=1", "<br>网页提交的数据有错误！</td></tr>"},
       }},
      {Meet::kClosedRegistration, "/DelST.html", {
           {"sex=1&manc1=1", "<br>运动员报名已经截止！</td></tr>"},
       }},
      // A rehearsal registration whose entries can't be stored.
      {Meet::kNoAthletes, "", {{"/gjgn.html?str1=vexil&str2=vexil&str3=1&str4=0", "0", "INSERT qrtb397"}}},
      // An entry whose contest is gone gets the result page.
      {Meet::kEntryOfNoContest, "", {
           {"/ShowBaoMing.html", "数据有错误，建议管理员重新建立运动会！", "", "/ShowBaoMing2.html", "一年级男子100米"},
       }},
      // A contest's round settings.
      {Meet::kScoring, "", {
           {"/ajaxfun.html?Dstr=11%201101%2011%200%200", "error"},  // no preliminary
           {"/ajaxfun.html?Dstr=13%20999%2011%200%200", "error"},
           {"/ajaxfun.html?Dstr=15%209%201101%200%200", "error"},  // no such scheme
           {"/ajaxfun.html?Dstr=15%201%20999%200%200", "error"},
           {"/ajaxfun.html?Dstr=2%201%201", ""},
           {"/ajaxfun.html?Dstr=", "数据发生错误，错误号：09221，请联系开发者！"},
           {"/ajaxfun.html?Dstr=x11%201101", "数据发生错误，错误号：09221，请联系开发者！"},
           {"/ajaxfun.html?Dstr=11%201201%2031%200%200&pad=" + std::string(80, 'x'),
            "数据发生错误，错误号：09221，请联系开发者！"},
           {"/ajaxfun.html?Dstr=11%201201%2031%200%200", "error", "UPDATE qrtb425"},
           {"/ajaxfun.html?Dstr=15%202%201202%200%200", "error", "UPDATE qrtb425"},
       }},
  };
  Meet opened{};
  for (const Refusals& group : groups) {
    if (&group == groups || group.meet != opened) Open(group.meet);
    opened = group.meet;
    const bool teacher = group.meet == Meet::kRegistration || group.meet == Meet::kClosedRegistration;
    for (const Refusal& r : group.rows) {
      SCOPED_TRACE(group.path + " " + r.body.substr(0, 100) + " " + r.fail);
      const std::string before = Files();
      const std::string::size_type space = r.fail.find(' ');
      if (!r.fail.empty()) FailOn(r.fail.substr(0, space), r.fail.substr(space + 1), "row_fails");
      const SessionCookie who = teacher ? teacher_ : admin_;
      const std::string reply = group.path.empty() ? Get(r.body, who).body : Post(group.path, r.body, who).body;
      if (!r.fail.empty()) DropTrigger("row_fails");
      if (r.answer.size() < 6)
        EXPECT_EQ(reply, r.answer);
      else
        EXPECT_TRUE(Has(reply, r.answer)) << reply;
      EXPECT_EQ(Files(), before);
      if (!r.page.empty()) {
        const bool lacks = r.shows[0] == '!';
        EXPECT_NE(Has(Page(r.page), r.shows.substr(lacks)), lacks) << r.page;
      }
      ExpectListsFollowTheFile();
    }
  }
}

}  // namespace

}  // namespace korva
