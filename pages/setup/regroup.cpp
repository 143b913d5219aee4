#include "pages/setup/regroup.h"

#include <cstdlib>
#include <string>
#include <vector>

#include "engine/final_seeding.h"
#include "web/escape.h"
#include "web/form_field.h"

namespace korva {

namespace {

// The round ids of "str1", each ended by '-'.
constexpr std::size_t kRoundListBytes = 500;
// Longest number of a regroup request; a longer one starts over.
constexpr std::size_t kRoundIdBytes = 7;

std::vector<int> ReadRoundIds(std::string_view text) {
  std::vector<int> ids;
  std::string number;
  for (char c : text) {
    if (c != '-') {
      if (number.size() == kRoundIdBytes) number.clear();
      number += c;
      continue;
    }
    ids.push_back(std::atoi(number.c_str()));
    number.clear();
  }
  return ids;
}

// The sentence of one round.
std::string RegroupSentence(const RegroupedRound& round) {
  const std::string title = EscapeHtml(round.Title);
  switch (round.Outcome) {
    case RegroupOutcome::kHasResults:
      return "<p>" + title + " 已有比赛成绩，无法重新分组分道，请删除成绩后再试。</p>\r\n";
    case RegroupOutcome::kDisabledPrelim:
      return "<p>" + title + " 为被禁用的预赛，无法重新分组分道；</p>\r\n";
    case RegroupOutcome::kFailed:
      return "<p>" + title + " 重新分组分道时数据保存出错，未作任何更改！</p>\r\n";
    case RegroupOutcome::kPrelimIncomplete:
      return "<p>" + title + " 的预赛未完成，无法重新分组分道；</p>\r\n";
    case RegroupOutcome::kRegrouped:
      break;
  }
  return "<p>" + title + " 已成功重新分组分道！现为：" + std::to_string(round.Heats) + "组 共" +
         std::to_string(round.Entrants) + (round.Teams ? "队" : "人") + "</p>\r\n";
}

// Route 162: one sentence per round, shown on the result page (code 55).
void RegroupRoute(RouteContext& ctx) {
  std::string round_ids;
  GetFormField(ctx.request.Body, "str1=", kRoundListBytes, round_ids);
  ctx.message = RegroupSentences(round_ids);
  ctx.result = 0;
}

constexpr RouteRow kRows[] = {
    {.path = "/ChongPaiBiSai.html", .method = Method::kPost, .roles = kAdmin, .code = 162, .handler = RegroupRoute,
     .access = Access::kWrite, .empty = EmptyReply::kAdminResult, .answer = Answer::kResultPage, .base = 55},
};

}  // namespace

std::string RegroupSentences(std::string_view round_ids) {
  std::string sentences;
  for (const RegroupedRound& round : RegroupRounds(ReadRoundIds(round_ids))) sentences += RegroupSentence(round);
  return sentences;
}

RouteTable RegroupRoutes() { return kRows; }

}  // namespace korva
