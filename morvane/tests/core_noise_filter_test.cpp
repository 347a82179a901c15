#include <gtest/gtest.h>

#include <vector>

#include "core/noise_filter.h"
#include "core_test_pictures.h"

namespace corvelle {
namespace {

using testing::MakeColourDib;
using testing::PixelAt;

GrayPixel Scrambled(int x, int y) {
    const unsigned v = unsigned(x * 7919 + y * 104729) * 2654435761u;
    return {uint8_t(v >> 8), uint8_t(v >> 16), uint8_t(v >> 24)};
}

TEST(NoiseFilter, RegionOneChangesNothing) {
    PackedDib dib = MakeColourDib(13, 9, Scrambled);
    const std::vector<uint8_t> before = dib.bytes();
    ASSERT_TRUE(ApplyNoiseFilter(NoiseFilterSettings::limited(255, 1), dib));
    EXPECT_EQ(dib.bytes(), before);
}

// With threshold 1 only neighbours of exactly the centre's brightness count.
TEST(NoiseFilter, ThresholdOneAveragesEqualBrightnessOnly) {
    // (0,0) and (1,0) both have brightness 10; (2,0) is 11, (0,1).. are far away.
    PackedDib dib = MakeColourDib(3, 2, [](int x, int y) {
        if (y == 1) return GrayPixel{200, 200, 200};
        if (x == 0) return GrayPixel{10, 10, 10};
        if (x == 1) return GrayPixel{0, 17, 0};  // 59 * 17 / 100 = 10
        return GrayPixel{11, 11, 11};
    });
    ASSERT_TRUE(ApplyNoiseFilter(NoiseFilterSettings::limited(1, 9), dib));
    // (10,10,10) twice with (0,17,0): sums 20,37,20 over 3.
    EXPECT_EQ(PixelAt(dib, 0, 0), (GrayPixel{6, 12, 6}));
    // (2,0) has no neighbour of brightness 11: the centre averaged with itself.
    EXPECT_EQ(PixelAt(dib, 2, 0), (GrayPixel{11, 11, 11}));
}

// A hand-worked 3 x 2 picture with threshold 255 and the 3 x 3 region: each pixel is the
// mean of its block (already filtered pixels above and left, the centre twice), leaving out
// neighbours that differ by the full 255. Corners and edges use what is inside.
TEST(NoiseFilter, FullThresholdMeanOfTheBlock) {
    const GrayPixel in[2][3] = {{{0, 0, 0}, {255, 255, 255}, {30, 60, 90}},
                                {{10, 20, 30}, {200, 100, 50}, {5, 5, 5}}};
    PackedDib dib = MakeColourDib(3, 2, [&](int x, int y) { return in[y][x]; });
    ASSERT_TRUE(ApplyNoiseFilter(NoiseFilterSettings::limited(255, 9), dib));
    // Top-left: itself twice, (0,1), (1,1); white is 255 brighter and stays out:
    // (0 + 0 + 10 + 200) / 4, (0 + 0 + 20 + 100) / 4, (0 + 0 + 30 + 50) / 4.
    EXPECT_EQ(PixelAt(dib, 0, 0), (GrayPixel{52, 30, 20}));
    const GrayPixel expected[2][3] = {{{52, 30, 20}, {115, 103, 100}, {76, 65, 67}},
                                      {{77, 54, 46}, {103, 65, 48}, {60, 48, 45}}};
    for (int y = 0; y < 2; ++y)
        for (int x = 0; x < 3; ++x) EXPECT_EQ(PixelAt(dib, x, y), expected[y][x]) << x << "," << y;
}

// The filter as plainly written, reading every neighbour's brightness from the picture as
// it stands at that moment, to hold the optimised one to the same bytes.
void ReferenceFilter(int threshold, int regionSize, PackedDib& dib) {
    static constexpr int kTable[25][2] = {
        {0, 0},  {1, 0},  {0, 1},  {-1, 0}, {0, -1}, {1, 1},   {-1, 1}, {-1, -1}, {1, -1},
        {2, 0},  {2, 1},  {1, 2},  {0, 2},  {-1, 2}, {-2, 1},  {-2, 0}, {-2, -1}, {-1, -2},
        {0, -2}, {1, -2}, {2, -1}, {2, 2},  {-2, 2}, {-2, -2}, {2, -2}};
    const auto bright = [](GrayPixel p) { return (11 * p.blue + 59 * p.green + 30 * p.red) / 100; };
    for (int y = 0; y < dib.height(); ++y) {
        for (int x = 0; x < dib.width(); ++x) {
            const GrayPixel c = PixelAt(dib, x, y);
            int sums[3] = {c.blue, c.green, c.red}, count = 1;
            for (int i = 0; i < regionSize; ++i) {
                const int nx = x + kTable[i][0], ny = y + kTable[i][1];
                if (nx < 0 || ny < 0 || nx >= dib.width() || ny >= dib.height()) continue;
                const GrayPixel n = PixelAt(dib, nx, ny);
                if (std::abs(bright(n) - bright(c)) >= threshold) continue;
                sums[0] += n.blue, sums[1] += n.green, sums[2] += n.red, ++count;
            }
            uint8_t* at = dib.pictureRow(y) + 3 * x;
            for (int k = 0; k < 3; ++k) at[k] = uint8_t(sums[k] / count);
        }
    }
}

TEST(NoiseFilter, SameBytesAsThePlainFilter) {
    // Smooth areas with noise, so that every threshold includes some neighbours and not others.
    const auto noisy = [](int x, int y) {
        const GrayPixel n = Scrambled(x, y);
        return GrayPixel{uint8_t(x * 9 + n.blue % 40), uint8_t(y * 11 + n.green % 40),
                         uint8_t((x + y) * 5 + n.red % 40)};
    };
    for (int region : {1, 4, 5, 9, 13, 24, 25}) {
        for (int threshold : {1, 8, 20, 255}) {
            PackedDib fast = MakeColourDib(21, 17, noisy);
            PackedDib plain = fast;
            ASSERT_TRUE(ApplyNoiseFilter({threshold, region}, fast));
            ReferenceFilter(threshold, region, plain);
            EXPECT_EQ(fast.bytes(), plain.bytes())
                << "threshold " << threshold << " region " << region;
        }
    }
    // Pictures smaller than the 5 x 5 region.
    for (int size : {1, 2, 3}) {
        PackedDib fast = MakeColourDib(size, size, noisy);
        PackedDib plain = fast;
        ApplyNoiseFilter({255, 25}, fast);
        ReferenceFilter(255, 25, plain);
        EXPECT_EQ(fast.bytes(), plain.bytes()) << size;
    }
}

struct CountingProgress : ProgressReporter {
    int steps = -1, stepped = 0, ended = 0;
    void begin(int count) override { steps = count; }
    void step() override { ++stepped; }
    void end() override { ++ended; }
};

TEST(NoiseFilter, LimitsProgressPaddingAndGrayPictures) {
    EXPECT_EQ(NoiseFilterSettings::limited(0, 0).threshold, 1);
    EXPECT_EQ(NoiseFilterSettings::limited(0, 0).regionSize, 1);
    EXPECT_EQ(NoiseFilterSettings::limited(300, 26).threshold, 255);
    EXPECT_EQ(NoiseFilterSettings::limited(300, 26).regionSize, 25);

    // Width 3 leaves three padding bytes a row, which the filter must not touch.
    PackedDib dib = MakeColourDib(3, 5, Scrambled);
    for (int y = 0; y < 5; ++y) dib.memoryRow(y)[9] = dib.memoryRow(y)[11] = 0xAB;
    CountingProgress progress;
    ASSERT_TRUE(ApplyNoiseFilter({1000, 1000}, dib, &progress));
    EXPECT_EQ(progress.steps, 5);
    EXPECT_EQ(progress.stepped, 5);
    EXPECT_EQ(progress.ended, 1);
    for (int y = 0; y < 5; ++y) {
        EXPECT_EQ(dib.memoryRow(y)[9], 0xAB);
        EXPECT_EQ(dib.memoryRow(y)[11], 0xAB);
    }

    PackedDib gray = *PackedDib::create(4, 4, 8);
    gray.memoryRow(0)[0] = 77;
    const std::vector<uint8_t> before = gray.bytes();
    CountingProgress none;
    EXPECT_FALSE(ApplyNoiseFilter({}, gray, &none));
    EXPECT_EQ(gray.bytes(), before);
    EXPECT_EQ(none.steps, -1);
}

}  // namespace
}  // namespace corvelle
