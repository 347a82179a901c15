#include <gtest/gtest.h>

#include "core/histogram/histogram_counts.h"

namespace corvelle {
namespace {

PackedDib Fill(int width, int height, uint8_t blue, uint8_t green, uint8_t red) {
    auto picture = PackedDib::create(width, height, 24);
    for (int y = 0; y < height; ++y) {
        uint8_t* row = picture->memoryRow(y);
        for (int x = 0; x < width; ++x) {
            row[3 * x] = blue;
            row[3 * x + 1] = green;
            row[3 * x + 2] = red;
        }
        // Padding at the end of each row is not a pixel.
        for (int at = 3 * width; at < picture->stride(); ++at) row[at] = 0x99;
    }
    return std::move(*picture);
}

TEST(HistogramCounts, PureRedPicture) {
    const PackedDib picture = Fill(5, 3, 0, 0, 255);  // stride 16: one padding byte
    const HistogramCounts counts = CountHistogram(&picture);
    const auto& [mono, red, green, blue] = counts.tables;
    EXPECT_EQ(red[255], 15);
    EXPECT_EQ(green[0], 15);
    EXPECT_EQ(blue[0], 15);
    EXPECT_EQ(mono[76], 15);  // 255 x 30 / 100
    EXPECT_EQ(red[0x99] + green[0x99] + blue[0x99], 0);
    EXPECT_EQ(HistogramMean(red), 255);
    EXPECT_EQ(HistogramMean(mono), 76);
    EXPECT_EQ(HistogramMean(green), 0);
}

TEST(HistogramCounts, MonoWeightsAndIntegerMean) {
    auto picture = PackedDib::create(2, 2, 24);
    // (B, G, R): white, pure green, pure blue, a mid gray that rounds down.
    const uint8_t pixels[4][3] = {{255, 255, 255}, {0, 255, 0}, {255, 0, 0}, {101, 99, 100}};
    for (int i = 0; i < 4; ++i) {
        std::copy(pixels[i], pixels[i] + 3, picture->memoryRow(i / 2) + 3 * (i % 2));
    }
    const HistogramCounts counts = CountHistogram(&*picture);
    const auto& mono = counts.tables[kMonoChannel];
    EXPECT_EQ(mono[255], 1);
    EXPECT_EQ(mono[150], 1);  // 255 x 59 / 100 = 150.45
    EXPECT_EQ(mono[28], 1);   // 255 x 11 / 100 = 28.05
    EXPECT_EQ(mono[99], 1);   // (1111 + 3000 + 5841) / 100 = 99.52
    EXPECT_EQ(HistogramMean(mono), (255 + 150 + 28 + 99) / 4);
    EXPECT_EQ(counts.tables[kBlueChannel][255], 2);
    EXPECT_EQ(counts.tables[kGreenChannel][255], 2);
    EXPECT_EQ(counts.tables[kRedChannel][100], 1);
}

TEST(HistogramCounts, OnlyTwentyFourBitPicturesAreCounted) {
    const auto gray = PackedDib::create(8, 8, 8);
    for (const PackedDib* picture : {&*gray, static_cast<const PackedDib*>(nullptr)}) {
        const HistogramCounts counts = CountHistogram(picture);
        for (const auto& table : counts.tables) {
            for (int count : table) ASSERT_EQ(count, 0);
            EXPECT_EQ(HistogramMean(table), 0);
        }
    }
}

}  // namespace
}  // namespace corvelle
