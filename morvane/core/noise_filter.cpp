#include "core/noise_filter.h"

#include <algorithm>
#include <cstddef>
#include <cstdlib>
#include <vector>

namespace corvelle {

namespace {

struct Neighbour {
    int dx, dy;  // dx to the right, dy down the picture
};

// Examined in this order: the pixel itself, the 3 x 3 block, then the 5 x 5 block.
constexpr Neighbour kNeighbours[NoiseFilterSettings::kMaxRegionSize] = {
    {0, 0},  {1, 0},  {0, 1},  {-1, 0}, {0, -1}, {1, 1},   {-1, 1}, {-1, -1}, {1, -1},
    {2, 0},  {2, 1},  {1, 2},  {0, 2},  {-1, 2}, {-2, 1},  {-2, 0}, {-2, -1}, {-1, -2},
    {0, -2}, {1, -2}, {2, -1}, {2, 2},  {-2, 2}, {-2, -2}, {2, -2},
};

}  // namespace

NoiseFilterSettings NoiseFilterSettings::limited(int threshold, int regionSize) {
    NoiseFilterSettings settings;
    settings.threshold = std::clamp(threshold, kMinThreshold, kMaxThreshold);
    settings.regionSize = std::clamp(regionSize, kMinRegionSize, kMaxRegionSize);
    return settings;
}

int NoiseFilterBrightness(int blue, int green, int red) {
    return (11 * blue + 59 * green + 30 * red) / 100;
}

bool ApplyNoiseFilter(const NoiseFilterSettings& requested, PackedDib& dib,
                      ProgressReporter* progress, DeepPixels* deep) {
    return ApplyNoiseFilterToArea(requested, dib, dib.width(), dib.height(), progress, deep);
}

bool ApplyNoiseFilterToArea(const NoiseFilterSettings& requested, PackedDib& dib, int areaWidth,
                            int areaHeight, ProgressReporter* progress, DeepPixels* deep) {
    if (dib.bitCount() != 24) return false;
    if (deep != nullptr && (deep->width != dib.width() || deep->height != dib.height()))
        deep = nullptr;
    const NoiseFilterSettings settings =
        NoiseFilterSettings::limited(requested.threshold, requested.regionSize);
    const int width = std::clamp(areaWidth, 0, dib.width());
    const int height = std::clamp(areaHeight, 0, dib.height());
    const ptrdiff_t stride = dib.stride();
    uint8_t* const topRow = dib.pictureRow(0);  // rows further down are lower in memory
    const auto rowAt = [&](int y) { return topRow - stride * y; };

    // Brightness of the five rows a pixel's region can reach, kept in step with the
    // filtering: rows above hold filtered values, the rest not yet. Row y is slot y mod 5.
    constexpr int kSlots = 5;
    std::vector<uint8_t> brightness(size_t(width) * kSlots);
    const auto slot = [&](int y) { return brightness.data() + size_t(y % kSlots) * width; };
    const auto measureRow = [&](int y) {
        const uint8_t* pixel = rowAt(y);
        uint8_t* out = slot(y);
        for (int x = 0; x < width; ++x, pixel += 3)
            out[x] = uint8_t(NoiseFilterBrightness(pixel[0], pixel[1], pixel[2]));
    };
    for (int y = 0; y < std::min(2, height); ++y) measureRow(y);

    ProgressReporter silent;
    ProgressReporter& report = progress != nullptr ? *progress : silent;
    report.begin(height);
    for (int y = 0; y < height; ++y) {
        if (y + 2 < height) measureRow(y + 2);
        uint8_t* row = rowAt(y);
        for (int x = 0; x < width; ++x) {
            uint8_t* centre = row + 3 * size_t(x);
            const int centreBrightness = slot(y)[x];
            // The centre starts the sums and is counted again as the first table entry.
            int sumBlue = centre[0], sumGreen = centre[1], sumRed = centre[2];
            uint16_t* deepCentre = deep != nullptr ? deep->pixel(x, y) : nullptr;
            uint32_t deepSum[3] = {0, 0, 0};
            if (deepCentre != nullptr)
                for (int c = 0; c < 3; ++c) deepSum[c] = deepCentre[c];
            int count = 1;
            for (int i = 0; i < settings.regionSize; ++i) {
                const int nx = x + kNeighbours[i].dx;
                const int ny = y + kNeighbours[i].dy;
                if (nx < 0 || nx >= width || ny < 0 || ny >= height) continue;
                if (std::abs(slot(ny)[nx] - centreBrightness) >= settings.threshold) continue;
                const uint8_t* other = rowAt(ny) + 3 * size_t(nx);
                sumBlue += other[0];
                sumGreen += other[1];
                sumRed += other[2];
                if (deepCentre != nullptr) {
                    const uint16_t* deepOther = deep->pixel(nx, ny);
                    for (int c = 0; c < 3; ++c) deepSum[c] += deepOther[c];
                }
                ++count;
            }
            if (deepCentre != nullptr)
                for (int c = 0; c < 3; ++c) deepCentre[c] = uint16_t(deepSum[c] / uint32_t(count));
            centre[0] = uint8_t(sumBlue / count);
            centre[1] = uint8_t(sumGreen / count);
            centre[2] = uint8_t(sumRed / count);
            slot(y)[x] = uint8_t(NoiseFilterBrightness(centre[0], centre[1], centre[2]));
        }
        report.step();
    }
    report.end();
    return true;
}

}  // namespace corvelle
