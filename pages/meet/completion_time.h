#pragma once
// The time a round was counted, as the print pages show it.
#include <string>

namespace korva {

// "%d-%d %d:%s%d" of a completion stamp MMDDhhmm: month, day, hour and the
// minute with a leading "0" below 10 ("5-20 9:05").
std::string FormatCompletionTime(int stamp);

}  // namespace korva
