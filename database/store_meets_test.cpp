#include "database/store_meets.h"

#include <gtest/gtest.h>

#include "database/data_folder.h"
#include "database/model.h"
#include "database/open_meet.h"
#include "database/store_athletes.h"
#include "database/store_test_support.h"
#include "resources/embedded.h"
#include "tests/testing/meet_fixture.h"

namespace {

// A blank meet file as the create-meet page makes it, with optional extra
// SQL (for instance a trigger that makes a step fail).
std::string BlankMeetFile(const MeetFixture& f, const std::string& name,
                          const std::string& extra_sql = "") {
  std::string path = f.folder() + "/" + name;
  Connection conn;
  EXPECT_TRUE(conn.Open(path, true));
  EXPECT_TRUE(conn.ExecScript(EmbeddedResource("schema/meet.sql")));
  if (!extra_sql.empty()) {
    EXPECT_TRUE(conn.ExecScript(extra_sql));
  }
  return path;
}

std::vector<GradeGroupSettings> TwoGrades() {
  GradeGroupSettings first;
  first.GradeId = 1;
  first.Boys = first.Girls = 1;
  first.AthletesPerClass = 6;
  first.EntrantsPerEvent = 2;
  first.EventsPerAthlete = 3;
  first.CombinedLimit = 4;
  first.PlacesRanked = 8;
  first.SchemeId = 1;
  GradeGroupSettings second = first;
  second.GradeId = 2;
  second.Boys = 0;
  second.PlacesRanked = 6;
  return {first, second};
}

int Create(const std::string& path, const std::string& name) {
  return CreateMeet(path, name, "2025-4-18", 6, 5, 13, 2, {1, 3, 0, 0, 0, 0}, 1, 4, TwoGrades());
}

bool FileExists(const std::string& path) { return IsFileMissing(path) == 0; }

TEST(CreateMeet, FillsTheFileRegistersItAndLeavesTheOpenMeetAlone) {
  MeetFixture f;
  int old_id = f.OpenNewMeet();
  std::string path = BlankMeetFile(f, "ydh4181234.dat");

  ASSERT_EQ(Create(path, "春季运动会"), 0);
  int new_id = BaseInt("SELECT qrtb138 FROM qrtb137 WHERE qrtb141 = '春季运动会'");
  EXPECT_EQ(BaseInt("SELECT qrtb139 FROM qrtb137 WHERE qrtb138 = " + std::to_string(new_id)), 1);
  EXPECT_EQ(BaseInt("SELECT qrtb139 FROM qrtb137 WHERE qrtb138 = " + std::to_string(old_id)), 0);
  EXPECT_EQ(BaseInt("SELECT COUNT(*) FROM qrtb137 WHERE qrtb140 = 'ydh4181234.dat'"), 1);
  // Nothing of the open meet moved.
  EXPECT_EQ(Model().CurrentMeetId, old_id);
  EXPECT_EQ(MeetConnection().path(), f.MeetFile(old_id));

  ASSERT_EQ(OpenCurrentMeet(0), 0);
  EXPECT_EQ(Model().CurrentMeetId, new_id);
  EXPECT_EQ(Model().MeetName, "春季运动会");
  EXPECT_EQ(Model().MeetSessionCount, 6);
  EXPECT_EQ(Model().BibWidth, 4);
  EXPECT_EQ(Model().AdmitOneLess, 1);
  EXPECT_EQ(Model().RegistrationClosed, 1);
  EXPECT_EQ(MeetInt("SELECT qrtb341 + qrtb339 + qrtb340 FROM qrtb331"), 3);
  EXPECT_EQ(MeetText("SELECT qrtb345 FROM qrtb331"), "2025-4-18");
  // The default catalogue, with one class-teacher account per class.
  EXPECT_EQ(MeetInt("SELECT COUNT(*) FROM qrtb306"), BaseInt("SELECT COUNT(*) FROM qrtb55"));
  EXPECT_EQ(MeetInt("SELECT COUNT(*) FROM qrtb7 WHERE qrtb10 = '9352' AND qrtb14 = 1"),
            MeetInt("SELECT COUNT(*) FROM qrtb234"));
  EXPECT_EQ(MeetInt("SELECT COUNT(*) FROM qrtb219 WHERE qrtb225 = 1"), 2);
  // Groups: grade 1 boys and girls, grade 2 girls, bonuses in their columns.
  ASSERT_EQ(Model().GroupList.size(), 3u);
  const GroupNode& g = Model().GroupList[0];
  EXPECT_EQ(g.GradeId, 1);
  EXPECT_EQ(g.Sex, 1);
  EXPECT_EQ(g.AthletesPerClass, 6);
  EXPECT_EQ(g.EntrantsPerEvent, 2);
  EXPECT_EQ(g.EventsPerAthlete, 3);
  EXPECT_EQ(g.CombinedLimit, 4);
  EXPECT_EQ(g.PlacesRanked, 8);
  EXPECT_EQ(g.Bonus[1], 1);
  EXPECT_EQ(g.Bonus[2], 3);
  EXPECT_EQ(Model().GroupList[2].Sex, 2);
  EXPECT_EQ(Model().GroupList[2].PlacesRanked, 6);
}

TEST(CreateMeet, DuplicateNameWritesNothingAndLeavesNoFile) {
  MeetFixture f;
  f.OpenNewMeet();
  std::string path = BlankMeetFile(f, "ydh1.new.dat");
  EXPECT_EQ(Create(path, FixtureMeetSettings{}.Name), 11);
  EXPECT_FALSE(FileExists(path));
  EXPECT_EQ(BaseInt("SELECT COUNT(*) FROM qrtb137"), 1);
}

TEST(CreateMeet, MissingFileIs12) {
  MeetFixture f;
  f.OpenNewMeet();
  EXPECT_EQ(Create(f.folder() + "/nothing.dat", "新运动会"), 12);
  EXPECT_EQ(BaseInt("SELECT COUNT(*) FROM qrtb137"), 1);
}

TEST(CreateMeet, FailureWhileFillingLeavesTheOldMeetCurrentAndWritable) {
  MeetFixture f;
  int old_id = f.OpenNewMeet(
      "INSERT INTO qrtb373 (qrtb374, qrtb375, qrtb376) VALUES (1, 1, 1);");
  // The last step of filling the new file fails.
  std::string path = BlankMeetFile(
      f, "ydh999.dat",
      "CREATE TRIGGER no_groups BEFORE INSERT ON qrtb373 BEGIN SELECT RAISE(ABORT, 'x'); END;");
  std::string registry = TableDump("base.qrtb137");

  EXPECT_EQ(Create(path, "坏运动会"), 13);
  EXPECT_FALSE(FileExists(path));
  EXPECT_FALSE(FileExists(path + "-journal"));
  EXPECT_EQ(TableDump("base.qrtb137"), registry);
  EXPECT_EQ(Model().CurrentMeetId, old_id);

  // A later save lands in the meet that is still open, and it stays current.
  AthleteNode a;
  a.Name = "张三";
  a.GradeId = 1;
  a.ClassId = 1;
  a.Sex = 1;
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
  EXPECT_EQ(Model().MeetName, name);
  EXPECT_EQ(Model().MeetSessionCount, 8);
  EXPECT_EQ(Model().MorningStart, 4);
  EXPECT_EQ(Model().AfternoonStart, 14);
  EXPECT_EQ(Model().OpeningCeremonySlot, 7);
  EXPECT_EQ(Model().AdmitOneLess, 0);
  std::tm tm{};
  localtime_r(&Model().MeetStartTime, &tm);
  EXPECT_EQ(tm.tm_year + 1900, 2025);
  EXPECT_EQ(tm.tm_mon + 1, 10);
  EXPECT_EQ(tm.tm_mday, 8);
  EXPECT_EQ(MeetText("SELECT qrtb141 FROM base.qrtb137 WHERE qrtb138 = " + std::to_string(id)), name);
  EXPECT_EQ(MeetText("SELECT qrtb142 FROM base.qrtb137"), "2025-10-8");
  EXPECT_EQ(MeetText("SELECT qrtb344 FROM qrtb331"), name);

  StoredMeetSettings s;
  ASSERT_EQ(LoadMeetSettings(id, &s), 0);
  EXPECT_EQ(s.Year, 2025);
  EXPECT_EQ(s.Month, 10);
  EXPECT_EQ(s.Day, 8);
  EXPECT_EQ(s.SessionCount, 8);
  EXPECT_EQ(s.MorningStart, 4);
  EXPECT_EQ(s.AfternoonStart, 14);
  EXPECT_EQ(s.OpeningLength, 7);
  EXPECT_EQ(LoadMeetSettings(id + 1, &s), 1);
}

TEST(SaveMeetInfo, RefusalsChangeNeitherFileNorGlobals) {
  MeetFixture f;
  FixtureMeetSettings other;
  other.Name = "别的运动会";
  f.AddMeet(other, false);
  f.OpenNewMeet();
  std::string settings = TableDump("qrtb331");
  std::string registry = TableDump("base.qrtb137");

  EXPECT_EQ(SaveMeetInfo("别的运动会", "2025-1-1", 2, 1, 11, 1, 0), 1);
  EXPECT_EQ(Model().AdmitOneLess, 1);

  FailOn("UPDATE", "qrtb331", "no_settings");
  EXPECT_EQ(SaveMeetInfo("新名字", "2025-1-1", 2, 1, 11, 1, 0), 3);
  EXPECT_EQ(Model().AdmitOneLess, 1);
  EXPECT_EQ(Model().MeetName, FixtureMeetSettings{}.Name);
  EXPECT_EQ(TableDump("qrtb331"), settings);
  EXPECT_EQ(TableDump("base.qrtb137"), registry);
}

TEST(SetRegistrationClosed, OpensClosesAndIgnoresOtherModes) {
  MeetFixture f;
  FixtureMeetSettings s;
  s.RegistrationClosed = 1;
  f.OpenNewMeet("", s);
  EXPECT_EQ(SetRegistrationClosed(1), 0);
  EXPECT_EQ(Model().RegistrationClosed, 0);
  EXPECT_EQ(MeetInt("SELECT qrtb341 FROM qrtb331"), 0);
  EXPECT_EQ(SetRegistrationClosed(2), 0);
  EXPECT_EQ(Model().RegistrationClosed, 1);
  EXPECT_EQ(MeetInt("SELECT qrtb341 FROM qrtb331"), 1);
  EXPECT_EQ(SetRegistrationClosed(3), 0);
  EXPECT_EQ(Model().RegistrationClosed, 1);
  FailOn("UPDATE", "qrtb331", "no_settings");
  EXPECT_EQ(SetRegistrationClosed(1), 1);
  EXPECT_EQ(Model().RegistrationClosed, 1);
}

}  // namespace
