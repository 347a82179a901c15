#pragma once

// Headers of TIFF-based raw files built with the EXIF builder: the camera's main directory
// with its EXIF directory, a JPEG preview where each maker keeps it, and a small JPEG
// thumbnail in IFD1. The sensor data themselves are left out: readers never need them.

#include <cstdint>
#include <string>
#include <vector>

#include "support/exif_builder.h"

namespace corvelle::testing {

enum class RawLayout {
    kCr2,  // preview as IFD0's single JPEG strip (compression 6)
    kArw,  // preview named by IFD0's JPEG offset and length
    kDng,  // preview as a JPEG strip (compression 7) of a sub-directory
    kOrf,  // "IIRO" header mark, preview by JPEG offset and length
    kRw2,  // "IIU\0" header mark, preview in Panasonic's JpgFromRaw entry
    kPef,  // big-endian, preview by JPEG offset and length
    kSrw,  // preview by JPEG offset and length in a sub-directory
};

std::vector<uint8_t> BuildRawFile(RawLayout layout, const TiffDirectory& exif,
                                  const std::vector<uint8_t>& preview,
                                  const std::vector<uint8_t>& thumbnail,
                                  const std::string& model = "Test Camera");

}  // namespace corvelle::testing
