#include "core/noise_filter.h"

#include <algorithm>
#include <cstdlib>

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
                      ProgressReporter* progress) {
    if (dib.bitCount() != 24) return false;
    const NoiseFilterSettings settings =
        NoiseFilterSettings::limited(requested.threshold, requested.regionSize);
    const int width = dib.width();
    const int height = dib.height();
    ProgressReporter silent;
    ProgressReporter& report = progress != nullptr ? *progress : silent;

    report.begin(height);
    for (int y = 0; y < height; ++y) {
        uint8_t* row = dib.pictureRow(y);
        for (int x = 0; x < width; ++x) {
            uint8_t* centre = row + 3 * size_t(x);
            const int brightness = NoiseFilterBrightness(centre[0], centre[1], centre[2]);
            // The centre starts the sums and is counted again as the first table entry.
            int sumBlue = centre[0], sumGreen = centre[1], sumRed = centre[2];
            int count = 1;
            for (int i = 0; i < settings.regionSize; ++i) {
                const int nx = x + kNeighbours[i].dx;
                const int ny = y + kNeighbours[i].dy;
                if (nx < 0 || nx >= width || ny < 0 || ny >= height) continue;
                const uint8_t* other = dib.pictureRow(ny) + 3 * size_t(nx);
                if (std::abs(NoiseFilterBrightness(other[0], other[1], other[2]) - brightness) <
                    settings.threshold) {
                    sumBlue += other[0];
                    sumGreen += other[1];
                    sumRed += other[2];
                    ++count;
                }
            }
            centre[0] = uint8_t(sumBlue / count);
            centre[1] = uint8_t(sumGreen / count);
            centre[2] = uint8_t(sumRed / count);
        }
        report.step();
    }
    report.end();
    return true;
}

}  // namespace corvelle
