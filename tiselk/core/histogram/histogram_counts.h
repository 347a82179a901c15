#pragma once

#include <array>
#include <cstdint>

#include "core/packed_dib.h"

namespace corvelle {

using HistogramTable = std::array<int32_t, 256>;

enum HistogramChannel { kMonoChannel = 0, kRedChannel = 1, kGreenChannel = 2, kBlueChannel = 3 };

// Pixel counts per level for mono (luminance 30/59/11), red, green and blue, in that order.
struct HistogramCounts {
    std::array<HistogramTable, 4> tables{};
};

// Only 24-bit pictures are counted; anything else, or no picture, leaves every table at zero.
HistogramCounts CountHistogram(const PackedDib* picture);

// (sum of level x count) / (sum of counts) in integers; 0 for an empty table.
int HistogramMean(const HistogramTable& table);

}  // namespace corvelle
