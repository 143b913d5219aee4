#pragma once

namespace korva {
// Registers the route handlers of registration, score entry and printing.
void RegisterMeetPages();

}  // namespace korva
