#pragma once

#include <string>
#include <string_view>

#include "core/byte_source.h"

namespace corvelle {

// A file is read as JPEG when its name ends in ".jpg" in any letter case; every other file
// is taken as TIFF-structured (TIFF and raw files).
bool NameIsJpeg(std::string_view fileName);

// The shooting-date text of a picture, in the EXIF form YYYY:MM:DD HH:MM:SS: the first found
// of DateTimeOriginal, DateTimeDigitized and DateTime, walking IFD0 and the EXIF directory
// (never the thumbnail's). Empty when the picture has none or its bytes do not hold one
// where they claim to: every offset is checked against the data, a directory met twice ends
// the walk, and a text without a terminating zero inside the data is no date (of a longer
// text only the first 256 characters are kept).
// A file not read as JPEG is told by its first bytes: PNG, WebP, HEIF/AVIF and CR3 files
// are searched in the chunks or boxes that hold their EXIF data (a CR3 in its main and its
// EXIF directory); an MP4 or QuickTime movie without EXIF data gives its movie date; TIFF
// and raw files (the Olympus and Panasonic header marks included) are read as TIFF data.
std::string ShootingDateText(const ByteSource& file, bool isJpeg);

// The same for a file of an open folder; empty when the file cannot be opened as a regular
// file (symbolic links are not followed).
std::string ShootingDateTextOfFile(int dirFd, const std::string& fileName);

}  // namespace corvelle
