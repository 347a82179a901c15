#include <gtest/gtest.h>

#include <algorithm>
#include <set>
#include <tuple>

#include "core/gray_rendering.h"
#include "core_test_pictures.h"

namespace corvelle {
namespace {

using testing::MakeColourDib;
using testing::PixelAt;

// The tint tables written out once more, independently of the code under test: bound,
// then the amounts for blue, green and red.
struct Tint {
    int bound, blue, green, red;
};
constexpr Tint k1786[] = {{11, 0, 0, 0}, {30, 1, 0, 0}, {41, 0, 0, 1}, {59, 1, 0, 1},
                          {70, 0, 1, 0}, {89, 1, 1, 0}, {99, 0, 1, 1}};
constexpr Tint k4336[] = {{11, 0, 0, 0}, {22, 1, 0, 0}, {30, 2, 0, 0}, {33, 0, 0, 1},
                          {41, 3, 0, 0}, {52, 1, 0, 1}, {59, 2, 0, 1}, {60, 0, 0, 2},
                          {63, 3, 0, 0}, {70, 1, 1, 0}, {71, 1, 0, 2}, {81, 2, 1, 0},
                          {82, 2, 0, 2}, {89, 0, 1, 1}, {92, 3, 1, 0}, {93, 3, 0, 2}};

// The rendering written plainly: divide, take the remainder, search the table row by row.
GrayPixel ReferencePixel(GrayLevels levels, int blue, int green, int red) {
    const int t = 30 * red + 59 * green + 11 * blue;
    const int gray = t / 100, remainder = t % 100;
    GrayPixel out{uint8_t(gray), uint8_t(gray), uint8_t(gray)};
    if (gray == 255) return out;
    const auto search = [&](const auto& table) {
        for (const Tint& row : table) {
            if (row.bound > remainder) {
                out = {uint8_t(std::min(gray + row.blue, 255)),
                       uint8_t(std::min(gray + row.green, 255)),
                       uint8_t(std::min(gray + row.red, 255))};
                return;
            }
        }
    };
    if (levels == GrayLevels::k1786) {
        search(k1786);
    } else {
        search(k4336);
    }
    return out;
}

struct Example {
    GrayPixel in, out1786, out4336;
};

TEST(GrayRendering, WorkedExamplesAndClamping) {
    const Example examples[] = {
        {{0, 0, 0}, {0, 0, 0}, {0, 0, 0}},
        {{255, 255, 255}, {255, 255, 255}, {255, 255, 255}},
        {{1, 0, 0}, {1, 0, 0}, {1, 0, 0}},
        {{0, 0, 1}, {0, 0, 1}, {0, 0, 1}},
        {{0, 1, 0}, {0, 1, 0}, {0, 0, 2}},
        {{9, 0, 0}, {0, 0, 0}, {0, 0, 0}},
        {{2, 0, 0}, {1, 0, 0}, {2, 0, 0}},
        // Gray 253 and 254 with +2 or +3 on a channel: limited to 255, never wrapped.
        {{248, 255, 252}, {253, 253, 254}, {255, 253, 253}},
        {{248, 255, 255}, {255, 254, 254}, {255, 254, 254}},
        {{249, 255, 255}, {254, 254, 255}, {255, 254, 254}},
        {{254, 255, 254}, {254, 255, 254}, {254, 254, 255}},
    };
    const int count = int(std::size(examples));
    const PackedDib photo = MakeColourDib(count, 1, [&](int x, int) { return examples[x].in; });
    const std::optional<PackedDib> gray1786 = RenderGray1786(photo);
    const std::optional<PackedDib> gray4336 = RenderGray4336(photo);
    ASSERT_TRUE(gray1786 && gray4336);
    for (int x = 0; x < count; ++x) {
        EXPECT_EQ(PixelAt(*gray1786, x, 0), examples[x].out1786) << "example " << x;
        EXPECT_EQ(PixelAt(*gray4336, x, 0), examples[x].out4336) << "example " << x;
    }
}

// The renderings look the weighted sum up in a table; every colour there is must come out
// as the table search makes it.
TEST(GrayRendering, EveryColourMatchesTheTableSearch) {
    PackedDib photo = *PackedDib::create(4096, 4096, 24);
    for (int y = 0; y < 4096; ++y) {
        uint8_t* row = photo.memoryRow(y);
        for (int x = 0; x < 4096; ++x) {
            const int colour = y * 4096 + x;
            row[3 * x] = uint8_t(colour);
            row[3 * x + 1] = uint8_t(colour >> 8);
            row[3 * x + 2] = uint8_t(colour >> 16);
        }
    }
    for (GrayLevels levels : {GrayLevels::k1786, GrayLevels::k4336}) {
        const std::optional<PackedDib> gray = RenderHighLevelGray(photo, levels);
        ASSERT_TRUE(gray);
        int mismatches = 0;
        for (int y = 0; y < 4096; ++y) {
            const uint8_t* in = photo.memoryRow(y);
            const uint8_t* out = gray->memoryRow(y);
            for (int x = 0; x < 3 * 4096; x += 3) {
                const GrayPixel expected = ReferencePixel(levels, in[x], in[x + 1], in[x + 2]);
                if (GrayPixel{out[x], out[x + 1], out[x + 2]} != expected && ++mismatches <= 5)
                    ADD_FAILURE() << "colour " << int(in[x]) << "," << int(in[x + 1]) << ","
                                  << int(in[x + 2]);
            }
        }
        EXPECT_EQ(mismatches, 0);
    }
}

TEST(GrayRendering, DistinctOutputsAndPureGrayRemainders) {
    std::set<std::tuple<int, int, int>> outputs;
    for (int t = 0; t <= kMaxWeightedSum; ++t) {
        const GrayPixel p = GrayPixelBySearch(GrayLevels::k1786, t);
        outputs.insert({p.blue, p.green, p.red});
        // A remainder of 99 (1786) or 93..99 (4336) stays pure gray.
        if (t % 100 == 99) {
            EXPECT_TRUE(p.blue == p.green && p.green == p.red) << t;
        }
        if (t % 100 >= 93) {
            const GrayPixel q = GrayPixelBySearch(GrayLevels::k4336, t);
            EXPECT_TRUE(q.blue == q.green && q.green == q.red) << t;
        }
    }
    EXPECT_EQ(outputs.size(), 1786u);
}

TEST(GrayRendering, KeepsHeaderZeroesPaddingAndRefusesGrayPhotos) {
    PackedDib photo = MakeColourDib(5, 3, [](int x, int y) {
        return GrayPixel{uint8_t(40 * x), uint8_t(60 * y), 200};
    });
    photo.setPelsPerMeter(2834, 3937);
    const std::optional<PackedDib> gray = RenderGray4336(photo);
    ASSERT_TRUE(gray);
    EXPECT_TRUE(
        std::equal(photo.bytes().begin(), photo.bytes().begin() + 40, gray->bytes().begin()));
    for (int y = 0; y < 3; ++y) {
        for (int padding = 15; padding < gray->stride(); ++padding) {
            EXPECT_EQ(gray->memoryRow(y)[padding], 0);
        }
    }
    EXPECT_FALSE(RenderGray1786(*PackedDib::create(4, 4, 8)));
}

}  // namespace
}  // namespace corvelle
