#pragma once

#include <vector>

#include "core/byte_range.h"
#include "core/byte_source.h"

namespace corvelle {

// The JPEG pictures a TIFF-based raw file (CR2, ARW, DNG, ORF, RW2, PEF, SRW, NEF) carries
// besides its sensor data, largest first: those named by JPEG offset and length entries,
// single JPEG strips, and Panasonic's embedded JPEG, in every directory of the main chain
// and their sub-directories. Each range lies inside the file and begins FF D8.
std::vector<ByteRange> EmbeddedJpegPictures(const ByteSource& file);

}  // namespace corvelle
