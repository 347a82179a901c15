#pragma once

#include <cstdint>
#include <optional>

#include "core/packed_dib.h"

namespace corvelle {

// The two high-level gray renderings: every pixel becomes its 8-bit gray value with one or
// more channels raised by +1..+3 after the hundredths of luminance the 8-bit value lost.
enum class GrayLevels { k1786, k4336 };

// Luminance weights in hundredths.
inline constexpr int kRedWeight = 30;
inline constexpr int kGreenWeight = 59;
inline constexpr int kBlueWeight = 11;
// The largest weighted sum 30*R + 59*G + 11*B.
inline constexpr int kMaxWeightedSum = 25500;

struct GrayPixel {
    uint8_t blue = 0, green = 0, red = 0;
    bool operator==(const GrayPixel&) const = default;
};

// The output pixel for a weighted sum t in 0..kMaxWeightedSum, found by searching the
// variant's tint table row by row. The renderings use a table made from this once.
GrayPixel GrayPixelBySearch(GrayLevels levels, int weightedSum);

// A new DIB of the same size and header with every pixel rendered. None when the photo is
// not 24-bit (a grayscale photo stays as loaded) or memory is short. Row padding is zero.
std::optional<PackedDib> RenderHighLevelGray(const PackedDib& photo, GrayLevels levels);
inline std::optional<PackedDib> RenderGray1786(const PackedDib& photo) {
    return RenderHighLevelGray(photo, GrayLevels::k1786);
}
inline std::optional<PackedDib> RenderGray4336(const PackedDib& photo) {
    return RenderHighLevelGray(photo, GrayLevels::k4336);
}

}  // namespace corvelle
