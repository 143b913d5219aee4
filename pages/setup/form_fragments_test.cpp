#include "pages/setup/form_fragments.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "database/data_lock.h"
#include "database/model.h"
#include "tests/testing/meet_fixture.h"

namespace {

int Count(const std::string& text, const std::string& what) {
  int n = 0;
  for (std::size_t at = text.find(what); at != std::string::npos; at = text.find(what, at + 1)) ++n;
  return n;
}

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

// The select named name inside a row, up to its "</select>".
std::string Select(const std::string& row, const std::string& name) {
  std::size_t at = row.find("<select name=\"" + name + "\"");
  if (at == std::string::npos) return {};
  return row.substr(at, row.find("</select>", at) - at);
}

std::string Marked(const std::string& select) {
  std::size_t at = select.find(" selected=\"selected\">");
  if (at == std::string::npos) return {};
  at += 21;
  return select.substr(at, select.find("</option>", at) - at);
}

TEST(NumberAndBonusSelects, MarkupAndModes) {
  EXPECT_EQ(BuildNumberSelect(0, 1, "wqmc", "名", 1),
            "<td align=\"center\">\r\n<select name=\"wqmc\" id=\"wqmc\">\r\n</select></td>\r\n");
  std::string off = BuildNumberSelect(3, 0, "wmzxb", "人", 1);
  EXPECT_NE(off.find("<select name=\"wmzxb\" id=\"wmzxb\" disabeld>"), std::string::npos);
  EXPECT_NE(off.find("<option value=\"1\" selected=\"selected\">1人</option>\r\n"
                     "<option value=\"2\">2人</option>\r\n<option value=\"3\">3人</option>\r\n"),
            std::string::npos);
  EXPECT_NE(BuildNumberSelect(2, -1, "wqnxb", "项", 1).find("id=\"wqnxb\" style=\" display:none\">"),
            std::string::npos);

  std::string bonus = BuildBonusSelect("wpjf1", 7);
  EXPECT_EQ(Count(bonus, "<option"), 11);
  EXPECT_EQ(Marked(bonus), "加7分");
  EXPECT_NE(bonus.find("<option value=\"0\">不加分</option>"), std::string::npos);
}

TEST(NewMeetForm, DefaultRowsFromTheBaseFile) {
  MeetFixture f;
  DataGuard hold(DataLock);
  NewMeetEvents events = CheckNewMeetEvents();  // no meet open: the default events
  EXPECT_TRUE(events.any);
  EXPECT_TRUE(events.has_combined);

  std::string out;
  ASSERT_EQ(BuildNewMeetForm(&out, events), 0);
  std::vector<std::string> rows = Rows(out);
  ASSERT_EQ(rows.size(), 6u);
  for (std::size_t i = 0; i < rows.size(); ++i) {
    const std::string& row = rows[i];
    std::string n = std::to_string(i);
    EXPECT_NE(row.find("onClick=\"nianjiselect(" + n + ")\" name=\"wnjsel\" value=\"" +
                       std::to_string(i + 1) + "\" checked=\"checked\""),
              std::string::npos);
    EXPECT_NE(row.find("name=\"wgirlsel\"value=\"" + std::to_string(i + 1) + "\" checked=\"checked\"  />"),
              std::string::npos);
    EXPECT_EQ(Marked(Select(row, "wmzxb")), "6人");
    EXPECT_EQ(Marked(Select(row, "wmxxb")), "2人");
    EXPECT_EQ(Marked(Select(row, "wmrxb")), "2项");
    EXPECT_EQ(Marked(Select(row, "wqnxb")), "2项");
    EXPECT_EQ(Marked(Select(row, "wqmc")), "6名");
    EXPECT_EQ(Marked(Select(row, "wfz")), "前八名计分");
    EXPECT_EQ(Count(row, "<td"), 10);  // the combined limit has a cell of its own
  }
  EXPECT_NE(rows[0].find("一年级"), std::string::npos);

  events.has_combined = false;
  ASSERT_EQ(BuildNewMeetForm(&out, events), 0);
  for (const std::string& row : Rows(out)) {
    EXPECT_EQ(Count(row, "<td"), 9);
    EXPECT_NE(row.find("</select>\r\n<select name=\"wqnxb\" id=\"wqnxb\" style=\"display:none\">"),
              std::string::npos);
  }
}

TEST(NewMeetForm, MissingDefaults) {
  MeetFixture f;
  DataGuard hold(DataLock);
  std::string out = "kept";
  ASSERT_TRUE(f.BaseSql("delete from qrtb55;"));
  NewMeetEvents events = CheckNewMeetEvents();
  EXPECT_FALSE(events.any);
  EXPECT_EQ(BuildNewMeetForm(&out, events), 3);
  EXPECT_EQ(out, "kept");

  events.any = true;
  ASSERT_TRUE(f.BaseSql("delete from qrtb26;"));
  EXPECT_EQ(BuildNewMeetForm(&out, events), 2);
  ASSERT_TRUE(f.BaseSql("delete from qrtb80;"));
  EXPECT_EQ(BuildNewMeetForm(&out, events), 1);
}

TEST(NewMeetForm, EventsOfTheOpenMeet) {
  MeetFixture f;
  f.OpenNewMeet("delete from qrtb306 where qrtb309=3;");
  DataGuard hold(DataLock);
  NewMeetEvents events = CheckNewMeetEvents();
  EXPECT_TRUE(events.any);
  EXPECT_FALSE(events.has_combined);
  Model().EventList.clear();
  EXPECT_FALSE(CheckNewMeetEvents().any);
}

// Grade 1: boys' group without athletes, girls' group (scheme 2, values 5,
// 3, 4, 2, 8) with one athlete. Grade 2: boys only (scheme 7, which does
// not exist). Grade 3: no group. The other grades are removed.
constexpr const char* kGroupsPage =
    "delete from qrtb219 where qrtb220>3;"
    "insert into qrtb373 (qrtb374,qrtb375,qrtb376,qrtb377,qrtb378,qrtb379,qrtb380,qrtb381,qrtb382,"
    "qrtb383,qrtb386) values (1,1,1,9,9,9,9,9,1,3,5),(2,1,2,5,3,4,2,8,2,3,5),(3,2,1,7,6,5,4,3,7,3,5);"
    "insert into qrtb409 (qrtb410,qrtb411,qrtb412,qrtb413,qrtb414,qrtb415,qrtb416)"
    " values ('甲',1,0,1,1,2,0);";

TEST(GroupSettingsForm, RowsFollowTheGroupsAndTheirAthletes) {
  MeetFixture f;
  f.OpenNewMeet(kGroupsPage);
  DataGuard hold(DataLock);
  std::vector<std::string> rows = Rows(BuildGroupSettingsForm(false));
  ASSERT_EQ(rows.size(), 3u);

  const std::string nodel = "onClick=\"return nodel();\" checked=\"checked\"";
  EXPECT_NE(rows[0].find("name=\"wnjsel\" value=\"1\" " + nodel), std::string::npos);
  EXPECT_NE(rows[0].find("name=\"wboysel\" value=\"1\" onClick=\"njboygirlselect(0);\" checked=\"checked\""),
            std::string::npos);
  EXPECT_NE(rows[0].find("name=\"wgirlsel\"value=\"1\" " + nodel), std::string::npos);
  EXPECT_EQ(Marked(Select(rows[0], "wmzxb")), "5人");
  EXPECT_EQ(Marked(Select(rows[0], "wmxxb")), "3人");
  EXPECT_EQ(Marked(Select(rows[0], "wmrxb")), "4项");
  EXPECT_EQ(Marked(Select(rows[0], "wqnxb")), "1项");  // hidden without a combined event
  EXPECT_EQ(Marked(Select(rows[0], "wqmc")), "8名");
  EXPECT_EQ(Marked(Select(rows[0], "wfz")), "前六名计分");
  EXPECT_EQ(Count(rows[0], "<td"), 9);
  EXPECT_EQ(rows[0].find("disabeld"), std::string::npos);

  EXPECT_NE(rows[1].find("name=\"wnjsel\" value=\"2\" onClick=\"nianjiselect(1)\" checked=\"checked\""),
            std::string::npos);
  EXPECT_NE(rows[1].find("name=\"wgirlsel\"value=\"2\" onClick=\"njboygirlselect(1);\"  />"),
            std::string::npos);
  EXPECT_EQ(Marked(Select(rows[1], "wmzxb")), "7人");
  EXPECT_EQ(Marked(Select(rows[1], "wfz")), "");  // scheme 7 does not exist

  EXPECT_NE(rows[2].find("name=\"wnjsel\" value=\"3\" onClick=\"nianjiselect(2)\" />"), std::string::npos);
  EXPECT_EQ(Count(rows[2], " disabeld"), 4);  // the hidden wqnxb select carries no mark
  EXPECT_EQ(Marked(Select(rows[2], "wmzxb")), "1人");
  EXPECT_EQ(Marked(Select(rows[2], "wfz")), "前八名计分");
  for (const std::string& row : rows) {
    EXPECT_EQ(Count(row, "前八名计分"), 1);
    EXPECT_EQ(Count(row, "前六名计分"), 1);
  }

  std::vector<std::string> combined = Rows(BuildGroupSettingsForm(true));
  EXPECT_EQ(Count(combined[0], "<td"), 10);
  EXPECT_EQ(Marked(Select(combined[0], "wqnxb")), "2项");

  std::string bonus = BuildRecordBonusRows();
  EXPECT_EQ(Marked(Select(bonus, "wpjf1")), "加3分");
  EXPECT_EQ(Marked(Select(bonus, "wpjf2")), "加5分");
}

TEST(GroupSettingsForm, MeetWithoutGrades) {
  MeetFixture f;
  f.OpenNewMeet("delete from qrtb219;");
  DataGuard hold(DataLock);
  EXPECT_EQ(BuildGroupSettingsForm(true),
            "<tr><td>-</td><td>-</td><td>-</td><td>-</td><td>-</td><td>-</td><td>-</td><td>-</td>"
            "<td>-</td><td>-</td></tr>");
  EXPECT_EQ(Marked(Select(BuildRecordBonusRows(), "wpjf1")), "不加分");
}

TEST(MeetLists, OptionsAndOtherNamesAreEscaped) {
  MeetFixture f;
  DataGuard hold(DataLock);
  EXPECT_EQ(BuildMeetOptions(), "<option value=\"0\" selected=\"selected\">没有运动会数据</option>");

  FixtureMeetSettings first;
  first.Name = "春季<运动会>";
  f.AddMeet(first, false);
  FixtureMeetSettings second;
  second.Name = "秋季运动会";
  int open = f.AddMeet(second, true);
  EXPECT_EQ(BuildMeetOptions(),
            "<option value=\"2\" selected=\"selected\">秋季运动会</option>"
            "<option value=\"1\">春季&lt;运动会&gt;</option>");
  ASSERT_EQ(f.Open(open), 0);
  EXPECT_EQ(BuildOtherMeetNames(), "|春季\\x3C运动会\\x3E|");
  ASSERT_TRUE(f.BaseSql("delete from qrtb137 where qrtb138=1;"));
  EXPECT_EQ(BuildOtherMeetNames(), "|");
}

}  // namespace
