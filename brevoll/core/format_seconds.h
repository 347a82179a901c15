#pragma once

#include <string>

namespace corvelle {

// A duration as the progress line shows it: seconds, minutes and seconds, hours and
// minutes, or days and hours.
std::string FormatSeconds(unsigned seconds);

// The elapsed/remaining line for pictureNumber pictures taken of total, elapsedMs since
// the start: "%s 경과 %s 남음".
std::string FormatProgressTime(unsigned elapsedMs, int pictureNumber, int total);

}  // namespace corvelle
