#pragma once

#include <cstdint>
#include <span>
#include <vector>

#include "core/jpeg_segments.h"

namespace corvelle {

// The segments a JPEG needs to carry another format's EXIF block and ICC profile. The EXIF
// block may come with or without its "Exif\0\0" mark (loaders differ); one too large for a
// segment is left out, and the profile is split over as many APP2 segments as it needs.
// With resetOrientation the copied EXIF's Orientation becomes 1 (top-left), for pictures
// whose decoder already turned the pixels upright.
JpegMetadataSegments SegmentsForMetadata(std::span<const uint8_t> exif,
                                         std::span<const uint8_t> icc, bool resetOrientation);

}  // namespace corvelle
