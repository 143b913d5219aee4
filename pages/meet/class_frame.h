#pragma once
// The frame of the class teacher's secondary pages (template 150): the
// class's name, its leader box and a content area. The class error page is
// this frame with one message.
#include <string>
#include <string_view>

#include "web/login_list.h"

namespace korva {

// Template 150 for the session's class with content (program markup: table
// rows) in "<%=提示%>". A class that no longer exists shows an empty class
// and leader name. The caller holds DataLock.
std::string BuildClassFramePage(const LoginNode& session, std::string_view content);

// The class error page: the frame with message (program markup) under the
// error image; header and page are appended to reply.
void ServeClassErrorPage(const LoginNode& session, std::string_view message, std::string& reply);

}  // namespace korva
