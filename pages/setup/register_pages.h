#pragma once
// Registers the route handlers of the set-up and administration pages.
void RegisterSetupPages();
