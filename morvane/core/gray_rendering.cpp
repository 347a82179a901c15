#include "core/gray_rendering.h"

#include <algorithm>
#include <array>
#include <cstring>
#include <memory>
#include <new>
#include <span>

#include "core/picture_memory.h"

namespace corvelle {

namespace {

// One row of a tint table: used for the first row whose bound is greater than the
// remainder of the weighted sum; the amounts go to blue, green and red.
struct TintRow {
    int bound;
    int blue, green, red;
};

// Each row's tint adds its lower bound in hundredths to the weighted sum. The last bound is
// 99, so a remainder of 99 stays pure gray.
constexpr TintRow kTints1786[] = {
    {11, 0, 0, 0}, {30, 1, 0, 0}, {41, 0, 0, 1}, {59, 1, 0, 1},
    {70, 0, 1, 0}, {89, 1, 1, 0}, {99, 0, 1, 1},
};

// Remainders 93 to 99 stay pure gray; amounts reach 3, so channels are limited to 255.
constexpr TintRow kTints4336[] = {
    {11, 0, 0, 0}, {22, 1, 0, 0}, {30, 2, 0, 0}, {33, 0, 0, 1}, {41, 3, 0, 0}, {52, 1, 0, 1},
    {59, 2, 0, 1}, {60, 0, 0, 2}, {63, 3, 0, 0}, {70, 1, 1, 0}, {71, 1, 0, 2}, {81, 2, 1, 0},
    {82, 2, 0, 2}, {89, 0, 1, 1}, {92, 3, 1, 0}, {93, 3, 0, 2},
};

std::span<const TintRow> tintTable(GrayLevels levels) {
    if (levels == GrayLevels::k1786) return kTints1786;
    return kTints4336;
}

uint8_t limitedSum(int gray, int amount) {
    return static_cast<uint8_t>(std::min(gray + amount, 255));
}

// The rendering is a pure function of the weighted sum, so each variant is one table of
// 25,501 pixels, built once on first use.
using GrayLookup = std::array<GrayPixel, kMaxWeightedSum + 1>;

const GrayLookup& lookupFor(GrayLevels levels) {
    static const auto build = [](GrayLevels variant) {
        auto table = std::make_unique<GrayLookup>();
        for (int t = 0; t <= kMaxWeightedSum; ++t) (*table)[t] = GrayPixelBySearch(variant, t);
        return table;
    };
    static const std::unique_ptr<GrayLookup> table1786 = build(GrayLevels::k1786);
    static const std::unique_ptr<GrayLookup> table4336 = build(GrayLevels::k4336);
    return levels == GrayLevels::k1786 ? *table1786 : *table4336;
}

}  // namespace

GrayPixel GrayPixelBySearch(GrayLevels levels, int weightedSum) {
    const int t = std::clamp(weightedSum, 0, kMaxWeightedSum);
    const int gray = t / 100;
    const int remainder = t % 100;
    GrayPixel out{uint8_t(gray), uint8_t(gray), uint8_t(gray)};
    if (gray == 255) return out;  // white stays pure white
    for (const TintRow& row : tintTable(levels)) {
        if (row.bound > remainder) {
            out.blue = limitedSum(gray, row.blue);
            out.green = limitedSum(gray, row.green);
            out.red = limitedSum(gray, row.red);
            break;
        }
    }
    return out;
}

std::optional<PackedDib> RenderHighLevelGray(const PackedDib& photo, GrayLevels levels) {
    if (photo.bitCount() != 24) return std::nullopt;
    // Same header and colour table; zero-filled, so the row padding is zero too.
    std::optional<PackedDib> rendered = CreatePictureLike(photo);
    if (!rendered) return std::nullopt;

    const GrayLookup& lookup = lookupFor(levels);
    const int width = photo.width();
    for (int y = 0; y < photo.height(); ++y) {
        const uint8_t* in = photo.memoryRow(y);
        uint8_t* out = rendered->memoryRow(y);
        for (int x = 0; x < width; ++x, in += 3, out += 3) {
            const int t = kBlueWeight * in[0] + kGreenWeight * in[1] + kRedWeight * in[2];
            const GrayPixel& pixel = lookup[t];
            out[0] = pixel.blue;
            out[1] = pixel.green;
            out[2] = pixel.red;
        }
    }
    return rendered;
}

}  // namespace corvelle
