#include "pages/setup/create_meet.h"

#include <gtest/gtest.h>

#include <array>
#include <string>

namespace korva {

namespace {

const std::string kLimits = "&wmzxb=6&wmxxb=2&wmrxb=2&wqnxb=2&wqmc=6&wfz=1";

// One grade row as the form posts it.
std::string Grade(int id, const std::string& sexes = "&wboysel=1&wgirlsel=1", const std::string& limits = kLimits) {
  return "&wnjsel=" + std::to_string(id) + sexes + limits;
}

std::string Body(const std::string& grades, const std::string& tail = "&wpjf1=1&wpjf2=2&hmws=4&jianyiluqu=1") {
  return "wydhname=meet1&wyear=2024&wyue=5&wri=20&wshichang=6&ShangWuKStime=3&XiaWuKStime=14"
         "&KaiMuShiTime=7" + grades + tail + "&postydh=x";
}

int Parse(const std::string& body, CreateMeetPost* post = nullptr) {
  CreateMeetPost local;
  return ParseCreateMeetPost(body, post ? post : &local);
}

TEST(CreateMeetPost, ReadsEveryField) {
  CreateMeetPost post;
  ASSERT_EQ(Parse(Body(Grade(1) + Grade(3, "&wgirlsel=3", "&wmzxb=8&wmxxb=3&wmrxb=4&wqnxb=5&wqmc=7&wfz=2")), &post),
            kCreateDone);
  EXPECT_EQ(post.Name + " " + post.DateText, "meet1 2024-5-20");
  EXPECT_EQ((std::array{post.SessionCount, post.MorningStart, post.AfternoonStart, post.OpeningLength,
                        post.AdmitOneLess, post.BibWidth}),
            (std::array{6, 3, 14, 7, 1, 4}));
  EXPECT_EQ(post.Bonuses, (RecordBonuses{1, 2, 0, 0, 0, 0}));
  ASSERT_EQ(post.Rows.size(), 2u);
  EXPECT_EQ(post.Rows[0].GradeId * 100 + post.Rows[0].Boys * 10 + post.Rows[0].Girls, 111);
  const GradeGroupSettings& girls = post.Rows[1];
  EXPECT_EQ((std::array{girls.GradeId, girls.Boys, girls.Girls, girls.AthletesPerClass, girls.EntrantsPerEvent,
                        girls.EventsPerAthlete, girls.CombinedLimit, girls.PlacesRanked, girls.SchemeId}),
            (std::array{3, 0, 3, 8, 3, 4, 5, 7, 2}));
  // Absent settings read as 0; a bib width outside 3..8 becomes 3.
  ASSERT_EQ(Parse("wydhname=meet1" + Grade(1), &post), kCreateDone);
  EXPECT_EQ(post.SessionCount + post.AdmitOneLess, 0);
  for (auto [posted, width] : {std::pair{"9", 3}, {"0", 3}, {"2", 3}, {"3", 3}, {"4", 4}, {"8", 8}, {"x", 3}}) {
    ASSERT_EQ(Parse(Body(Grade(1), std::string("&hmws=") + posted), &post), kCreateDone);
    EXPECT_EQ(post.BibWidth, width) << posted;
  }
}

TEST(CreateMeetPost, Refusals) {
  const std::pair<std::string, int> cases[] = {
      {"wydhname=", kCreateBadPost},  // 9 bytes
      {"wyear=2024&wnjsel=1", kCreateBadPost},
      {"wydhname=a%26b" + Grade(1), kCreateBadPost},  // "&" empties the name
      {"wydhname=a%27b" + Grade(1), kCreateBadPost},
      {Body(""), kCreateNoGrade},
      {Body(Grade(1) + Grade(1)), kCreateBadPost},
      {Body(Grade(1, "&wboysel=0")), kCreateNoSex},
      {Body(Grade(1) + Grade(2, "")), kCreateNoSex},
      {Body(Grade(0)), kCreateNoTemplate},
      {Body(Grade(1, "&wboysel=1", "&wmzxb=6&wmxxb=2&wmrxb=2&wqnxb=2&wqmc=6&wfz=0")), kCreateZeroSetting},
      {Body(Grade(1, "&wboysel=1", "&wmzxb=6&wmxxb=2&wmrxb=2&wqmc=6&wfz=1")), kCreateZeroSetting},  // no wqnxb
      {"wydhname=meet1" + Grade(1) + "&wnjsel=1", kCreateShortSection},
      {Body(Grade(1) + "&pad=" + std::string(400, 'x') + Grade(2)), kCreateLongSection},
      {Body(Grade(1), "&pad=" + std::string(400, 'x')), kCreateLongSection},  // the last runs to the end
      {Body(Grade(1)) + "&wiscopyydh=copyold&woldydh=3", kCreateCopyOldMeet},
      {Body(Grade(1)) + "&wiscopyydh=copyold", kCreateDone},
      {Body(Grade(1)) + "&wiscopyydh=other&woldydh=3", kCreateDone},
  };
  for (const auto& [body, result] : cases) EXPECT_EQ(Parse(body), result) << body;
}

}  // namespace

}  // namespace korva
