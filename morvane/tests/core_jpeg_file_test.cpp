#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>


#include "core/jpeg_file.h"
#include "core_test_pictures.h"
#include "support/exif_builder.h"
#include "support/temp_folder.h"

namespace corvelle {
namespace {

using testing::EncodeTestJpeg;
using testing::PixelAt;
using testing::ReadFileBytes;
using testing::TempFolder;
using testing::TestJpegOptions;
using testing::WriteFileBytes;

struct JfifDensity {
    int unit, x, y;
    bool operator==(const JfifDensity&) const = default;
};

// The density fields of the JFIF segment that follows the start-of-image marker.
JfifDensity DensityOf(const std::vector<uint8_t>& jpeg) {
    if (jpeg.size() < 18 || jpeg[2] != 0xFF || jpeg[3] != 0xE0 ||
        std::string(jpeg.begin() + 6, jpeg.begin() + 10) != "JFIF")
        return {-1, -1, -1};
    return {jpeg[13], jpeg[14] << 8 | jpeg[15], jpeg[16] << 8 | jpeg[17]};
}

bool Near(GrayPixel a, GrayPixel b, int tolerance) {
    return std::abs(a.blue - b.blue) <= tolerance && std::abs(a.green - b.green) <= tolerance &&
           std::abs(a.red - b.red) <= tolerance;
}

TEST(JpegFile, DensitiesLoadAsPixelsPerMetreAndSaveAsDotsPerCentimetre) {
    TempFolder folder;
    TestJpegOptions dpi;  // 72 x 72 dots per inch
    WriteFileBytes(folder.file("dpi.jpg"), EncodeTestJpeg(8, 8, dpi));
    const std::optional<PackedDib> photo = LoadJpegFile(folder.file("dpi.jpg"));
    ASSERT_TRUE(photo);
    EXPECT_EQ(photo->xPelsPerMeter(), 2834);  // 72 x 39.37 = 2834.64
    EXPECT_EQ(photo->yPelsPerMeter(), 2834);
    ASSERT_TRUE(SaveJpegFile(folder.file("saved.jpg"), *photo, 90));
    EXPECT_EQ(DensityOf(ReadFileBytes(folder.file("saved.jpg"))), (JfifDensity{2, 28, 28}));

    TestJpegOptions aspect;
    aspect.densityUnit = 0;
    aspect.xDensity = aspect.yDensity = 1;
    WriteFileBytes(folder.file("aspect.jpg"), EncodeTestJpeg(8, 8, aspect));
    const std::optional<PackedDib> square = LoadJpegFile(folder.file("aspect.jpg"));
    ASSERT_TRUE(square);
    EXPECT_EQ(square->xPelsPerMeter(), 100);
    ASSERT_TRUE(SaveJpegFile(folder.file("saved.jpg"), *square, 90));
    EXPECT_EQ(DensityOf(ReadFileBytes(folder.file("saved.jpg"))), (JfifDensity{2, 1, 1}));

    // The truncation is that of the true product, not of a binary fraction.
    EXPECT_EQ(PelsPerMeterFromJfifDensity(kJfifUnitDotsPerInch, 100), 3937);
    EXPECT_EQ(PelsPerMeterFromJfifDensity(kJfifUnitDotsPerCentimetre, 65535), 6553500);
}

TEST(JpegFile, ColourRowsKeepOrderAndOrientation) {
    TempFolder folder;
    TestJpegOptions options;
    options.quality = 100;
    // Top half red, bottom half blue, so a flipped or channel-swapped load shows.
    options.pixel = [](int, int y) { return y < 8 ? 0xFF0000u : 0x0000FFu; };
    WriteFileBytes(folder.file("c.jpg"), EncodeTestJpeg(16, 16, options));
    const std::optional<PackedDib> photo = LoadJpegFile(folder.file("c.jpg"));
    ASSERT_TRUE(photo);
    EXPECT_EQ(photo->bitCount(), 24);
    EXPECT_EQ(photo->colorTableCount(), 0);
    EXPECT_TRUE(Near(PixelAt(*photo, 3, 1), {0, 0, 255}, 4));
    EXPECT_TRUE(Near(PixelAt(*photo, 3, 14), {255, 0, 0}, 4));

    ASSERT_TRUE(SaveJpegFile(folder.file("again.jpg"), *photo, 100));
    const std::optional<PackedDib> again = LoadJpegFile(folder.file("again.jpg"));
    ASSERT_TRUE(again);
    EXPECT_TRUE(Near(PixelAt(*again, 3, 1), {0, 0, 255}, 6));
    EXPECT_TRUE(Near(PixelAt(*again, 3, 14), {255, 0, 0}, 6));
}

TEST(JpegFile, GrayscaleRoundTripStaysEightBit) {
    TempFolder folder;
    TestJpegOptions options;
    options.components = 1;
    options.quality = 100;
    options.pixel = [](int x, int) { return uint32_t(x * 16); };
    WriteFileBytes(folder.file("g.jpg"), EncodeTestJpeg(16, 4, options));
    const std::optional<PackedDib> photo = LoadJpegFile(folder.file("g.jpg"));
    ASSERT_TRUE(photo);
    ASSERT_EQ(photo->bitCount(), 8);
    ASSERT_EQ(photo->colorTableCount(), 256);
    EXPECT_EQ(photo->colorEntry(200)[0], 200);
    EXPECT_EQ(photo->colorEntry(200)[2], 200);
    EXPECT_NEAR(photo->pictureRow(2)[10], 160, 2);

    ASSERT_TRUE(SaveJpegFile(folder.file("g2.jpg"), *photo, 100));
    const std::optional<PackedDib> again = LoadJpegFile(folder.file("g2.jpg"));
    ASSERT_TRUE(again);
    EXPECT_EQ(again->bitCount(), 8);
    EXPECT_NEAR(again->pictureRow(2)[10], 160, 3);
}

TEST(JpegFile, DamagedAndMissingFiles) {
    TempFolder folder;
    // Noise at full quality, so that most of the file is picture data and half of it ends
    // inside the scan.
    TestJpegOptions noisy;
    noisy.quality = 100;
    noisy.pixel = [](int x, int y) { return uint32_t(x * 7919 + y * 104729) * 2654435761u >> 8; };
    const std::vector<uint8_t> whole = EncodeTestJpeg(64, 64, noisy);
    WriteFileBytes(folder.file("cut.jpg"),
                   std::vector<uint8_t>(whole.begin(), whole.begin() + whole.size() / 2));
    std::string error;
    const std::optional<PackedDib> cut = LoadJpegFile(folder.file("cut.jpg"), &error);
    ASSERT_TRUE(cut) << error;
    EXPECT_EQ(cut->width(), 64);
    EXPECT_EQ(cut->height(), 64);

    WriteFileBytes(folder.file("empty.jpg"), {});
    EXPECT_FALSE(LoadJpegFile(folder.file("empty.jpg"), &error));
    EXPECT_EQ(error, "cannot decode: Empty input file");
    WriteFileBytes(folder.file("png.jpg"), {0x89, 0x50, 0x4E, 0x47, 0x0D, 0x0A, 0x1A, 0x0A});
    EXPECT_FALSE(LoadJpegFile(folder.file("png.jpg"), &error));
    EXPECT_EQ(error, "cannot decode: Not a JPEG file: starts with 0x89 0x50");
    EXPECT_FALSE(LoadJpegFile(folder.file("missing.jpg"), &error));
    EXPECT_EQ(error, "cannot open: No such file or directory");
    EXPECT_FALSE(LoadJpegFile(folder.path().string(), &error));
    EXPECT_EQ(error, "cannot open: Is a directory");
    // Only the header: the stream has tables but no picture.
    EXPECT_FALSE(LoadJpegBytes(std::span(whole).first(2)));
}

TEST(JpegFile, FailedSaveLeavesTheTargetAlone) {
    TempFolder folder;
    const std::string target = folder.file("photo.jpg");
    const std::vector<uint8_t> original = EncodeTestJpeg(32, 32);
    WriteFileBytes(target, original);
    // Wider than a baseline JPEG may be: the encoder gives up after the file was begun.
    const PackedDib tooWide = *PackedDib::create(70000, 1, 24);
    std::string error;
    EXPECT_FALSE(SaveJpegFile(target, tooWide, 90, &error));
    EXPECT_EQ(error, "cannot write: Maximum supported image dimension is 65500 pixels");
    EXPECT_EQ(ReadFileBytes(target), original);
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(folder.path()), {}), 1);

    EXPECT_FALSE(
        SaveJpegFile(folder.file("no/such/folder.jpg"), *LoadJpegFile(target), 90, &error));
    EXPECT_EQ(error, "cannot write: No such file or directory");

    // Saving over the file that was loaded replaces it.
    const std::optional<PackedDib> photo = LoadJpegFile(target);
    ASSERT_TRUE(SaveJpegFile(target, *photo, 40));
    EXPECT_NE(ReadFileBytes(target), original);
    EXPECT_TRUE(LoadJpegFile(target));
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(folder.path()), {}), 1);
}

TEST(JpegFile, CmykAndYcckBecomeRgb) {
    // Full magenta and yellow, no cyan or black, stored inverted: a red.
    const uint8_t red[4] = {255, 0, 0, 255};
    for (bool asYcck : {false, true}) {
        const std::vector<uint8_t> jpeg = testing::EncodeCmykJpeg(24, 9, red, asYcck);
        const std::optional<PackedDib> photo = LoadJpegBytes(jpeg);
        ASSERT_TRUE(photo);
        EXPECT_EQ(photo->bitCount(), 24);
        for (int y : {0, 8})
            for (int x : {0, 23})
                EXPECT_TRUE(Near(PixelAt(*photo, x, y), {0, 0, 255}, 3)) << x << "," << y;
    }
}

TEST(JpegFile, CopyRowSwap) {
    const uint8_t rgb[] = {1, 2, 3, 4, 5, 6, 9};
    uint8_t out[7] = {0, 0, 0, 0, 0, 0, 0xEE};
    CopyRowSwap(out, rgb, 2, 3);
    EXPECT_EQ(std::vector<uint8_t>(out, out + 7), (std::vector<uint8_t>{3, 2, 1, 6, 5, 4, 0xEE}));
    CopyRowSwap(out, rgb, 3, 1);
    EXPECT_EQ(std::vector<uint8_t>(out, out + 4), (std::vector<uint8_t>{1, 2, 3, 6}));
}

}  // namespace
}  // namespace corvelle
