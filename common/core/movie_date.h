#pragma once

#include <string>

#include "core/byte_source.h"

namespace corvelle {

// The shooting date of an MP4 or QuickTime movie in the EXIF form YYYY:MM:DD HH:MM:SS.
// A QuickTime "com.apple.quicktime.creationdate" key wins: it holds the clock time where
// the movie was taken. Else the movie header's creation time (seconds since 1904, UTC),
// written in this computer's local time. Empty when the file has neither, or only zero.
std::string MovieShootingDateText(const ByteSource& file);

// Whether the file begins as older QuickTime movies do, without an "ftyp" box: with a
// "moov", "mdat", "wide", "free", "skip" or "pnot" box of a possible size.
bool StartsLikeQuickTimeMovie(const ByteSource& file);

}  // namespace corvelle
