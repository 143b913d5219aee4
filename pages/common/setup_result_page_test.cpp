#include "pages/common/setup_result_page.h"

#include <gtest/gtest.h>

#include <string>

#include "database/data_lock.h"
#include "database/model.h"
#include "web/templates.h"
#include "tests/testing/text_count.h"

namespace korva {

namespace {


// The reason is an argument, never a format; names are escaped.
TEST(SetupResultContent, TextIsNoFormatAndNamesAreEscaped) {
  EXPECT_TRUE(Has(BuildSetupResultContent(71, "100%s%d", ""), "原因是：<br>100%s%d</font>"));
  EXPECT_TRUE(Has(BuildSetupResultContent(0, "", "<b>"), "成功建立“&lt;b&gt;”"));
  EXPECT_TRUE(Has(BuildSetupResultContent(-1, "", ""), "Sorry:,产生未知错误！"));
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
