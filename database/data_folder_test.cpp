#include "database/data_folder.h"

#include <gtest/gtest.h>

#include <cctype>
#include <cstdlib>
#include <string>

#include "database/connections.h"
#include "database/data_lock.h"
#include "database/gbk_text.h"
#include "database/model.h"
#include "tests/testing/meet_fixture.h"
#include "tests/testing/temp_folder.h"

namespace {

int CountRows(Connection& conn, const char* sql) {
  Statement st(conn, sql);
  return st.Next() ? st.ReadIntField(0) : -1;
}

TEST(DataFolder, FirstRunCreatesFolderBaseFileAndAdministrator) {
  TempFolder tmp;
  std::string folder = tmp.path() + "/a/korva";
  std::string password;
  ASSERT_EQ(OpenDataFolder(folder, &password), 0);
  EXPECT_EQ(Model().DataFolder, folder);
  EXPECT_EQ(IsFileMissing(BaseFilePath(folder)), 0);

  ASSERT_GE(password.size(), 10u);
  for (char c : password) EXPECT_TRUE(std::isalnum(static_cast<unsigned char>(c))) << password;

  DataGuard hold(DataLock);
  Statement admin(BaseConnection(), "SELECT * FROM qrtb7 WHERE qrtb8 = 1");
  ASSERT_TRUE(admin.Next());
  EXPECT_EQ(admin.ReadIntField("qrtb14"), 8);
  EXPECT_EQ(admin.ReadTextField("qrtb9"), "admin");
  EXPECT_EQ(admin.ReadTextField("qrtb10"), password);
  EXPECT_EQ(CountRows(BaseConnection(), "SELECT COUNT(*) FROM qrtb137"), 0);
  CloseDatabases();
}

TEST(DataFolder, SecondRunKeepsTheBaseFileAndPrintsNoPassword) {
  TempFolder tmp;
  std::string first, second;
  ASSERT_EQ(OpenDataFolder(tmp.path(), &first), 0);
  ASSERT_TRUE(BaseConnection().ExecScript("UPDATE qrtb7 SET qrtb10 = 'changed' WHERE qrtb8 = 1"));
  CloseDatabases();
  ASSERT_EQ(OpenDataFolder(tmp.path(), &second), 0);
  EXPECT_TRUE(second.empty());
  Statement st(BaseConnection(), "SELECT qrtb10 FROM qrtb7 WHERE qrtb8 = 1");
  ASSERT_TRUE(st.Next());
  EXPECT_EQ(st.ReadTextField(0), "changed");
  CloseDatabases();
}

TEST(DataFolder, PasswordsDifferBetweenInstallations) {
  TempFolder a, b;
  std::string pa, pb;
  ASSERT_EQ(OpenDataFolder(a.path(), &pa), 0);
  ASSERT_EQ(OpenDataFolder(b.path(), &pb), 0);
  EXPECT_NE(pa, pb);
  CloseDatabases();
}

TEST(DataFolder, DefaultCatalogueIsComplete) {
  MeetFixture f;
  DataGuard hold(DataLock);
  Connection& base = BaseConnection();
  EXPECT_EQ(CountRows(base, "SELECT COUNT(*) FROM qrtb26"), 6);
  EXPECT_GT(CountRows(base, "SELECT COUNT(*) FROM qrtb40"), 6);
  EXPECT_GT(CountRows(base, "SELECT COUNT(*) FROM qrtb80"), 0);
  // Every event's venue exists and its unit is one of the unit names.
  EXPECT_EQ(CountRows(base, "SELECT COUNT(*) FROM qrtb55 e LEFT JOIN qrtb123 v"
                            " ON v.qrtb124 = e.qrtb317 WHERE v.qrtb124 IS NULL"), 0);
  Statement units(base, "SELECT qrtb318 FROM qrtb55");
  while (units.Next()) {
    std::string unit = units.ReadTextField(0);
    bool known = false;
    for (const char* name : UnitNames) known = known || unit == name;
    EXPECT_TRUE(known) << unit;
  }
  // At least one combined event, and its parts are individual events.
  EXPECT_GT(CountRows(base, "SELECT COUNT(*) FROM qrtb55 WHERE qrtb309 = 3"), 0);
  EXPECT_EQ(CountRows(base, "SELECT COUNT(*) FROM qrtb112 p JOIN qrtb55 e ON e.qrtb307 = p.qrtb251"
                            " WHERE e.qrtb310 <> 1 OR e.qrtb309 = 3"), 0);
  EXPECT_GE(CountRows(base, "SELECT COUNT(*) FROM qrtb112"), 2);
  // The three built-in tracks and the two reserved layout rows.
  Statement tracks(base, "SELECT qrtb126 FROM qrtb123 WHERE qrtb124 < 4 ORDER BY qrtb124");
  const char* names[] = {"直线跑道", "环形跑道", "跨栏道"};
  for (const char* name : names) {
    ASSERT_TRUE(tracks.Next());
    EXPECT_EQ(tracks.ReadTextField(0), name);
  }
  EXPECT_EQ(CountRows(base, "SELECT COUNT(*) FROM qrtb170 WHERE qrtb171 <= 2"), 2);
  // Class names follow the naming rule of the grade's short name.
  Statement cls(base, "SELECT qrtb238 FROM qrtb40 WHERE qrtb236 = 1 AND qrtb237 = 1");
  ASSERT_TRUE(cls.Next());
  EXPECT_EQ(cls.ReadTextField(0), "101班");
}

TEST(DataFolder, DefaultFolderFollowsXdgDataHome) {
  const char* old_xdg = std::getenv("XDG_DATA_HOME");
  std::string saved = old_xdg ? old_xdg : "";
  setenv("XDG_DATA_HOME", "/srv/data", 1);
  EXPECT_EQ(DefaultDataFolder(), "/srv/data/korva");
  setenv("XDG_DATA_HOME", "relative", 1);  // ignored, as the convention says
  std::string home = std::getenv("HOME") ? std::getenv("HOME") : "";
  if (!home.empty()) {
    EXPECT_EQ(DefaultDataFolder(), home + "/.local/share/korva");
  }
  if (old_xdg) {
    setenv("XDG_DATA_HOME", saved.c_str(), 1);
  } else {
    unsetenv("XDG_DATA_HOME");
  }
}

TEST(DataFolder, IsFileMissing) {
  TempFolder tmp;
  EXPECT_EQ(IsFileMissing(tmp.File("none.dat")), 1);
  EXPECT_EQ(IsFileMissing(tmp.path()), 0);
}

TEST(Connections, GetNextIdTakesHighestPlusOneAndZeroOnError) {
  MeetFixture f;
  f.OpenNewMeet(
      "INSERT INTO qrtb444 (qrtb445, qrtb449, qrtb450) VALUES (7, 3, 4), (9, 3, 2), (11, 5, 8);");
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
  // Texts written by the meet file's catalogue copy read back as GBK too.
  Statement grade(MeetConnection(), "SELECT qrtb221 FROM qrtb219 WHERE qrtb220 = 6");
  ASSERT_TRUE(grade.Next());
  EXPECT_EQ(grade.ReadTextField(0), "六年级");
}

}  // namespace
