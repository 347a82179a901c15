#include <gtest/gtest.h>

#include <chrono>
#include <vips/vips8>

#include "core/photo_file.h"
#include "core/picture_photo.h"
#include "imaging/imaging.h"
#include "support/temp_folder.h"

namespace corvelle {
namespace {

using testing::TempFolder;
using vips::VImage;

// A 40 x 30 picture: red climbs to the right, green downwards, blue stays; alpha (when
// asked) is clear on the left half.
VImage TestImage(bool sixteenBit, bool alpha) {
    const double scale = sixteenBit ? 257.0 : 1.0;
    VImage x = VImage::xyz(40, 30)[0];
    VImage y = VImage::xyz(40, 30)[1];
    VImage image = (x * 6 * scale).bandjoin(y * 8 * scale).bandjoin(x * 0 + 100 * scale);
    if (alpha) image = image.bandjoin((x >= 20) * (sixteenBit ? 65535.0 / 255 : 1.0));
    const VipsBandFormat format = sixteenBit ? VIPS_FORMAT_USHORT : VIPS_FORMAT_UCHAR;
    return image.cast(format).copy(VImage::option()->set(
        "interpretation", sixteenBit ? VIPS_INTERPRETATION_RGB16 : VIPS_INTERPRETATION_sRGB));
}

struct Source {
    const char* name;
    bool sixteenBit, alpha, lossless;
};

class PicturePhoto : public ::testing::Test {
  protected:
    void SetUp() override { ASSERT_TRUE(StartImaging("morvane_tests")); }
    TempFolder folder;
};

TEST_F(PicturePhoto, TodaysTypesOpenThroughTheirOwnLoader) {
    const Source sources[] = {
        {"a.png", false, false, true},  {"b.png", true, true, true}, {"c.webp", false, true, true},
        {"d.tif", true, false, true},   {"e.heic", false, false, false},
        {"f.avif", false, false, false},
    };
    for (const Source& s : sources) {
        const std::string path = folder.file(s.name);
        VImage image = TestImage(s.sixteenBit, s.alpha);
        if (std::string(s.name).ends_with(".webp")) {
            image.write_to_file(path.c_str(), VImage::option()->set("lossless", true));
        } else if (std::string(s.name).ends_with(".avif")) {
            image.write_to_file(path.c_str(), VImage::option()->set("compression", VIPS_FOREIGN_HEIF_COMPRESSION_AV1));
        } else {
            image.write_to_file(path.c_str());
        }
        std::string error;
        const std::optional<LoadedPhoto> photo = LoadPhotoFile(path, &error);
        ASSERT_TRUE(photo) << s.name << ": " << error;
        EXPECT_EQ(photo->dib.width(), 40) << s.name;
        EXPECT_EQ(photo->dib.height(), 30);
        EXPECT_EQ(photo->dib.bitCount(), 24);
        EXPECT_EQ(photo->deep.has_value(), s.sixteenBit) << s.name;
        // Blue, green, red of a pixel on the opaque right half.
        const uint8_t* pixel = photo->dib.pictureRow(10) + 3 * 30;
        const int tolerance = s.lossless ? 1 : 12;
        EXPECT_NEAR(pixel[0], 100, tolerance) << s.name;
        EXPECT_NEAR(pixel[1], 80, tolerance) << s.name;
        EXPECT_NEAR(pixel[2], 180, tolerance) << s.name;
        if (s.alpha) {  // the clear half shows white
            const uint8_t* clear = photo->dib.pictureRow(10) + 3 * 5;
            EXPECT_EQ(clear[0] + clear[1] + clear[2], 3 * 255) << s.name;
        }
        if (s.sixteenBit && !s.alpha) {
            EXPECT_EQ(photo->deep->pixel(30, 10)[0], 180 * 257);
            EXPECT_EQ(photo->deep->pixel(30, 10)[1], 80 * 257);
        }
    }
}

// A PNG whose header declares width x height 8-bit RGB pixels, with an empty data chunk.
std::vector<uint8_t> PngHeaderOnly(uint32_t width, uint32_t height) {
    std::vector<uint8_t> png = {0x89, 'P', 'N', 'G', 0x0D, 0x0A, 0x1A, 0x0A};
    const auto put32 = [&png](uint32_t v) {
        for (int shift : {24, 16, 8, 0}) png.push_back(uint8_t(v >> shift));
    };
    const auto chunk = [&](const char* type, std::vector<uint8_t> data) {
        put32(uint32_t(data.size()));
        const size_t from = png.size();
        png.insert(png.end(), type, type + 4);
        png.insert(png.end(), data.begin(), data.end());
        uint32_t crc = 0xFFFFFFFF;
        for (size_t i = from; i < png.size(); ++i) {
            crc ^= png[i];
            for (int k = 0; k < 8; ++k) crc = crc >> 1 ^ (0xEDB88320 & (0 - (crc & 1)));
        }
        put32(~crc);
    };
    chunk("IHDR", {uint8_t(width >> 24), uint8_t(width >> 16), uint8_t(width >> 8), uint8_t(width),
                   uint8_t(height >> 24), uint8_t(height >> 16), uint8_t(height >> 8),
                   uint8_t(height), 8, 2, 0, 0, 0});
    chunk("IDAT", {});
    chunk("IEND", {});
    return png;
}

TEST_F(PicturePhoto, OtherTypesLiesAndHugeHeadersAreRefused) {
    struct Case {
        const char* name;
        std::vector<uint8_t> bytes;
        const char* error;
    };
    const Case cases[] = {
        {"jpeg.png", {0xFF, 0xD8, 0xFF, 0xE0, 0, 16}, "cannot decode: not a PNG picture"},
        {"text.webp", {'h', 'e', 'l', 'l', 'o'}, "cannot decode: not a WebP picture"},
        {"raw.nef", {'M', 'M', 0, 42}, "cannot decode: Morvane does not open NEF files"},
        {"huge.png", PngHeaderOnly(65000, 65000),
         "cannot decode: too large (65000 x 65000, 12088 MB)"},
    };
    for (const Case& c : cases) {
        testing::WriteFileBytes(folder.file(c.name), c.bytes);
        std::string error;
        const auto started = std::chrono::steady_clock::now();
        EXPECT_FALSE(LoadPhotoFile(folder.file(c.name), &error)) << c.name;
        EXPECT_EQ(error, c.error);
        EXPECT_LT(std::chrono::steady_clock::now() - started, std::chrono::seconds(1)) << c.name;
    }
    std::string error;
    EXPECT_FALSE(LoadPhotoFile(folder.file("missing.heic"), &error));
    EXPECT_EQ(error, "cannot open: No such file or directory");
}

}  // namespace
}  // namespace corvelle
