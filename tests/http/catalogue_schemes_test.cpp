// The scoring-scheme pages over HTTP: saves, refusals and deletions, with
// both files checked after each.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "database/model.h"
#include "tests/http/server_fixture.h"

namespace korva {

namespace {

std::string SchemeFiles() { return Dump({"qrtb260", "base.qrtb80"}); }

std::string SchemeBody(int id, const std::string& name, const std::vector<int>& points) {
  std::string body = "FZID=" + std::to_string(id) + "&FZName=" + FormEncode(name);
  for (int p : points) body += "&SDF=" + std::to_string(p);
  return body;
}

const char* const kRedirect = "window.location.href='/ShowScore.html';";

class SchemePagesTest : public ServerTest {
 protected:
  void SetUp() override {
    ServerTest::SetUp();
    OpenMeetAndSignIn(kGroupSql);
  }
};

TEST_F(SchemePagesTest, SchemesAreSavedInBothFilesAndListed) {
  // A zero before the last points is a scoring place; values past the
  // twentieth are ignored.
  std::vector<int> points = {10, 8, 0, 6};
  points.resize(25, 0);
  points[19] = 1;
  points[24] = 9;
  EXPECT_TRUE(Has(Send("/AddScore.html", SchemeBody(0, "<b>分制", points)), kRedirect));
  EXPECT_EQ(Both("qrtb82, qrtb83, qrtb84, qrtb86, qrtb87, qrtb103", "qrtb260", "qrtb80", "qrtb81 = 3"),
            "<b>分制|20|10|0|6|1 / <b>分制|20|10|0|6|1");
  EXPECT_TRUE(Has(Send("/AddScore.html", SchemeBody(3, "<b>分制", {10, 8, 0, 6})), kRedirect));
  EXPECT_EQ(Both("qrtb83, qrtb103", "qrtb260", "qrtb80", "qrtb81 = 3"), "4|0 / 4|0");
  std::string list = Page("/ShowScore.html");
  EXPECT_TRUE(Has(list, "<td>&lt;b&gt;分制</td><td>4</td><td>10,8,0,6</td>")) << list;
  EXPECT_TRUE(Has(Page("/SetupScore.html?id=3"), "<tr><td>第2名</td><td>得<select name=\"SDF\">"));

  // A scheme the group uses may change.
  EXPECT_TRUE(Has(Send("/AddScore.html", SchemeBody(1, "前八名", {9, 7})), kRedirect));
  EXPECT_EQ(Both("qrtb82, qrtb83", "qrtb260", "qrtb80", "qrtb81 = 1"), "前八名|2 / 前八名|2");
}

TEST_F(SchemePagesTest, RefusalsChangeNeitherFile) {
  const std::string before = SchemeFiles();
  struct Case {
    std::string body;
    std::string reason;
  };
  const Case cases[] = {
      {SchemeBody(0, "前六名计分", {3}), "该分制已存在，请使用其他的分制名称！"},
      {SchemeBody(9, "新分制", {3}), "该分制不存在！"},
      {SchemeBody(0, "新分制", {0, 0, 0}), "网页提交的数据有错误！"},
      {SchemeBody(0, "", {3}), "网页提交的数据有错误！"},
  };
  for (const Case& c : cases) EXPECT_TRUE(Has(Send("/AddScore.html", c.body), Failed(c.reason))) << c.reason;
  // In the result page's rows, with the way back to the schemes.
  EXPECT_TRUE(Has(Send("/DelScore.html", "ScoreID=1"),
                  Failed("当前运动会正在使用该分制，无法删除！") + "</td></tr>\t\t\t\t<tr><td><br />"
                  "<a href=\"ShowScore.html\">点此继续设置分制</a></td></tr>\t\t\t\t<tr><td><br />"
                  "<a href=\"Admin.html\">点此返回管理员首页</a></td></tr>"));
  EXPECT_TRUE(Has(Send("/DelScore.html", "ScoreID=0"), Failed("网页提交的数据有错误！")));
  EXPECT_TRUE(Has(Send("/DelScore.html", "ScoreID=9"), Failed("网页提交的数据有错误！")));
  ChangeMeet("UPDATE qrtb425 SET qrtb436 = 2 WHERE qrtb426 = 1116;");
  EXPECT_TRUE(Has(Send("/DelScore.html", "ScoreID=2"),
                  Failed("一年级男子三项全能比赛使用该分制，无法删除！详情请至“高级功能”-&gt;“更改径（田）赛数据”中查看或修改！")));
  EXPECT_EQ(SchemeFiles(), before);

  FailOn("UPDATE", "base.qrtb80", "no_update");
  EXPECT_TRUE(Has(Send("/AddScore.html", SchemeBody(2, "前六名", {5})), Failed("数据库操作出错！")));
  EXPECT_EQ(SchemeFiles(), before);
  EXPECT_TRUE(Has(Page("/ShowScore.html"), "<td>前六名计分</td><td>6</td><td>7,5,4,3,2,1</td>"));
}

TEST_F(SchemePagesTest, DeletingTheFirstSchemeKeepsTheOthers) {
  ChangeMeet("UPDATE qrtb373 SET qrtb382 = 2;");
  FailOn("DELETE", "base.qrtb80", "no_delete");
  EXPECT_TRUE(Has(Send("/DelScore.html", "ScoreID=1"), Failed("数据库操作出错[223]！")));
  EXPECT_EQ(Both("COUNT(*)", "qrtb260", "qrtb80", "qrtb81 = 1"), "1 / 1");
  DropTrigger("no_delete");
  EXPECT_TRUE(Has(Send("/DelScore.html", "ScoreID=1"), kRedirect));
  EXPECT_EQ(Both("group_concat(qrtb81)", "qrtb260", "qrtb80", "1"), "2 / 2");
  std::string list = Page("/ShowScore.html");
  EXPECT_FALSE(Has(list, "前八名计分"));
  EXPECT_TRUE(Has(list, "前六名计分"));
}

}  // namespace

}  // namespace korva
