#pragma once

#include <cstdint>
#include <vector>

#include "core/byte_source.h"

namespace corvelle {

// The EXIF data of a TIFF picture as a TIFF structure of their own, small enough to travel
// in a JPEG: the first directory's describing entries (camera, date, orientation,
// resolution, author) with its EXIF directory (and that one's interoperability directory)
// and its GPS directory, in the file's byte order. The picture's own strips and tiles stay
// behind. Empty when the file is no TIFF or carries none of these.
std::vector<uint8_t> ExifOfTiffPicture(const ByteSource& file);

}  // namespace corvelle
