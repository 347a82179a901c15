#include "core/format_seconds.h"

#include <cstdio>

namespace corvelle {

std::string FormatSeconds(unsigned s) {
    char text[64];
    if (s <= 60)
        std::snprintf(text, sizeof text, "%u초", s);
    else if (s <= 3600)
        std::snprintf(text, sizeof text, "%u분 %u초", s / 60, s % 60);
    else if (s <= 86400)
        std::snprintf(text, sizeof text, "%u시간 %u분", s / 3600, (s % 3600) / 60);
    else
        std::snprintf(text, sizeof text, "%u일 %u시간", s / 86400, (s % 86400) / 3600);
    return text;
}

std::string FormatProgressTime(unsigned elapsedMs, int pictureNumber, int total) {
    if (pictureNumber <= 0) return {};
    // The elapsed milliseconds of a long run exceed the int range of the rounded divide.
    const unsigned long long estimated =
        (static_cast<unsigned long long>(elapsedMs) * unsigned(total) +
         unsigned(pictureNumber) / 2) /
        unsigned(pictureNumber);
    const unsigned elapsedSeconds = elapsedMs / 1000;
    const unsigned estimatedSeconds = unsigned(estimated / 1000);
    const unsigned remaining =
        estimatedSeconds > elapsedSeconds ? estimatedSeconds - elapsedSeconds : 0;
    return FormatSeconds(elapsedSeconds) + " 경과 " + FormatSeconds(remaining) + " 남음";
}

}  // namespace corvelle
