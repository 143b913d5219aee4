#include "database/store_meets.h"

#include <gtest/gtest.h>

#include <tuple>

#include "database/data_folder.h"
#include "database/model.h"
#include "database/open_meet.h"
#include "database/store_athletes.h"
#include "database/store_test_support.h"
#include "resources/embedded.h"
#include "tests/testing/meet_fixture.h"

namespace korva {

namespace {

// A blank meet file as the create-meet page makes it, with optional extra
// SQL (for instance a trigger that makes a step fail).
std::string BlankMeetFile(const MeetFixture& f, const std::string& name, const std::string& extra_sql = "") {
  std::string path = f.folder() + "/" + name;
  Connection conn;
  EXPECT_TRUE(conn.Open(path, true) && conn.ExecScript(EmbeddedResource("schema/meet.sql")) &&
              conn.ExecScript(extra_sql));
  return path;
}

int Create(const std::string& path, const std::string& name) {
  GradeGroupSettings first{.GradeId = 1, .Boys = 1, .Girls = 1, .AthletesPerClass = 6, .EntrantsPerEvent = 2,
                           .EventsPerAthlete = 3, .CombinedLimit = 4, .PlacesRanked = 8, .SchemeId = 1};
  GradeGroupSettings second = first;
  second.GradeId = 2;
  second.Boys = 0;
  second.PlacesRanked = 6;
  return CreateMeet(path, name, "2025-4-18", 6, 5, 13, 2, {1, 3, 5, 7, 9, 11}, 1, 4, {first, second});
}

TEST(CreateMeet, FillsTheFileAndRegistersItWithoutTouchingTheOpenMeet) {
  MeetFixture f;
  int old_id = f.OpenNewMeet();
  std::string path = BlankMeetFile(f, "ydh4181234.dat");
  ASSERT_EQ(Create(path, "春季运动会"), 0);
  EXPECT_EQ(Rows("SELECT qrtb138, qrtb139, qrtb140, qrtb141, qrtb142 FROM base.qrtb137 ORDER BY qrtb138"),
            "1|0|ydh1.dat|测试运动会|2024-5-20\n2|1|ydh4181234.dat|春季运动会|2025-4-18");
  EXPECT_EQ(Model().CurrentMeetId, old_id);
  EXPECT_EQ(MeetConnection().path(), f.MeetFile(old_id));

  ASSERT_EQ(OpenCurrentMeet(0), 0);
  const MeetModel& m = Model();
  EXPECT_EQ(std::tie(m.CurrentMeetId, m.MeetName, m.MeetSessionCount, m.BibWidth, m.AdmitOneLess,
                     m.RegistrationClosed),
            std::make_tuple(2, "春季运动会", 6, 4, 1, 1));
  EXPECT_EQ(MeetText("SELECT qrtb332, qrtb333, qrtb334, qrtb335, qrtb336, qrtb337, qrtb338, qrtb339, qrtb340,"
                     " qrtb341, qrtb342, qrtb343, qrtb344, qrtb345 FROM qrtb331"),
            "2|6|5|0|13|0|2|1|1|1|1|4|春季运动会|2025-4-18");
  // The default catalogue, with one class-teacher account per class.
  EXPECT_EQ(MeetInt("SELECT COUNT(*) FROM qrtb306"), BaseInt("SELECT COUNT(*) FROM qrtb55"));
  EXPECT_EQ(MeetInt("SELECT COUNT(*) FROM qrtb7 WHERE qrtb10 = '9352' AND qrtb14 = 1"),
            MeetInt("SELECT COUNT(*) FROM qrtb234"));
  // Grade 1 boys and girls, grade 2 girls; the six bonuses in their columns.
  EXPECT_EQ(Rows("SELECT qrtb375, qrtb376, qrtb377, qrtb378, qrtb379, qrtb380, qrtb381, qrtb382, qrtb383,"
                 " qrtb386, qrtb384, qrtb387, qrtb385, qrtb388 FROM qrtb373 ORDER BY qrtb375, qrtb376"),
            "1|1|6|2|3|4|8|1|1|3|5|7|9|11\n1|2|6|2|3|4|8|1|1|3|5|7|9|11\n2|2|6|2|3|4|6|1|1|3|5|7|9|11");
  EXPECT_EQ(Rows("SELECT qrtb220 FROM qrtb219 WHERE qrtb225 = 1"), "1\n2");
}

TEST(CreateMeet, RefusalsLeaveNeitherAFileNorARegistryRow) {
  MeetFixture f;
  f.OpenNewMeet();
  std::string path = BlankMeetFile(f, "ydh1.new.dat");
  EXPECT_EQ(Create(path, FixtureMeetSettings{}.Name), 11);  // the name is taken
  EXPECT_EQ(IsFileMissing(path), 1);
  EXPECT_EQ(Create(f.folder() + "/nothing.dat", "新运动会"), 12);
  EXPECT_EQ(BaseInt("SELECT COUNT(*) FROM qrtb137"), 1);
}

TEST(CreateMeet, AFailureWhileFillingLeavesTheOldMeetCurrentAndWritable) {
  MeetFixture f;
  int old_id = f.OpenNewMeet("INSERT INTO qrtb373 (qrtb374, qrtb375, qrtb376) VALUES (1, 1, 1);");
  // The last step of filling the new file fails.
  std::string path = BlankMeetFile(
      f, "ydh999.dat", "CREATE TRIGGER no_groups BEFORE INSERT ON qrtb373 BEGIN SELECT RAISE(ABORT, 'x'); END;");
  std::string registry = Dump({"base.qrtb137"});
  EXPECT_EQ(Create(path, "坏运动会"), 13);
  EXPECT_EQ(IsFileMissing(path) + IsFileMissing(path + "-journal"), 2);
  EXPECT_EQ(Dump({"base.qrtb137"}), registry);
  EXPECT_EQ(Model().CurrentMeetId, old_id);

  // A later save lands in the meet that is still open, and it stays current.
  AthleteNode a{.Name = "张三", .GradeId = 1, .ClassId = 1, .Sex = 1};
  ASSERT_GT(SaveAthlete(a), 0);
  Connection old_file;
  ASSERT_TRUE(old_file.Open(f.MeetFile(old_id), false));
  EXPECT_EQ(QueryInt(old_file, "SELECT COUNT(*) FROM qrtb409 WHERE qrtb410 = '张三'"), 1);
  ASSERT_EQ(OpenCurrentMeet(0), 0);
  EXPECT_EQ(Model().CurrentMeetId, old_id);
}

TEST(SaveMeetInfo, WritesRegistryAndSettingsAndRefreshesTheGlobals) {
  MeetFixture f;
  int id = f.OpenNewMeet();
  std::string name = "O'Brien \"秋季\" 运动会";
  ASSERT_EQ(SaveMeetInfo(name, "2025-10-8", 8, 4, 14, 7, 0), 0);
  const MeetModel& m = Model();
  EXPECT_EQ(std::tie(m.MeetName, m.MeetSessionCount, m.MorningStart, m.AfternoonStart, m.OpeningCeremonySlot,
                     m.AdmitOneLess),
            std::make_tuple(name, 8, 4, 14, 7, 0));
  EXPECT_EQ(m.MeetStartTime, ParseStartDate("2025-10-8"));
  EXPECT_EQ(MeetText("SELECT qrtb141, qrtb142 FROM base.qrtb137"), name + "|2025-10-8");
  EXPECT_EQ(MeetText("SELECT qrtb344, qrtb345, qrtb333, qrtb334, qrtb336, qrtb338, qrtb342 FROM qrtb331"),
            name + "|2025-10-8|8|4|14|7|0");

  StoredMeetSettings s;
  ASSERT_EQ(LoadMeetSettings(id, &s), 0);
  EXPECT_EQ(std::tie(s.Year, s.Month, s.Day, s.SessionCount, s.MorningStart, s.AfternoonStart, s.OpeningLength),
            std::make_tuple(2025, 10, 8, 8, 4, 14, 7));
  EXPECT_EQ(LoadMeetSettings(id + 1, &s), 1);
}

TEST(SaveMeetInfo, RefusalsChangeNeitherFileNorGlobals) {
  MeetFixture f;
  f.AddMeet(FixtureMeetSettings{.Name = "别的运动会"}, false);
  f.OpenNewMeet();
  std::string before = Dump({"qrtb331", "base.qrtb137"});
  EXPECT_EQ(SaveMeetInfo("别的运动会", "2025-1-1", 2, 1, 11, 1, 0), 1);
  EXPECT_EQ(Model().AdmitOneLess, 1);
  FailOn("UPDATE", "qrtb331", "no_settings");
  EXPECT_EQ(SaveMeetInfo("新名字", "2025-1-1", 2, 1, 11, 1, 0), 3);
  EXPECT_EQ(std::tie(Model().AdmitOneLess, Model().MeetName), std::make_tuple(1, FixtureMeetSettings{}.Name));
  EXPECT_EQ(Dump({"qrtb331", "base.qrtb137"}), before);
}

TEST(SetRegistrationClosed, OpensClosesAndIgnoresOtherModes) {
  MeetFixture f;
  f.OpenNewMeet("", FixtureMeetSettings{.RegistrationClosed = 1});
  const std::string stored = "SELECT qrtb341 FROM qrtb331";
  EXPECT_EQ(SetRegistrationClosed(1), 0);
  EXPECT_EQ(std::make_tuple(Model().RegistrationClosed, MeetInt(stored)), std::make_tuple(0, 0));
  EXPECT_EQ(SetRegistrationClosed(2), 0);
  EXPECT_EQ(std::make_tuple(Model().RegistrationClosed, MeetInt(stored)), std::make_tuple(1, 1));
  EXPECT_EQ(SetRegistrationClosed(3), 0);
  EXPECT_EQ(Model().RegistrationClosed, 1);
  FailOn("UPDATE", "qrtb331", "no_settings");
  EXPECT_EQ(SetRegistrationClosed(1), 1);
  EXPECT_EQ(Model().RegistrationClosed, 1);
}

}  // namespace

}  // namespace korva
