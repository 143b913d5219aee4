#pragma once
// Registers the route handlers of registration, score entry and printing.
void RegisterMeetPages();
