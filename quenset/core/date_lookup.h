#pragma once

#include <functional>
#include <memory>
#include <string>

#include "core/byte_source.h"

namespace corvelle {

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

// Opens a file of an open folder for reading; none unless it is a regular file (symbolic
// links are not followed). Tests put one in place that counts what the lookup asks of it.
using FileOpener = std::function<std::unique_ptr<ByteSource>(int dirFd, const std::string& name)>;
std::unique_ptr<ByteSource> OpenRegularFileAt(int dirFd, const std::string& name);

// The same for a file of an open folder, from one read of its head (more only when the
// TIFF data reach beyond it); empty when the file cannot be opened. The file is read as
// JPEG when its name ends in ".jpg" or ".jpeg", in any letter case.
std::string ShootingDateTextOfFile(int dirFd, const std::string& fileName,
                                   const FileOpener& open = OpenRegularFileAt);

}  // namespace corvelle
