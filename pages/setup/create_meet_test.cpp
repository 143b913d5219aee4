#include "pages/setup/create_meet.h"

#include <gtest/gtest.h>

#include <string>

namespace {

// One grade row as the form posts it.
std::string Grade(int id, const std::string& sexes = "&wboysel=1&wgirlsel=1",
                  const std::string& limits = "&wmzxb=6&wmxxb=2&wmrxb=2&wqnxb=2&wqmc=6&wfz=1") {
  std::string n = std::to_string(id);
  return "&wnjsel=" + n + sexes + limits;
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
  ASSERT_EQ(Parse(Body(Grade(1) + Grade(3, "&wgirlsel=3", "&wmzxb=8&wmxxb=3&wmrxb=4&wqnxb=5&wqmc=7&wfz=2")),
                  &post),
            kCreateDone);
  EXPECT_EQ(post.Name, "meet1");
  EXPECT_EQ(post.DateText, "2024-5-20");
  EXPECT_EQ(post.SessionCount, 6);
  EXPECT_EQ(post.MorningStart, 3);
  EXPECT_EQ(post.AfternoonStart, 14);
  EXPECT_EQ(post.OpeningLength, 7);
  EXPECT_EQ(post.AdmitOneLess, 1);
  EXPECT_EQ(post.BibWidth, 4);
  EXPECT_EQ(post.Bonuses, (RecordBonuses{1, 2, 0, 0, 0, 0}));
  ASSERT_EQ(post.Rows.size(), 2u);
  EXPECT_EQ(post.Rows[0].GradeId, 1);
  EXPECT_EQ(post.Rows[0].Boys, 1);
  EXPECT_EQ(post.Rows[0].AthletesPerClass, 6);
  const GradeGroupSettings& girls = post.Rows[1];
  EXPECT_EQ(girls.GradeId, 3);
  EXPECT_EQ(girls.Boys, 0);
  EXPECT_EQ(girls.Girls, 3);
  EXPECT_EQ(girls.AthletesPerClass, 8);
  EXPECT_EQ(girls.EntrantsPerEvent, 3);
  EXPECT_EQ(girls.EventsPerAthlete, 4);
  EXPECT_EQ(girls.CombinedLimit, 5);
  EXPECT_EQ(girls.PlacesRanked, 7);
  EXPECT_EQ(girls.SchemeId, 2);
}

TEST(CreateMeetPost, BibWidthOutsideThreeToEightIsThree) {
  for (auto [posted, width] : {std::pair{"9", 3}, {"0", 3}, {"2", 3}, {"3", 3}, {"4", 4}, {"8", 8}, {"x", 3}}) {
    CreateMeetPost post;
    ASSERT_EQ(Parse(Body(Grade(1), std::string("&hmws=") + posted), &post), kCreateDone);
    EXPECT_EQ(post.BibWidth, width) << posted;
  }
}

TEST(CreateMeetPost, Refusals) {
  EXPECT_EQ(Parse("wydhname="), kCreateBadPost);  // 9 bytes
  EXPECT_EQ(Parse("wyear=2024&wnjsel=1"), kCreateBadPost);
  EXPECT_EQ(Parse("wydhname=a%26b" + Grade(1)), kCreateBadPost);  // "&" empties the name
  EXPECT_EQ(Parse("wydhname=a%27b" + Grade(1)), kCreateBadPost);
  EXPECT_EQ(Parse(Body("")), kCreateNoGrade);
  EXPECT_EQ(Parse(Body(Grade(1, "&wboysel=0"))), kCreateNoSex);
  EXPECT_EQ(Parse(Body(Grade(1) + Grade(2, ""))), kCreateNoSex);
  EXPECT_EQ(Parse(Body(Grade(0))), kCreateNoTemplate);
  EXPECT_EQ(Parse(Body(Grade(1, "&wboysel=1", "&wmzxb=6&wmxxb=2&wmrxb=2&wqnxb=2&wqmc=6&wfz=0"))),
            kCreateZeroSetting);
  EXPECT_EQ(Parse(Body(Grade(1, "&wboysel=1", "&wmzxb=6&wmxxb=2&wmrxb=2&wqmc=6&wfz=1"))),
            kCreateZeroSetting);  // no wqnxb
  EXPECT_EQ(Parse("wydhname=meet1" + Grade(1) + "&wnjsel=1"), kCreateShortSection);
  EXPECT_EQ(Parse(Body(Grade(1) + "&pad=" + std::string(400, 'x') + Grade(2))), kCreateLongSection);
  // The last section runs to the end of the body.
  EXPECT_EQ(Parse(Body(Grade(1), "&pad=" + std::string(400, 'x'))), kCreateLongSection);
}

TEST(CreateMeetPost, CopyOldMeetNeedsBothFields) {
  EXPECT_EQ(Parse(Body(Grade(1)) + "&wiscopyydh=copyold&woldydh=3"), kCreateCopyOldMeet);
  EXPECT_EQ(Parse(Body(Grade(1)) + "&wiscopyydh=copyold"), kCreateDone);
  EXPECT_EQ(Parse(Body(Grade(1)) + "&wiscopyydh=other&woldydh=3"), kCreateDone);
}

}  // namespace
