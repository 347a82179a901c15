#pragma once

#include <string>
#include <string_view>

namespace corvelle {

// The stamp text for an EXIF date text ("YYYY:MM:DD HH:MM:SS") and a strftime pattern.
// Empty when the date is missing or all zero, when the local calendar time cannot be
// represented in 32 bits from 1970 on, or when the text comes out empty or too long.
std::string FormatStamp(std::string_view dateText, std::string_view pattern);

// The patterns the Method list offers.
inline constexpr std::string_view kStampPatterns[] = {
    "%Y %m/%d - %H:%M:%S", "%y %m/%d %I:%M%p", "%y %m/%d", "%c", "%x %X",
};

}  // namespace corvelle
