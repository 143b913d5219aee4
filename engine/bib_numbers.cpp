#include "engine/bib_numbers.h"

#include <algorithm>
#include <string>
#include <unordered_map>

#include "database/connections.h"
#include "database/data_lock.h"
#include "database/loaders.h"
#include "database/lookups.h"
#include "database/store_athletes.h"

namespace korva {

namespace {

// Starting numbers are read like a plain decimal conversion (leading
// digits, 0 for none), at most nine digits so that every bib fits.
long long StartValue(const std::string& text) {
  long long value = 0;
  for (std::size_t i = 0; i < text.size() && i < 9 && text[i] >= '0' && text[i] <= '9'; ++i)
    value = value * 10 + (text[i] - '0');
  return value;
}

}  // namespace

std::vector<std::size_t> NumberAthletesInModel() {
  MeetModel& model = Model();
  auto& athletes = model.AthleteList;
  // How many athletes hold each number; 0 is held by all without one.
  std::unordered_map<long long, int> holders;
  for (const AthleteNode& a : athletes) ++holders[a.Bib];
  auto held = [&](long long n) {
    auto it = holders.find(n);
    return it != holders.end() && it->second > 0;
  };

  std::vector<std::size_t> numbered;
  long long counter = 1;
  for (const ClassNode& cls : model.ClassList) {
    for (int sex = 1; sex <= 2; ++sex) {
      const std::string& start = sex == 1 ? cls.BoyStartNumber : cls.GirlStartNumber;
      if (!start.empty()) counter = StartValue(start);
      const GroupNode* group = FindGroupByGradeAndSex(cls.GradeId, sex);
      if (!group) continue;
      long long k = 0;
      if (const AthleteNode* first = FindFirstAthleteOfClassAndSex(cls.ClassId, sex)) {
        for (std::size_t i = static_cast<std::size_t>(first - athletes.data());
             i < athletes.size() && athletes[i].ClassId == cls.ClassId && athletes[i].Sex == sex; ++i) {
          long long candidate = counter + k;
          while (held(candidate)) {
            ++candidate;
            ++k;
          }
          AthleteNode& athlete = athletes[i];
          if (athlete.Bib == 0) {
            --holders[0];
            ++holders[candidate];
            athlete.Bib = static_cast<int>(candidate);
            // The loader's rule, so that the order book and the pages agree
            // before and after a reload.
            athlete.BibText = FormatBibText(athlete.Bib, model.BibWidth);
            numbered.push_back(i);
          }
          ++k;
        }
      }
      counter += std::max<long long>(group->AthletesPerClass, k);
    }
  }
  return numbered;
}

int AssignBibNumbers() {
  AssertDataLockHeld(true);
  Transaction unit(MeetConnection());
  if (!unit.ok()) return 1;
  const std::vector<std::size_t> numbered = NumberAthletesInModel();
  bool failed = false;
  for (std::size_t i : numbered) {
    if (UpdateAthleteBib(Model().AthleteList[i]) != 0) {
      failed = true;
      break;
    }
  }
  if (failed || !unit.Commit()) {
    unit.Rollback();
    static_cast<void>(LoadAthletes());  // the failure is answered; a failed reload logs itself
    return 1;
  }
  return 0;
}

}  // namespace korva
