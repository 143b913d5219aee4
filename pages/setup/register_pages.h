#pragma once

namespace korva {
// Registers the route handlers of the set-up and administration pages.
void RegisterSetupPages();

}  // namespace korva
