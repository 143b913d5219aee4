#include "database/data_folder.h"

#include <gtest/gtest.h>

#include <cctype>
#include <cstdlib>
#include <string>

#include "database/connections.h"
#include "database/data_lock.h"
#include "database/gbk_text.h"
#include "database/model.h"
#include "database/store_test_support.h"
#include "tests/testing/meet_fixture.h"
#include "tests/testing/temp_folder.h"

namespace korva {

namespace {

TEST(DataFolder, FirstRunMakesTheBaseFileAndAnAdministratorWithARandomPassword) {
  TempFolder tmp, other;
  std::string folder = tmp.path() + "/a/korva", password, second_run, other_password;
  ASSERT_EQ(OpenDataFolder(folder, &password), 0);
  EXPECT_EQ(Model().DataFolder, folder);
  EXPECT_EQ(IsFileMissing(BaseFilePath(folder)), 0);
  EXPECT_EQ(IsFileMissing(tmp.File("none.dat")), 1);
  ASSERT_GE(password.size(), 10u);
  for (char c : password) EXPECT_TRUE(std::isalnum(static_cast<unsigned char>(c))) << password;
  EXPECT_EQ(BaseInt("SELECT COUNT(*) FROM qrtb137"), 0);
  {
    DataGuard hold(DataLock);
    Statement admin(BaseConnection(), "SELECT * FROM qrtb7 WHERE qrtb8 = 1");
    ASSERT_TRUE(admin.Next());
    EXPECT_EQ(admin.ReadIntField("qrtb14"), kRoleAdmin);
    EXPECT_EQ(admin.ReadTextField("qrtb9"), kAdminLoginName);
    EXPECT_EQ(admin.ReadTextField("qrtb10"), password);
    ASSERT_TRUE(BaseConnection().ExecScript("UPDATE qrtb7 SET qrtb10 = 'changed' WHERE qrtb8 = 1"));
  }
  // A second run keeps the base file and shows no password; another
  // installation gets another password.
  ASSERT_EQ(OpenDataFolder(folder, &second_run), 0);
  EXPECT_TRUE(second_run.empty());
  EXPECT_EQ(BaseInt("SELECT COUNT(*) FROM qrtb7 WHERE qrtb10 = 'changed'"), 1);
  ASSERT_EQ(OpenDataFolder(other.path(), &other_password), 0);
  EXPECT_NE(other_password, password);
  CloseDatabases();
}

TEST(DataFolder, DefaultCatalogueHoldsWhatANewMeetNeeds) {
  MeetFixture f;
  // Every event's venue exists and its unit is one of the unit names.
  EXPECT_EQ(BaseInt("SELECT COUNT(*) FROM qrtb55 e LEFT JOIN qrtb123 v ON v.qrtb124 = e.qrtb317"
                    " WHERE v.qrtb124 IS NULL"),
            0);
  std::string units;
  for (const char* name : UnitNames) units += std::string(units.empty() ? "'" : ",'") + name + "'";
  EXPECT_EQ(BaseInt("SELECT COUNT(*) FROM qrtb55 WHERE qrtb318 NOT IN (" + units + ")"), 0);
  // A combined event whose parts are individual events.
  EXPECT_GT(BaseInt("SELECT COUNT(*) FROM qrtb112 p JOIN qrtb55 c ON c.qrtb307 = p.qrtb250 WHERE c.qrtb309 = 3"), 1);
  EXPECT_EQ(BaseInt("SELECT COUNT(*) FROM qrtb112 p JOIN qrtb55 e ON e.qrtb307 = p.qrtb251"
                    " WHERE e.qrtb310 <> 1 OR e.qrtb309 = 3"),
            0);
  EXPECT_GT(BaseInt("SELECT COUNT(*) FROM qrtb80"), 0);
  EXPECT_EQ(BaseInt("SELECT COUNT(*) FROM qrtb123 WHERE qrtb124 < 4"), 3);  // the built-in tracks
  EXPECT_EQ(BaseInt("SELECT COUNT(*) FROM qrtb170 WHERE qrtb171 <= 2"), 2);  // reserved layout rows
}

TEST(DataFolder, DefaultFolderFollowsXdgDataHome) {
  const char* old_xdg = std::getenv("XDG_DATA_HOME");
  std::string saved = old_xdg ? old_xdg : "";
  setenv("XDG_DATA_HOME", "/srv/data", 1);
  EXPECT_EQ(DefaultDataFolder(), "/srv/data/korva");
  setenv("XDG_DATA_HOME", "relative", 1);  // ignored, as the convention says
  if (const char* home = std::getenv("HOME")) {
    EXPECT_EQ(DefaultDataFolder(), std::string(home) + "/.local/share/korva");
  }
  old_xdg ? setenv("XDG_DATA_HOME", saved.c_str(), 1) : unsetenv("XDG_DATA_HOME");
}

TEST(Connections, GetNextIdTakesHighestPlusOneAndZeroOnError) {
  MeetFixture f;
  f.OpenNewMeet("INSERT INTO qrtb444 (qrtb445, qrtb449, qrtb450) VALUES (7, 3, 4), (9, 3, 2), (11, 5, 8);");
  DataGuard hold(DataLock);
  EXPECT_EQ(GetNextId("qrtb444", "qrtb445", false), 12);
  EXPECT_EQ(GetNextId("qrtb444 where qrtb449=?", "qrtb450", false, 3), 5);
  EXPECT_EQ(GetNextId("qrtb444 where qrtb449=?", "qrtb450", false, 6), 1);  // empty session
  EXPECT_EQ(GetNextId("qrtb409", "qrtb411", false), 1);                     // empty table
  EXPECT_EQ(GetNextId("qrtb7", "qrtb8", true), 2);                          // base file
  EXPECT_EQ(GetNextId("no_such_table", "x", false), 0);
}

TEST(Connections, TextsRoundTripAsGbkAndAreStoredAsUtf8) {
  MeetFixture f;
  f.OpenNewMeet();
  DataGuard hold(DataLock);
  const std::string name = "张三'\"; --誠\\";  // quotes, a comment and a 0x5C trail byte
  Statement ins(MeetConnection(), "INSERT INTO qrtb409 (qrtb411, qrtb410) VALUES (1, ?)");
  ASSERT_TRUE(ins.Bind(name).Run());
  Statement raw(MeetConnection(), "SELECT qrtb410, length(CAST(qrtb410 AS BLOB)) FROM qrtb409");
  ASSERT_TRUE(raw.Next());
  EXPECT_EQ(raw.ReadTextField(0), name);
  EXPECT_EQ(raw.ReadIntField(1), static_cast<int>(GbkToUtf8(name).size()));
}

}  // namespace

}  // namespace korva
