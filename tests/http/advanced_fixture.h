#pragma once
// The server with the administrator signed in, for the advanced functions:
// the whole meet file as text to compare before and after a request, and
// the lists as the same text, to check that memory follows the file.
#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "database/connections.h"
#include "database/data_lock.h"
#include "database/gbk_text.h"
#include "database/model.h"
#include "database/store_test_support.h"
#include "tests/http/server_fixture.h"

namespace korva {

class AdvancedServerTest : public ServerTest {
 protected:
  // A meet opened from SQL (GBK) and the administrator signed in.
  void OpenMeetAndSignIn(const std::string& sql) {
    meet_->OpenNewMeet(sql);
    admin_ = LoginAdmin();
  }

  std::string Body(const std::string& path) { return Get(path, admin_).body; }

  // Runs GBK SQL on the open meet file, behind the lists' back.
  static void RunMeetSql(const std::string& gbk_sql) {
    DataGuard hold(DataLock);
    ASSERT_TRUE(MeetConnection().ExecScript(GbkToUtf8(gbk_sql))) << gbk_sql;
  }

  // Every row of every table of the meet file, table by table.
  static std::string MeetFileRows() {
    std::string out;
    for (const std::string& table : Split(Rows("SELECT name FROM sqlite_master WHERE type = 'table' ORDER BY name")))
      out += table + ":\n" + Rows("SELECT * FROM " + table + " ORDER BY rowid") + "\n";
    return out;
  }

  // The athletes as "id|bib|name|grade|class|sex|contests," in id order,
  // from memory and from the file.
  static std::string ListedAthletes() {
    DataGuard hold(DataLock);
    std::vector<AthleteNode> athletes = Model().AthleteList;
    std::sort(athletes.begin(), athletes.end(), [](auto& a, auto& b) { return a.Id < b.Id; });
    std::string out;
    for (const AthleteNode& a : athletes) {
      out += std::to_string(a.Id) + "|" + (a.Bib ? std::to_string(a.Bib) : "NULL") + "|" + a.Name + "|" +
             std::to_string(a.GradeId) + "|" + std::to_string(a.ClassId) + "|" + std::to_string(a.Sex) + "|";
      for (int contest : a.ContestIds) out += std::to_string(contest) + ",";
      out += "\n";
    }
    return out;
  }
  static std::string StoredAthletes() {
    std::string out;
    for (const std::string& row : Split(Rows("SELECT qrtb411, ifnull(nullif(qrtb412, 0), 'NULL'), qrtb410, qrtb413,"
                                             " qrtb414, qrtb415 FROM qrtb409 ORDER BY qrtb411"))) {
      out += row + "|";
      for (const std::string& entry : Split(
               Rows("SELECT qrtb399 FROM qrtb397 WHERE qrtb400 = " + row.substr(0, row.find('|')) + " ORDER BY rowid")))
        out += entry + ",";
      out += "\n";
    }
    return out;
  }

  // The rounds as "id|contest|kind|session|order|entrants|places" and the
  // contests as "id|prelims|qualifiers|places|scheme", in id order, from
  // memory and from the file.
  static std::string ListedRounds() {
    DataGuard hold(DataLock);
    std::vector<RoundNode> rounds = Model().RoundList;
    std::sort(rounds.begin(), rounds.end(), [](auto& a, auto& b) { return a.Id < b.Id; });
    std::string out;
    for (const RoundNode& r : rounds) {
      out += (out.empty() ? "" : "\n") + std::to_string(r.Id) + "|" + std::to_string(r.ContestId) + "|" +
             std::to_string(r.Kind) + "|" + std::to_string(r.Session) + "|" + std::to_string(r.Order) + "|" +
             std::to_string(r.Entrants) + "|" + std::to_string(r.Places);
    }
    return out;
  }
  static std::string StoredRounds() {
    return Rows("SELECT qrtb445, qrtb446, qrtb447, qrtb449, qrtb450, qrtb452, qrtb453 FROM qrtb444 ORDER BY qrtb445");
  }
  static std::string ListedContests() {
    DataGuard hold(DataLock);
    std::string out;
    for (const ContestNode& c : Model().ContestList) {
      out += (out.empty() ? "" : "\n") + std::to_string(c.Id) + "|" + std::to_string(c.HasPrelim) + "|" +
             std::to_string(c.Qualifiers) + "|" + std::to_string(c.Places) + "|" + std::to_string(c.SchemeId);
    }
    return out;
  }
  static std::string StoredContests() {
    return Rows("SELECT qrtb426, qrtb429, qrtb430, qrtb431, qrtb436 FROM qrtb425 ORDER BY qrtb428, qrtb427, qrtb426");
  }

  static std::vector<std::string> Split(const std::string& lines) {
    std::vector<std::string> out;
    std::size_t start = 0;
    while (start < lines.size()) {
      std::size_t end = lines.find('\n', start);
      if (end == std::string::npos) end = lines.size();
      out.push_back(lines.substr(start, end - start));
      start = end + 1;
    }
    return out;
  }

  SessionCookie admin_;
};

}  // namespace korva
