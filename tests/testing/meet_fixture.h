#pragma once
// A data folder with a base file and meet files for tests: each test gets a
// fresh TempFolder, the first-run base file (default catalogue and built-in
// administrator), and meets made like a new meet (the catalogue copied in,
// a registry row, a settings row). SQL given to it is GBK, like every
// literal of the program. The destructor closes both connections and leaves
// a clean Model() behind.
#include <string>
#include <string_view>

#include "tests/testing/temp_folder.h"

namespace korva {

// The settings row of a fixture meet.
struct FixtureMeetSettings {
  std::string Name = "测试运动会";
  std::string StartDate = "2024-5-20";
  int Sessions = 4;
  int MorningStart = 5;
  int AfternoonStart = 13;
  int OpeningCeremony = 2;
  int RegistrationClosed = 0;
  int AdmitOneLess = 1;
  int BibWidth = 3;
};

class MeetFixture {
 public:
  // Opens the data folder (first run); throws when that fails.
  MeetFixture();
  ~MeetFixture();
  MeetFixture(const MeetFixture&) = delete;
  MeetFixture& operator=(const MeetFixture&) = delete;

  const std::string& folder() const { return folder_.path(); }
  // The built-in administrator's password of the first run.
  const std::string& admin_password() const { return admin_password_; }

  // Creates a meet file and its registry row (marked current when current is
  // set, the other rows then unmarked); returns the meet id. Throws on
  // failure. The meet is not opened.
  int AddMeet(const FixtureMeetSettings& settings = {}, bool current = true);
  // Path of a meet's file.
  std::string MeetFile(int meet_id) const;
  // Runs GBK SQL on a meet's file (base attached as "base"); false on error.
  bool MeetSql(int meet_id, std::string_view gbk_sql);
  // Runs GBK SQL on the base file; false on error.
  bool BaseSql(std::string_view gbk_sql);
  // OpenCurrentMeet(meet_id).
  int Open(int meet_id = 0);
  // AddMeet, extra SQL on it, then open it: the usual start of a test.
  // Throws when any step fails.
  int OpenNewMeet(std::string_view gbk_sql = {}, const FixtureMeetSettings& settings = {});

 private:
  TempFolder folder_;
  std::string admin_password_;
};

}  // namespace korva
