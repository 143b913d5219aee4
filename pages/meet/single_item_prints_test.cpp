#include "pages/meet/single_item_prints.h"

#include <gtest/gtest.h>

#include <vector>

namespace korva {

namespace {

TEST(ReadLaneRowIds, EndsAtTheFirstIdThatIsNotOne) {
  struct Case {
    const char* text;
    std::vector<int> ids;
  } cases[] = {
      {"1-2-3-", {1, 2, 3}},
      {"1-2-3", {1, 2}},
      {"999999999-", {999999999}},
      {"1-1000000000-2-", {1}},
      {"1--2-", {1}},
      {"-1-", {}},
      {"1-+2-", {1}},
      {"", {}},
  };
  for (const Case& c : cases) EXPECT_EQ(ReadLaneRowIds(c.text), c.ids) << c.text;
}

}  // namespace

}  // namespace korva
