#pragma once

#include <cstdint>
#include <optional>
#include <string>

#include "core/byte_source.h"

namespace corvelle {

// What decoding a picture will take, read from its header alone.
struct PictureSize {
    uint64_t width = 0;
    uint64_t height = 0;
    uint64_t pictureBytes = 0;  // the decoded bitmap the program keeps
    uint64_t peakBytes = 0;     // that and the copies the decoder holds while it runs
};

// The size of a JPEG from its frame header: 8-bit gray for one component, 24-bit otherwise.
std::optional<PictureSize> JpegPictureSize(const ByteSource& file);

// The bytes of a packed bitmap of that size (rows padded to 4 bytes, the colour table of
// pictures of 8 bits or less).
uint64_t PackedBitmapBytes(uint64_t width, uint64_t height, int bitCount);

}  // namespace corvelle
