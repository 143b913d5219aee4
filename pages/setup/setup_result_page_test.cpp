#include "pages/setup/setup_result_page.h"

#include <gtest/gtest.h>

#include <string>

#include "database/data_lock.h"
#include "database/model.h"
#include "web/templates.h"

namespace {

bool Has(const std::string& text, const std::string& what) { return text.find(what) != std::string::npos; }

constexpr const char* kUnknown = "Sorry:,产生未知错误！";

TEST(SetupResultContent, CreationSentences) {
  std::string done = BuildSetupResultContent(0, "", "春季运动会");
  EXPECT_TRUE(Has(done, "<tr><td style=\"line-height:200%;border-bottom:1px dotted #00F;\">恭喜您成功建立“春季运动会”</td></tr>"
                        "\t\t\t\t<tr><td><br /><a href=\"SetupMeet.html\">点此开始设置此运动会中各年级的比赛！</a>"));
  EXPECT_TRUE(Has(done, "</td></tr>\t\t\t\t<tr><td><br /><a href=\"Admin.html\">点此返回管理员首页</a></td></tr>"));

  for (int code : {1, 2, 3})
    EXPECT_TRUE(Has(BuildSetupResultContent(code, "", "甲"), "建立“甲”失败！网页提交的数据存在问题！</font>"
                                                              "</td></tr>\t\t\t\t<tr><td><br />您可重新建立新的运动会！"));
  EXPECT_TRUE(Has(BuildSetupResultContent(4, "", "甲"), "运动会名称太长了，而且不应该包含单位名称！"));
  EXPECT_TRUE(Has(BuildSetupResultContent(11, "", "甲"), "建立“甲”失败！该运动会名称已经存在"));
  // Creation hands no reason, so these print an empty one.
  EXPECT_TRUE(Has(BuildSetupResultContent(7, "", "甲"),
                  "无法进行，因为：</font></td></tr>\t\t\t\t<tr><td><br /><a href=\"JianLiYdh.html\">"));
  for (int code : {8, 9, 12, 13, 99}) EXPECT_TRUE(Has(BuildSetupResultContent(code, "", "甲"), kUnknown));
}

TEST(SetupResultContent, OtherPages) {
  EXPECT_TRUE(Has(BuildSetupResultContent(5, "您还没有添加场地，请先添加比赛场地！", ""),
                  "<a href=\"SetupYard.html\">点此添加比赛场地</a>"));
  EXPECT_EQ(BuildSetupResultContent(41, "", "x"), BuildSetupResultContent(31, "", "x"));

  std::string forty = BuildSetupResultContent(40, "报告", "甲");
  std::string forty_four = BuildSetupResultContent(44, "报告", "甲");
  EXPECT_TRUE(Has(forty_four, "成功修改“甲!”！<p>网络报名已经打开"));
  EXPECT_TRUE(Has(forty_four, "</p>报告</td></tr>\t\t\t\t<tr><td><br /></td></tr>"));
  EXPECT_TRUE(Has(forty, "点此继续设置此运动会（日程安排）"));

  // The text is an argument, never a format.
  EXPECT_TRUE(Has(BuildSetupResultContent(71, "100%s%d", ""), "原因是：<br>100%s%d</font>"));
  EXPECT_TRUE(Has(BuildSetupResultContent(92, "x", ""), "MatchPlan.html"));
  for (int code : {10, 45, 62, 93, -1}) EXPECT_TRUE(Has(BuildSetupResultContent(code, "", ""), kUnknown));
}

TEST(SetupResultContent, MeetNameIsEscaped) {
  std::string page = BuildSetupResultContent(0, "", "<script>alert(1)</script>");
  EXPECT_FALSE(Has(page, "<script>"));
  EXPECT_TRUE(Has(page, "&lt;script&gt;alert(1)&lt;/script&gt;"));
}

TEST(SetupResultPage, OnlyAdministratorsGetIt) {
  LoadHtmlTemplateCache();
  {
    DataGuard hold(DataLock);
    Model().MeetName = "秋季<运动会>";
  }
  LoginNode admin;
  admin.Role = kRoleAdmin;
  admin.SessionId = 7;
  std::string reply;
  EXPECT_EQ(ServeSetupResultPage(admin, 0, "", reply), 1);
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
