#pragma once
// The parts of a load's progress line that both programs show alike.
#include <optional>
#include <string>

#include "platform.h"

namespace brenvik {

// Seconds the rest of the reading takes at its pace so far (secs since it began); nothing
// before the first bytes or without a file size.
std::optional<double> SecondsLeft(const TLoadProgress& p, double secs);
// "42 s", "3 min 07 s", "2 h 05 min": a time left, rounded up to the second.
std::string TimeLeftText(double secs);

}  // namespace brenvik
