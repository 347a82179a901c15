#pragma once

#include <atomic>
#include <cstdint>

#include "core/packed_dib.h"

namespace corvelle {

// How much a decoder may allocate for one picture. The defaults suit the viewer; the fuzzers
// lower them so that a lying header cannot stall a run on a gigabyte of zeros.
struct PictureLimits {
    uint64_t maxPictureBytes = PackedDib::kMaxBytes;
    // Working memory besides the picture: libjpeg's buffers, one TIFF strip or tile.
    uint64_t maxWorkingBytes = uint64_t(512) << 20;

    // Set from another thread when the picture is no longer wanted (the user has paged on):
    // the decoder stops at its next row or strip and gives none.
    const std::atomic<bool>* abandoned = nullptr;
    bool isAbandoned() const {
        return abandoned != nullptr && abandoned->load(std::memory_order_relaxed);
    }

    // Whether a width x height picture of bitCount bits stays within maxPictureBytes and has
    // rows whose bit length a 32-bit signed number holds.
    bool allows(uint64_t width, uint64_t height, int bitCount) const {
        const uint64_t rowBits = width * uint64_t(bitCount);
        if (rowBits + 31 > uint64_t(INT32_MAX)) return false;
        return (rowBits + 31) / 32 * 4 * height <= maxPictureBytes;
    }
};

}  // namespace corvelle
