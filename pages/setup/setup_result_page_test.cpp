#include "pages/setup/setup_result_page.h"

#include <gtest/gtest.h>

#include <string>

#include "database/data_lock.h"
#include "database/model.h"
#include "web/templates.h"
#include "tests/testing/text_count.h"

namespace korva {

namespace {


TEST(SetupResultContent, LinesOfEachCode) {
  const std::string unknown = "Sorry:,产生未知错误！";
  const std::string again = "</td></tr>\t\t\t\t<tr><td><br />您可重新建立新的运动会！";
  const std::pair<int, std::string> cases[] = {
      {0, "<tr><td style=\"line-height:200%;border-bottom:1px dotted #00F;\">恭喜您成功建立“甲”</td></tr>"
          "\t\t\t\t<tr><td><br /><a href=\"SetupMeet.html\">点此开始设置此运动会中各年级的比赛！</a>"},
      {1, "建立“甲”失败！网页提交的数据存在问题！</font>" + again},
      {3, "建立“甲”失败！网页提交的数据存在问题！</font>" + again},
      {4, "运动会名称太长了，而且不应该包含单位名称！</font>" + again},
      {11, "建立“甲”失败！该运动会名称已经存在，请使用新的运动会名称！</font>" + again},
      {7, "无法进行，因为：报告</font></td></tr>\t\t\t\t<tr><td><br /><a href=\"JianLiYdh.html\">"},
      {5, "<a href=\"SetupYard.html\">点此添加比赛场地</a>"},
      {41, "Sorry:操作失败，原因是网页提交的数据不正确！</font>"},
      {44, "成功修改“甲!”！<p>网络报名已经打开"},
      {44, "</p>报告</td></tr>\t\t\t\t<tr><td><br /></td></tr>"},
      {40, "</p>报告</td></tr>\t\t\t\t<tr><td><br /><a href=\"SetupMeet.html\">点此继续设置此运动会（日程安排）</a>"},
      {71, "原因是：<br>报告</font>"},
      {92, "<a href=\"MatchPlan.html\">点此继续设置日程安排！</a>"},
      {8, "<tr><td><h1><font color=\"#FF0000\">" + unknown}, {9, unknown}, {12, unknown}, {13, unknown},
      {99, unknown}, {45, unknown}, {-1, unknown},
  };
  for (const auto& [code, part] : cases)
    EXPECT_TRUE(Has(BuildSetupResultContent(code, "报告", "甲"), part)) << code;
  // The text is an argument, never a format; the name is escaped.
  EXPECT_TRUE(Has(BuildSetupResultContent(71, "100%s%d", ""), "原因是：<br>100%s%d</font>"));
  EXPECT_TRUE(Has(BuildSetupResultContent(0, "", "<b>"), "成功建立“&lt;b&gt;”"));
}

TEST(SetupResultPage, OnlyAdministratorsGetIt) {
  LoadHtmlTemplateCache();
  {
    DataGuard hold(DataLock);
    Model().MeetName = "秋季<运动会>";
  }
  LoginNode admin;
  admin.Role = kRoleAdmin;
  std::string reply;
  EXPECT_EQ(ServeSetupResultPage(admin, 0, "", reply, "未用"), 1);
  EXPECT_TRUE(Has(reply, "HTTP/1.1 200 OK\r\n"));
  EXPECT_TRUE(Has(reply, "恭喜您成功建立“秋季&lt;运动会&gt;”"));
  reply.clear();
  EXPECT_EQ(ServeSetupResultPage(admin, 11, "", reply, "重名"), 1);
  EXPECT_TRUE(Has(reply, "建立“重名”失败！"));

  LoginNode teacher;
  teacher.Role = kRoleClassTeacher;
  reply.clear();
  EXPECT_EQ(ServeSetupResultPage(teacher, 6, "数据有错误", reply), 9);
  EXPECT_TRUE(Has(reply, "HTTP/1.1 200 OK\r\n"));  // a complete answer, never silence
  EXPECT_FALSE(Has(reply, "数据有错误"));
  DataGuard hold(DataLock);
  Model() = MeetModel{};
}

}  // namespace

}  // namespace korva
