#pragma once

#include <cstdint>
#include <optional>
#include <vector>

#include "core/deep_pixels.h"
#include "core/packed_dib.h"

namespace corvelle {

// One 16-bit gray channel, top row first, with the photo's resolution.
struct Gray16Picture {
    int width = 0;
    int height = 0;
    std::vector<uint16_t> samples;
    int xPelsPerMeter = 0;
    int yPelsPerMeter = 0;
};

// The luminance of every pixel of `frame` (the whole photo when empty) as 16-bit gray: the
// weighted sum t = 30 R + 59 G + 11 B of the gray renderings, 0..25500, scaled to 0..65535
// and rounded to nearest (halves up). With `deep` (the same photo's 16-bit channels) the sum
// is taken from those, so no level of the file is lost. An 8-bit photo's pixels are read
// through its colour table. None when the frame reaches outside the photo.
std::optional<Gray16Picture> Gray16FromPhoto(const PackedDib& photo, const DeepPixels* deep,
                                             const DibRect& frame = {});

// The scaling itself, for 8-bit and 16-bit channels.
inline uint16_t Gray16FromSum8(uint32_t t) { return uint16_t((t * 257 + 50) / 100); }
inline uint16_t Gray16FromSum16(uint32_t t) { return uint16_t((t + 50) / 100); }

}  // namespace corvelle
