#include "pages/setup/form_fragments.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "database/data_lock.h"
#include "database/model.h"
#include "tests/testing/meet_fixture.h"
#include "tests/testing/text_count.h"

namespace korva {

namespace {

// The rows of a fragment, each from its "<tr>" on.
std::vector<std::string> Rows(const std::string& fragment) {
  std::vector<std::string> rows;
  for (std::size_t at = fragment.find("<tr>"); at != std::string::npos;) {
    std::size_t next = fragment.find("<tr>", at + 4);
    rows.push_back(fragment.substr(at, next == std::string::npos ? std::string::npos : next - at));
    at = next;
  }
  return rows;
}

// The text of the marked option of the select named name in a row.
std::string Marked(const std::string& row, const std::string& name) {
  std::size_t at = row.find("<select name=\"" + name + "\"");
  std::size_t end = row.find("</select>", at);
  at = row.find(" selected=\"selected\">", at);
  if (at == std::string::npos || at > end) return {};
  at += 21;
  return row.substr(at, row.find("</option>", at) - at);
}

// The marked texts of a row's selects in field order.
std::string MarkedValues(const std::string& row) {
  std::string out;
  for (const char* name : {"wmzxb", "wmxxb", "wmrxb", "wqnxb", "wqmc", "wfz"}) out += Marked(row, name) + " ";
  return out;
}

// The default rows of a new meet (the whole-meet test fills them in), and the
// missing defaults in the order the page tells them.
TEST(NewMeetForm, DefaultRowsFromTheBaseFileWhileNoMeetIsOpen) {
  MeetFixture f;
  DataGuard hold(DataLock);
  NewMeetEvents events = CheckNewMeetEvents();
  EXPECT_TRUE(events.any && events.has_combined);
  std::string out;
  ASSERT_EQ(BuildNewMeetForm(&out, events), 0);
  std::vector<std::string> rows = Rows(out);
  ASSERT_EQ(rows.size(), 6u);
  for (const std::string& row : rows) {
    EXPECT_EQ(MarkedValues(row), "6人 2人 2项 2项 6名 前八名计分 ");
    EXPECT_EQ(CountOf(row, "<td"), 10);  // the combined limit has a cell of its own
  }
  events.has_combined = false;
  ASSERT_EQ(BuildNewMeetForm(&out, events), 0);
  EXPECT_EQ(CountOf(Rows(out)[0], "<td"), 9);

  out = "kept";
  ASSERT_TRUE(f.BaseSql("delete from qrtb55;"));
  events = CheckNewMeetEvents();
  EXPECT_FALSE(events.any);
  EXPECT_EQ(BuildNewMeetForm(&out, events), 3);
  EXPECT_EQ(out, "kept");
  events.any = true;
  ASSERT_TRUE(f.BaseSql("delete from qrtb26;"));
  EXPECT_EQ(BuildNewMeetForm(&out, events), 2);
  ASSERT_TRUE(f.BaseSql("delete from qrtb80;"));
  EXPECT_EQ(BuildNewMeetForm(&out, events), 1);
}

// Grade 1: boys' group without athletes, girls' group (scheme 2, values 5,
// 3, 4, 2, 8) with one athlete. Grade 2: boys only (scheme 7, which does
// not exist). Grade 3: no group. The other grades are removed. The marks
// that keep a group with athletes are in the set-up steps' HTTP test.
TEST(GroupSettingsForm, RowsFollowTheGroupsAndTheirAthletes) {
  MeetFixture f;
  f.OpenNewMeet(
      "delete from qrtb219 where qrtb220>3;"
      "insert into qrtb373 (qrtb374,qrtb375,qrtb376,qrtb377,qrtb378,qrtb379,qrtb380,qrtb381,qrtb382,"
      "qrtb383,qrtb386) values (1,1,1,9,9,9,9,9,1,3,5),(2,1,2,5,3,4,2,8,2,3,5),(3,2,1,7,6,5,4,3,7,3,5);"
      "insert into qrtb409 (qrtb410,qrtb411,qrtb412,qrtb413,qrtb414,qrtb415,qrtb416) values ('甲',1,0,1,1,2,0);");
  DataGuard hold(DataLock);
  std::vector<std::string> rows = Rows(BuildGroupSettingsForm(false));
  ASSERT_EQ(rows.size(), 3u);
  EXPECT_EQ(MarkedValues(rows[0]), "5人 3人 4项 1项 8名 前六名计分 ");  // wqnxb hidden with 1
  EXPECT_EQ(MarkedValues(rows[1]), "7人 6人 5项 1项 3名  ");              // scheme 7 does not exist
  EXPECT_EQ(MarkedValues(rows[2]), "1人 1人 1项 1项 1名 前八名计分 ");
  EXPECT_EQ(CountOf(rows[2], " disabeld"), 4);  // the hidden wqnxb select carries no mark
  EXPECT_EQ(Marked(Rows(BuildGroupSettingsForm(true))[0], "wqnxb"), "2项");
  std::string bonus = BuildRecordBonusRows();
  EXPECT_EQ(Marked(bonus, "wpjf1") + Marked(bonus, "wpjf2"), "加3分加5分");

  ASSERT_TRUE(f.MeetSql(f.OpenNewMeet(), "delete from qrtb219;"));
  EXPECT_EQ(BuildGroupSettingsForm(true),
            "<tr><td>-</td><td>-</td><td>-</td><td>-</td><td>-</td><td>-</td><td>-</td><td>-</td>"
            "<td>-</td><td>-</td></tr>");
  EXPECT_EQ(Marked(BuildRecordBonusRows(), "wpjf1"), "不加分");
}

TEST(MeetLists, OptionsAndOtherNamesAreEscaped) {
  MeetFixture f;
  DataGuard hold(DataLock);
  FixtureMeetSettings first, second;
  first.Name = "春季<运动会>";
  second.Name = "秋季运动会";
  f.AddMeet(first, false);
  ASSERT_EQ(f.Open(f.AddMeet(second, true)), 0);
  EXPECT_EQ(BuildMeetOptions(),
            "<option value=\"2\" selected=\"selected\">秋季运动会</option>"
            "<option value=\"1\">春季&lt;运动会&gt;</option>");
  EXPECT_EQ(BuildOtherMeetNames(), "|春季\\x3C运动会\\x3E|");
}

}  // namespace

}  // namespace korva
