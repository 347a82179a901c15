#include <gtest/gtest.h>
#include <lcms2.h>
#include <png.h>
#include <tiffio.h>

#include <cstdio>
#include <filesystem>
#include <set>

#include "core/convert_command.h"
#include "core/gray16_files.h"
#include "core/gray16_picture.h"
#include "core/gray_icc_profile.h"
#include "core/jpeg_file.h"
#include "core/noise_filter.h"
#include "core_test_pictures.h"
#include "support/exif_builder.h"
#include "support/temp_folder.h"

namespace corvelle {
namespace {

using testing::MakeColourDib;
using testing::TempFolder;

// What a reader finds in a 16-bit gray file.
struct ReadBack {
    int width = 0, height = 0, bits = 0;
    std::vector<uint16_t> samples;
    double xResolution = 0, yResolution = 0;  // per metre
    size_t profileSize = 0;
    int compression = 0;  // TIFF only
};

ReadBack ReadPng(const std::string& path) {
    ReadBack result;
    std::FILE* file = std::fopen(path.c_str(), "rb");
    if (file == nullptr) return result;
    png_structp png = png_create_read_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
    png_infop info = png_create_info_struct(png);
    if (setjmp(png_jmpbuf(png)) == 0) {
        png_init_io(png, file);
        png_read_info(png, info);
        png_set_swap(png);
        result.width = int(png_get_image_width(png, info));
        result.height = int(png_get_image_height(png, info));
        result.bits = png_get_bit_depth(png, info) * png_get_channels(png, info);
        result.xResolution = png_get_x_pixels_per_meter(png, info);
        result.yResolution = png_get_y_pixels_per_meter(png, info);
        png_charp name;
        int compression;
        png_bytep profile;
        png_uint_32 size = 0;
        if (png_get_iCCP(png, info, &name, &compression, &profile, &size)) result.profileSize = size;
        result.samples.resize(size_t(result.width) * size_t(result.height));
        for (int y = 0; y < result.height; ++y)
            png_read_row(png, reinterpret_cast<png_bytep>(&result.samples[size_t(y) * result.width]),
                         nullptr);
    }
    png_destroy_read_struct(&png, &info, nullptr);
    std::fclose(file);
    return result;
}

ReadBack ReadTiff(const std::string& path) {
    ReadBack result;
    TIFF* tiff = TIFFOpen(path.c_str(), "r");
    if (tiff == nullptr) return result;
    uint32_t width = 0, height = 0, profileSize = 0;
    uint16_t bits = 0, samples = 0, compression = 0, unit = 0;
    float x = 0, y = 0;
    void* profile = nullptr;
    TIFFGetField(tiff, TIFFTAG_IMAGEWIDTH, &width);
    TIFFGetField(tiff, TIFFTAG_IMAGELENGTH, &height);
    TIFFGetField(tiff, TIFFTAG_BITSPERSAMPLE, &bits);
    TIFFGetField(tiff, TIFFTAG_SAMPLESPERPIXEL, &samples);
    TIFFGetField(tiff, TIFFTAG_COMPRESSION, &compression);
    TIFFGetField(tiff, TIFFTAG_RESOLUTIONUNIT, &unit);
    TIFFGetField(tiff, TIFFTAG_XRESOLUTION, &x);
    TIFFGetField(tiff, TIFFTAG_YRESOLUTION, &y);
    if (TIFFGetField(tiff, TIFFTAG_ICCPROFILE, &profileSize, &profile)) result.profileSize = profileSize;
    result.width = int(width);
    result.height = int(height);
    result.bits = bits * samples;
    result.compression = compression;
    const double perMetre = unit == RESUNIT_CENTIMETER ? 100 : unit == RESUNIT_INCH ? 1 / 0.0254 : 0;
    result.xResolution = x * perMetre;
    result.yResolution = y * perMetre;
    result.samples.resize(size_t(width) * height);
    for (uint32_t row = 0; row < height; ++row)
        TIFFReadScanline(tiff, &result.samples[size_t(row) * width], row, 0);
    TIFFClose(tiff);
    return result;
}

// The luminance scaled to 16 bits, computed apart from the code under test: t / 25500 of
// 65535, rounded to nearest with halves up, as exact fractions.
uint16_t Expected16(int red, int green, int blue) {
    const int64_t t = 30 * red + 59 * green + 11 * blue;
    return uint16_t((2 * t * 65535 + 25500) / (2 * 25500));
}

constexpr int kRampWidth = 256, kRampHeight = 64;

// A smooth colour ramp: red climbs from left to right, blue falls, green climbs downwards.
PackedDib ColourRamp() {
    return MakeColourDib(kRampWidth, kRampHeight, [](int x, int y) {
        return GrayPixel{uint8_t(255 - x), uint8_t(x * 3 / 4 + y), uint8_t(x)};
    });
}

struct Format {
    const char* name;
    bool (*save)(const std::string&, const Gray16Picture&, std::string*);
    ReadBack (*read)(const std::string&);
};
const Format kFormats[] = {{"out.png", SaveGray16Png, ReadPng}, {"out.tif", SaveGray16Tiff, ReadTiff}};

TEST(Gray16Export, ColourRampKeepsFarMoreLevelsThanJpeg) {
    TempFolder folder;
    PackedDib ramp = ColourRamp();
    ramp.setPelsPerMeter(2834, 3937);
    const std::optional<Gray16Picture> gray = Gray16FromPhoto(ramp, nullptr);
    ASSERT_TRUE(gray);
    for (const Format& format : kFormats) {
        std::string error;
        ASSERT_TRUE(format.save(folder.file(format.name), *gray, &error)) << error;
        const ReadBack file = format.read(folder.file(format.name));
        ASSERT_EQ(file.width, kRampWidth) << format.name;
        ASSERT_EQ(file.height, kRampHeight);
        EXPECT_EQ(file.bits, 16);
        EXPECT_NEAR(file.xResolution, 2834, 0.5);
        EXPECT_NEAR(file.yResolution, 3937, 0.5);
        EXPECT_EQ(file.profileSize, GrayIccProfile().size());
        for (int y = 0; y < kRampHeight; ++y) {
            for (int x = 0; x < kRampWidth; ++x) {
                const GrayPixel p = testing::PixelAt(ramp, x, y);
                ASSERT_EQ(file.samples[size_t(y) * kRampWidth + x],
                          Expected16(p.red, p.green, p.blue))
                    << format.name << " at " << x << "," << y;
            }
        }
        EXPECT_GE(std::set<uint16_t>(file.samples.begin(), file.samples.end()).size(), 1786u);
    }
    EXPECT_EQ(ReadTiff(folder.file("out.tif")).compression, COMPRESSION_ADOBE_DEFLATE);

    // The same ramp through the 8-bit JPEG export, gray rendering or not: 256 levels at most.
    ASSERT_TRUE(SaveJpegFile(folder.file("out.jpg"), RenderGray1786(ramp).value(), 100));
    const std::optional<PackedDib> jpeg = LoadJpegFile(folder.file("out.jpg"));
    ASSERT_TRUE(jpeg);
    std::set<int> levels;
    for (int y = 0; y < kRampHeight; ++y)
        for (int x = 0; x < kRampWidth; ++x) levels.insert(testing::PixelAt(*jpeg, x, y).green);
    EXPECT_LE(levels.size(), 256u);
}

TEST(Gray16Export, SixteenBitChannelsAndGrayPhotosKeepEveryLevel) {
    // A 16-bit gray ramp through the deep channels comes out unchanged.
    PackedDib dib = *PackedDib::create(256, 256, 24);
    DeepPixels deep{256, 256, std::vector<uint16_t>(size_t(256) * 256 * 3)};
    for (int i = 0; i < 65536; ++i)
        for (int c = 0; c < 3; ++c) deep.rgb[size_t(i) * 3 + c] = uint16_t(i);
    std::optional<Gray16Picture> gray = Gray16FromPhoto(dib, &deep);
    ASSERT_TRUE(gray);
    for (int i = 0; i < 65536; ++i) ASSERT_EQ(gray->samples[size_t(i)], i);
    // A colour 16-bit pixel: the weighted sum of its own channels.
    deep.pixel(3, 0)[0] = 65535;  // red
    deep.pixel(3, 0)[1] = 0;
    deep.pixel(3, 0)[2] = 1000;
    gray = Gray16FromPhoto(dib, &deep);
    EXPECT_EQ(gray->samples[3], (30 * 65535 + 11 * 1000 + 50) / 100);

    // An 8-bit photo is read through its colour table.
    PackedDib grayPhoto = *PackedDib::create(3, 1, 8);
    grayPhoto.pictureRow(0)[0] = 0;
    grayPhoto.pictureRow(0)[1] = 128;
    grayPhoto.pictureRow(0)[2] = 255;
    gray = Gray16FromPhoto(grayPhoto, nullptr);
    EXPECT_EQ(gray->samples, (std::vector<uint16_t>{0, 128 * 257, 65535}));

    // Channels of another size than the picture are refused rather than misread.
    DeepPixels small{2, 2, std::vector<uint16_t>(12)};
    EXPECT_FALSE(Gray16FromPhoto(dib, &small));
}

TEST(Gray16Export, FrameCutsTheSameSamples) {
    const PackedDib ramp = ColourRamp();
    const Gray16Picture whole = *Gray16FromPhoto(ramp, nullptr);
    const std::optional<Gray16Picture> cut = Gray16FromPhoto(ramp, nullptr, {100, 1, 140, 2});
    ASSERT_TRUE(cut);
    EXPECT_EQ(cut->width, 40);
    EXPECT_EQ(cut->height, 1);
    EXPECT_EQ(cut->samples, std::vector<uint16_t>(whole.samples.begin() + kRampWidth + 100,
                                                  whole.samples.begin() + kRampWidth + 140));
    EXPECT_FALSE(Gray16FromPhoto(ramp, nullptr, {250, 0, kRampWidth + 1, 1}));
    EXPECT_FALSE(Gray16FromPhoto(ramp, nullptr, {-1, 0, 5, 1}));
}

// A colour-managed program shows the file's gray as the view shows an sRGB gray.
TEST(Gray16Export, ProfileGivesTheToneOfSrgbGray) {
    const std::vector<uint8_t>& bytes = GrayIccProfile();
    ASSERT_EQ(bytes, GrayIccProfile());  // made once, the same bytes
    cmsHPROFILE gray = cmsOpenProfileFromMem(bytes.data(), cmsUInt32Number(bytes.size()));
    ASSERT_NE(gray, nullptr);
    EXPECT_EQ(cmsGetColorSpace(gray), cmsSigGrayData);
    cmsHPROFILE srgb = cmsCreate_sRGBProfile();
    cmsHPROFILE lab = cmsCreateLab4Profile(nullptr);
    cmsHTRANSFORM fromGray =
        cmsCreateTransform(gray, TYPE_GRAY_16, lab, TYPE_Lab_DBL, INTENT_RELATIVE_COLORIMETRIC, 0);
    cmsHTRANSFORM fromSrgb =
        cmsCreateTransform(srgb, TYPE_RGB_8, lab, TYPE_Lab_DBL, INTENT_RELATIVE_COLORIMETRIC, 0);
    for (int level : {0, 30, 64, 128, 200, 255}) {
        const uint16_t g = uint16_t(level * 257);
        const uint8_t rgb[3] = {uint8_t(level), uint8_t(level), uint8_t(level)};
        cmsCIELab a, b;
        cmsDoTransform(fromGray, &g, &a, 1);
        cmsDoTransform(fromSrgb, rgb, &b, 1);
        EXPECT_NEAR(a.L, b.L, 0.5) << level;
    }
    cmsDeleteTransform(fromGray);
    cmsDeleteTransform(fromSrgb);
    cmsCloseProfile(gray);
    cmsCloseProfile(srgb);
    cmsCloseProfile(lab);
}

TEST(Gray16Export, FailedSaveLeavesTheTargetAlone) {
    TempFolder folder;
    const Gray16Picture gray = *Gray16FromPhoto(ColourRamp(), nullptr);
    for (const Format& format : kFormats) {
        const std::string target = folder.file(format.name);
        testing::WriteFileBytes(target, {1, 2, 3});
        std::string error;
        EXPECT_FALSE(format.save(target, Gray16Picture{}, &error));
        EXPECT_EQ(error, "cannot write: no picture");
        EXPECT_FALSE(format.save(folder.file("none/x"), gray, &error));
        EXPECT_EQ(error, "cannot write: No such file or directory");
        EXPECT_EQ(testing::ReadFileBytes(target), (std::vector<uint8_t>{1, 2, 3}));
    }
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(folder.path()), {}), 2);
}

// The filter averages the 16-bit channels over the neighbours it takes for the 8-bit pixels.
TEST(Gray16Export, NoiseFilterKeepsTheSixteenBitChannelsInStep) {
    PackedDib dib = MakeColourDib(9, 7, [](int x, int y) {
        return GrayPixel{uint8_t(100 + (x * 5 + y * 3) % 7), uint8_t(120 + (x + y) % 5),
                         uint8_t(90 + (x * y) % 9)};
    });
    DeepPixels deep{9, 7, std::vector<uint16_t>(9 * 7 * 3)};
    for (int y = 0; y < 7; ++y) {
        for (int x = 0; x < 9; ++x) {
            const GrayPixel p = testing::PixelAt(dib, x, y);
            const uint16_t rgb[3] = {uint16_t(p.red * 256), uint16_t(p.green * 256),
                                     uint16_t(p.blue * 256)};
            std::copy(rgb, rgb + 3, deep.pixel(x, y));
        }
    }
    ASSERT_TRUE(ApplyNoiseFilter({20, 25}, dib, nullptr, &deep));
    for (int y = 0; y < 7; ++y) {
        for (int x = 0; x < 9; ++x) {
            const GrayPixel p = testing::PixelAt(dib, x, y);
            // Averages of 256 times the same values; the 8-bit ones lose up to a step to
            // truncation at each pixel and pass some of it on to the pixels after them.
            EXPECT_NEAR(deep.pixel(x, y)[0] / 256.0, p.red + 0.5, 1.5) << x << "," << y;
            EXPECT_NEAR(deep.pixel(x, y)[1] / 256.0, p.green + 0.5, 1.5);
            EXPECT_NEAR(deep.pixel(x, y)[2] / 256.0, p.blue + 0.5, 1.5);
        }
    }
}

// --convert to .png and .tif: the core's gray of the denoised photo, cut to the frame.
TEST(Gray16Export, ConvertWritesTheCoreFile) {
    TempFolder folder;
    testing::TestJpegOptions options;
    options.pixel = [](int x, int y) { return uint32_t(x * 4) << 16 | uint32_t(y * 6) << 8 | 77; };
    const std::string input = folder.file("in.jpg");
    testing::WriteFileBytes(input, testing::EncodeTestJpeg(61, 40, options));
    PackedDib photo = *LoadJpegFile(input);
    ApplyNoiseFilter({30, 9}, photo);
    const Gray16Picture expected =
        *Gray16FromPhoto(photo, nullptr, TrimFrameInPicture(61, 40, 2, {-3, 0}));
    for (const Format& format : kFormats) {
        ConvertRequest request;
        request.input = input;
        request.output = folder.file(std::string("x") + format.name);
        request.denoise = NoiseFilterSettings{30, 9};
        request.trimSize = 2;
        request.trimOffset = {-3, 0};
        request.gray = GrayLevels::k4336;  // for JPEG outputs only
        ASSERT_TRUE(RunConvert(request).ok) << format.name;
        ASSERT_TRUE(format.save(folder.file(format.name), expected, nullptr));
        EXPECT_EQ(testing::ReadFileBytes(request.output),
                  testing::ReadFileBytes(folder.file(format.name)));
        EXPECT_EQ(format.read(request.output).samples, expected.samples);
    }
}

}  // namespace
}  // namespace corvelle
