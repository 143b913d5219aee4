#include "pages/meet/order_book_writer.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "database/data_lock.h"
#include "database/model.h"
#include "tests/testing/registration_meet.h"
#include "tests/testing/word_document.h"
#include "web/templates.h"

namespace korva {

namespace {

using Texts = std::vector<std::string>;

std::string RoundSql(int id, int contest, int kind, int session, int order, int duration, int entrants = 6,
                     int places = 6, int disabled = 0, int part_event = 0) {
  return "INSERT INTO qrtb444 (qrtb445, qrtb446, qrtb447, qrtb448, qrtb449, qrtb450, qrtb451, qrtb452, qrtb453, "
         "qrtb454, qrtb455, qrtb456, qrtb457, qrtb458) VALUES (" +
         std::to_string(id) + ", " + std::to_string(contest) + ", " + std::to_string(kind) + ", " +
         std::to_string(disabled) + ", " + std::to_string(session) + ", " + std::to_string(order) + ", " +
         std::to_string(duration) + ", " + std::to_string(entrants) + ", " + std::to_string(places) + ", " +
         std::to_string(part_event) + ", 0, 0, 0, 0);\n";
}

// Boys of class 101 numbered from first, bib = id.
std::string BoysSql(int first, int count, int class_id = 101, int sex = 1) {
  std::string sql;
  for (int i = 0; i < count; ++i) {
    const int id = first + i;
    sql += AthleteSql(id, (sex == 1 ? "男" : "女") + std::to_string(id), 1, class_id, sex, {}, id);
  }
  return sql;
}

class OrderBookWriterTest : public ::testing::Test {
 protected:
  void SetUp() override { LoadHtmlTemplateCache(); }

  void Open(const std::string& sql, const FixtureMeetSettings& settings = {}) {
    fixture_.OpenNewMeet(RegistrationMeetSql() + sql, settings);
  }

  Texts Roster() {
    DataGuard hold(DataLock);
    std::string doc;
    WriteAthleteRoster(doc);
    return ParagraphTexts(doc);
  }

  // The timetable, and the group part after it.
  std::string Schedule() {
    DataGuard hold(DataLock);
    std::string doc;
    WriteScheduleAndGroups(doc);
    return doc;
  }

  // The group part's paragraphs (from its title on).
  Texts GroupPart(const std::string& doc) {
    Texts all = ParagraphTexts(doc);
    std::size_t at = 0;
    while (at < all.size() && all[at] != "竞 赛 分 组 表") ++at;
    return Texts(all.begin() + static_cast<long>(at), all.end());
  }

  MeetFixture fixture_;
};

TEST_F(OrderBookWriterTest, RosterListsEachClassSixAthletesToALine) {
  Open(BoysSql(1, 13) + BoysSql(20, 1, 101, 2) +
       "UPDATE qrtb7 SET qrtb12 = '<style>*{display:none}' WHERE qrtb16 = 102;");
  EXPECT_EQ(Roster(), (Texts{"运 动 员 名 单",
                             "★一年级01班  领队：王老师",
                             "男子组",
                             "001男1  002男2  003男3  004男4  005男5  006男6",
                             "007男7  008男8  009男9  010男10  011男11  012男12",
                             "013男13",
                             "女子组",
                             "020女20",
                             // A class without athletes still has its group lines.
                             "★一年级02班  领队：<style>*{display:none}",
                             "男子组",
                             "女子组",
                             // Grade 2 has only a girls' group.
                             "★二年级01班  领队：",
                             "女子组"}));
}

TEST_F(OrderBookWriterTest, TimetableDatesSessionsAndTimesEachLine) {
  FixtureMeetSettings settings;
  settings.StartDate = "2024-5-3";
  settings.MorningStart = 3;    // 7:00
  settings.OpeningCeremony = 2;  // session 1 starts at 8:00
  settings.AfternoonStart = 13;  // 12:00
  Open("UPDATE qrtb306 SET qrtb317 = 6 WHERE qrtb307 = 903;"  // 铅球 at the throwing field
       "UPDATE qrtb425 SET qrtb429 = 1 WHERE qrtb426 = 2201;" +
           RoundSql(1, 1101, 3, 1, 1, 10) + RoundSql(2, 1201, 3, 1, 2, 15) + RoundSql(3, 1105, 3, 1, 3, 5, 2) +
           RoundSql(4, 1102, 3, 1, 4, 20) + RoundSql(5, 1103, 3, 1, 5, 30) + RoundSql(6, 1202, 3, 1, 6, 10) +
           RoundSql(7, 1106, 3, 2, 1, 8, 2, 2) +
           RoundSql(8, 2201, 1, 3, 1, 6, 3, 3, 1) + RoundSql(9, 2201, 2, 3, 2, 6) +
           RoundSql(10, 1104, 3, 4, 1, 0, 6, 6, 0, 901),
       settings);
  const std::string doc = Schedule();
  Texts timetable = ParagraphTexts(doc);
  timetable.resize(timetable.size() - GroupPart(doc).size());
  EXPECT_EQ(timetable,
            (Texts{"竞 赛 日 程 表",
                   "5月3日上午",
                   "径赛",
                   "1、[08:00]一年级 男子组  100米  决赛   6人  取6名",
                   "2、[08:10]一年级 女子组  100米  决赛   6人  取6名",
                   "3、[08:25]一年级 男子组 团队 4x100米接力  决赛   2队  取6名",
                   "田赛",
                   // The throwing field (venue 6) before the long-jump pit (4);
                   // each venue counts from the session's start.
                   "1、[08:00]一年级 男子组  铅球  决赛   6人  取6名",
                   "2、[08:00]一年级 男子组  跳远  决赛   6人  取6名",
                   "3、[08:20]一年级 女子组  跳远  决赛   6人  取6名",
                   "5月3日下午",
                   "径赛",
                   "1、[12:00]一年级  混团 男女混合接力  决赛   2队  取2名",
                   "5月4日上午",
                   "径赛",
                   "1、[07:00]二年级 女子组  100米  预赛 人数不足,直接决赛!",
                   "2、[07:06]二年级 女子组  100米  决赛   取6名",
                   "5月4日下午",
                   "径赛",
                   "1、[12:00]一年级 男子组  100米 (五项全能) 决赛   6人  取6名"}));
}

}  // namespace

}  // namespace korva
