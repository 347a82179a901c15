#pragma once

#include "core/deep_pixels.h"
#include "core/packed_dib.h"
#include "core/progress.h"

namespace corvelle {

// The selective mean filter's two values.
struct NoiseFilterSettings {
    static constexpr int kMinThreshold = 1, kMaxThreshold = 255;
    static constexpr int kMinRegionSize = 1, kMaxRegionSize = 25;
    static constexpr int kDefaultThreshold = 20, kDefaultRegionSize = 9;

    int threshold = kDefaultThreshold;    // a neighbour counts if brightness differs by less
    int regionSize = kDefaultRegionSize;  // entries of the neighbour table examined

    // The values brought into their ranges (1..255 and 1..25).
    static NoiseFilterSettings limited(int threshold, int regionSize);
};

// Brightness as the filter compares pixels: (11 B + 59 G + 30 R) div 100.
int NoiseFilterBrightness(int blue, int green, int red);

// Filters a 24-bit picture in place, rows from the top of the picture, pixels left to
// right, so that the neighbours above and to the left are already filtered. The settings
// are limited first. Reports one progress step per row. Returns false (and leaves the
// picture alone, reporting no progress) when the picture is not 24-bit. The photo's 16-bit
// channels, when given, are averaged over the same neighbours as its 8-bit pixels.
bool ApplyNoiseFilter(const NoiseFilterSettings& settings, PackedDib& dib,
                      ProgressReporter* progress = nullptr, DeepPixels* deep = nullptr);

// The same filter on the top-left areaWidth x areaHeight pixels only, as if they were the
// whole picture: their own edges are the edges, and nothing outside is read or changed.
bool ApplyNoiseFilterToArea(const NoiseFilterSettings& settings, PackedDib& dib, int areaWidth,
                            int areaHeight, ProgressReporter* progress = nullptr,
                            DeepPixels* deep = nullptr);

}  // namespace corvelle
