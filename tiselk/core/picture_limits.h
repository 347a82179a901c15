#pragma once

#include <cstdint>

#include "core/packed_dib.h"

namespace corvelle {

// How much a decoder may allocate for one picture. The defaults suit the viewer; the fuzzers
// lower them so that a lying header cannot stall a run on a gigabyte of zeros.
struct PictureLimits {
    uint64_t maxPictureBytes = PackedDib::kMaxBytes;
    // Working memory besides the picture: libjpeg's buffers, one TIFF strip or tile.
    uint64_t maxWorkingBytes = uint64_t(512) << 20;
};

}  // namespace corvelle
