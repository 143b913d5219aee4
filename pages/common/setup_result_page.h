#pragma once
// The administration result page: one sentence and a next-step link after
// an administration form, inside the administration frame.
#include <string>
#include <string_view>

#include "web/login_list.h"
#include "web/route_table.h"

namespace korva {

// Bases added to a set-up handler's result to name the page it came from.
enum SetupResultBase {
  kResultCreateMeet = 0,
  kResultMeetInfo = 20,
  kResultGroups = 30,
  kResultGroupEvents = 40,
  kResultVenueSave = 50,
  kResultRegroup = 55,
  kResultVenueDelete = 60,
  kResultEvent = 70,
  kResultGrade = 80,
  // A scoring scheme's refused save or delete (a success goes back to the
  // list, so only the failure has a code).
  kResultSchemeFailed = 91,
  kResultSchedule = 92,
};

// The sentence of a change that was stored but whose list could not be
// read back: the page answers it as the data error of a failed write.
inline constexpr const char* kReloadFailedText = "数据库操作出错！";

// True for the refused creations (codes 1 to 4 and 11), whose sentence
// names the meet that was asked for rather than the open one.
bool NamesPostedMeet(int code);

// The page body (the rows put into the frame) for a SetupResultCode. text
// is the handler's report and is put in as markup: handlers escape the data
// values inside it. meet_name is escaped here; it is the posted name for the
// refused creations (codes 1 to 4 and 11), MeetName otherwise.
std::string BuildSetupResultContent(int code, std::string_view text, std::string_view meet_name);

// Appends the whole reply (header and framed page) for the code to reply
// and returns 1. A web session that is not an administrator's gets the
// session-expired page instead, and 9. posted_meet_name is the name a meet
// creation was asked for.
int ServeSetupResultPage(const LoginNode& session, int code, std::string_view text, std::string& reply,
                         std::string_view posted_meet_name = {});

// The result page for a code and the handler's message, which for the
// codes of a refused meet creation is the posted meet name.
void ServeAdminResultPage(int code, std::string_view message, const LoginNode& session, std::string& reply);

// The page above, for the dispatcher's answers.
AnswerPages AdministrationAnswerPages();

}  // namespace korva
