#pragma once
// The administrator's home page "/Admin.html" (route 31): the address the
// class teachers use, and the table of the meet's eight steps from creation
// to the end, each a link once the steps before it are done and each with
// its state word.
#include <array>
#include <string>

#include "web/login_list.h"
#include "web/route_table.h"

namespace korva {

// The labels (links or plain texts) and state texts of the eight steps, in
// display order, as the meet stands. The caller holds DataLock.
struct MeetStatus {
  std::array<std::string, 8> Labels;
  std::array<std::string, 8> States;
};
MeetStatus ReadMeetStatus();

// The page content: template 133 with the class teachers' address and the
// eight steps. The caller holds DataLock.
std::string BuildMeetStatusBar();

// Appends the whole home page (header and frame) to reply. The caller holds
// DataLock.
void ServeAdminHomePage(const LoginNode& session, std::string& reply);

RouteTable AdminHomeRoutes();

}  // namespace korva
