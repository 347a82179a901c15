// One picture through ConvertPicture: sizes, border, stamp, metadata, format and quality.
#include <gtest/gtest.h>

#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <filesystem>
#include <vips/vips8>

#include "core/picture_pipeline.h"
#include "core/target_rect.h"
#include "support/exif_builder.h"
#include "support/temp_folder.h"
#include "support/test_pictures.h"

namespace corvelle {
namespace {

using testing::MakeTestPicture;
using testing::MetadataSegmentsOf;
using testing::ReadFileBytes;
using testing::TempFolder;
using testing::TestPictureOptions;
using testing::WriteTestPicture;
using vips::VImage;

RunSettings ratio(int percent) {
    RunSettings s;
    s.method = kMethodRatio;
    s.sizeValue = uint32_t(percent);
    s.copyExif = true;
    s.quality = 90;
    return s;
}

ConvertResult convert(const RunSettings& s, const std::string& from, const std::string& to,
                      std::vector<std::string>* steps = nullptr) {
    return ConvertPicture(s, from, to, [steps](std::string_view step) {
        if (steps) steps->emplace_back(step);
    });
}

VImage load(const std::string& path) {
    return VImage::new_from_file(path.c_str(), VImage::option()->set("access", VIPS_ACCESS_RANDOM));
}

std::vector<uint8_t> segment(uint8_t marker, const std::string& payload) {
    const size_t length = payload.size() + 2;
    std::vector<uint8_t> bytes(length + 2);
    bytes[0] = 0xFF;
    bytes[1] = marker;
    bytes[2] = uint8_t(length >> 8);
    bytes[3] = uint8_t(length);
    std::copy(payload.begin(), payload.end(), bytes.begin() + 4);
    return bytes;
}

struct Rgb {
    double r, g, b;
};
Rgb pixelAt(const VImage& image, int x, int y) {
    const std::vector<double> p = image.getpoint(x, y);
    return {p[0], p[1], p[2]};
}

// Pixels that are clearly red (the stamp on a black picture) in rows [top, bottom).
int redPixelsInRows(const VImage& image, int top, int bottom) {
    const VImage band = image.crop(0, top, image.width(), bottom - top);
    const VImage red = (band[0] > 100) & (band[1] < 80) & (band[2] < 80);
    return int(red.avg() / 255.0 * band.width() * band.height() + 0.5);
}

TEST(ConvertPicture, DrawsTheBorderAndTheStampInItsBand) {
    TempFolder temp;
    TestPictureOptions picture;
    picture.width = 400;
    picture.height = 300;
    picture.color = 0x000000;
    WriteTestPicture(temp.file("in.jpg"), picture);

    RunSettings s = ratio(100);
    s.borderColor = 0x00FF00;  // RRGGBB: green
    s.borderMargin = 10;
    s.stampPosition = 4;      // bottom left
    s.stampColor = 0x0000FF;  // BBGGRR: red
    s.semiTransparent = false;
    s.stampPattern = "%Y %m/%d - %H:%M:%S";
    ASSERT_TRUE(convert(s, temp.file("in.jpg"), temp.file("bottom.jpg")).saved);

    const VImage out = load(temp.file("bottom.jpg"));
    ASSERT_EQ(out.width(), 400);
    ASSERT_EQ(out.height(), 300);
    ASSERT_EQ(out.bands(), 3);
    for (auto [x, y] : {std::pair{2, 2}, {397, 150}, {200, 297}, {5, 295}}) {
        const Rgb border = pixelAt(out, x, y);
        EXPECT_LT(border.r, 40) << x << "," << y;
        EXPECT_GT(border.g, 215) << x << "," << y;
        EXPECT_LT(border.b, 40) << x << "," << y;
    }
    const Rgb inside = pixelAt(out, 200, 150);
    EXPECT_LT(inside.r + inside.g + inside.b, 30);
    // The 2S-high layout rectangle ends at the drawn picture's bottom edge (300 - 10);
    // the text stands at its top, so its ink lies within rows 266..290 and nowhere above.
    const int stamped = redPixelsInRows(out, 266, 290);
    EXPECT_GT(stamped, 100);
    EXPECT_EQ(redPixelsInRows(out, 10, 262), 0);
    // Left aligned: S pixels in from the drawn picture's left side, nothing in its right half.
    EXPECT_EQ(redPixelsInRows(out.crop(0, 0, 22, 300), 266, 290), 0);
    EXPECT_EQ(redPixelsInRows(out.crop(250, 0, 150, 300), 266, 290), 0);

    // At the top, half transparent, right aligned.
    s.stampPosition = 3;
    s.semiTransparent = true;
    ASSERT_TRUE(convert(s, temp.file("in.jpg"), temp.file("top.jpg")).saved);
    const VImage top = load(temp.file("top.jpg"));
    EXPECT_GT(redPixelsInRows(top, 10, 34), 50);
    EXPECT_EQ(redPixelsInRows(top, 40, 290), 0);
    EXPECT_EQ(redPixelsInRows(top.crop(0, 0, 150, 300), 10, 34), 0);
    const double opaqueRed = out.crop(0, 266, 400, 24)[0].max();
    const double halfRed = top.crop(0, 10, 400, 24)[0].max();
    EXPECT_GT(opaqueRed, 220);
    EXPECT_GT(halfRed, 100);
    EXPECT_LT(halfRed, 160);
}

TEST(ConvertPicture, DrawsNoStampWithoutADateOrAUsableFontSize) {
    TempFolder temp;
    TestPictureOptions picture;
    picture.width = 200;
    picture.height = 100;
    picture.color = 0x000000;
    picture.shotDate = "";
    WriteTestPicture(temp.file("nodate.jpg"), picture);
    RunSettings s = ratio(100);
    s.stampPosition = 1;
    s.stampColor = 0x0000FF;
    s.semiTransparent = false;
    ASSERT_TRUE(convert(s, temp.file("nodate.jpg"), temp.file("a.jpg")).saved);
    EXPECT_EQ(redPixelsInRows(load(temp.file("a.jpg")), 0, 100), 0);

    picture.shotDate = "2004:12:19 13:05:09";
    WriteTestPicture(temp.file("dated.jpg"), picture);
    s.stampFontSize = 0;
    ASSERT_TRUE(convert(s, temp.file("dated.jpg"), temp.file("b.jpg")).saved);
    EXPECT_EQ(redPixelsInRows(load(temp.file("b.jpg")), 0, 100), 0);
    // No room between the S-pixel insets of a narrow picture.
    s.stampFontSize = 100;
    ASSERT_TRUE(convert(s, temp.file("dated.jpg"), temp.file("c.jpg")).saved);
    EXPECT_EQ(redPixelsInRows(load(temp.file("c.jpg")), 0, 100), 0);
    // Any stored size, however large, is only too large.
    s.stampFontSize = 2147483647;
    ASSERT_TRUE(convert(s, temp.file("dated.jpg"), temp.file("huge.jpg")).saved);
    EXPECT_EQ(redPixelsInRows(load(temp.file("huge.jpg")), 0, 100), 0);
    // A stamp of blanks draws nothing; markup characters are text like any other.
    s.stampFontSize = 12;
    s.stampPattern = "   ";
    ASSERT_TRUE(convert(s, temp.file("dated.jpg"), temp.file("d.jpg")).saved);
    EXPECT_EQ(redPixelsInRows(load(temp.file("d.jpg")), 0, 100), 0);
    s.stampPattern = "<b>&amp; %Y";
    ASSERT_TRUE(convert(s, temp.file("dated.jpg"), temp.file("e.jpg")).saved);
    EXPECT_GT(redPixelsInRows(load(temp.file("e.jpg")), 0, 24), 20);
}

TEST(ConvertPicture, KeepsTheSourceMetadataByteForByteOrDropsIt) {
    TempFolder temp;
    TestPictureOptions picture;
    picture.width = 120;
    picture.height = 80;
    picture.withIcc = true;
    // A photographer's texts: XMP, IPTC in Photoshop's block, and a comment.
    const auto source = testing::InsertAfterSoi(
        MakeTestPicture(picture),
        {segment(0xE1, std::string("http://ns.adobe.com/xap/1.0/\0<x:xmpmeta>(c) A.", 46)),
         segment(0xED, std::string("Photoshop 3.0\0008BIM\004\004\0\0\0\0\0\x0A", 27) +
                           "\x1C\x02\x74\x00\x05(c) A"),
         segment(0xFE, "caption")});
    testing::WriteFileBytes(temp.file("in.jpg"), source);

    std::vector<std::string> steps;
    RunSettings s = ratio(50);
    ASSERT_TRUE(convert(s, temp.file("in.jpg"), temp.file("kept.jpg"), &steps).saved);
    EXPECT_EQ(steps,
              (std::vector<std::string>{"Read JPEG", "Resize DIB", "Load Exif Info", "Save JPEG"}));
    const auto kept = ReadFileBytes(temp.file("kept.jpg"));
    auto keptSegments = MetadataSegmentsOf(kept), sourceSegments = MetadataSegmentsOf(source);
    ASSERT_EQ(sourceSegments.size(), 5u);
    std::sort(keptSegments.begin(), keptSegments.end());
    std::sort(sourceSegments.begin(), sourceSegments.end());
    EXPECT_EQ(keptSegments, sourceSegments);
    // The pixels are not turned by the Orientation tag (6), which stays as it was.
    const VImage out = load(temp.file("kept.jpg"));
    EXPECT_EQ(out.width(), 60);
    EXPECT_EQ(out.height(), 40);
    EXPECT_EQ(out.get_int("orientation"), 6);

    steps.clear();
    s.copyExif = false;
    ASSERT_TRUE(convert(s, temp.file("in.jpg"), temp.file("dropped.jpg"), &steps).saved);
    EXPECT_EQ(steps, (std::vector<std::string>{"Read JPEG", "Resize DIB", "Save JPEG"}));
    EXPECT_TRUE(MetadataSegmentsOf(ReadFileBytes(temp.file("dropped.jpg"))).empty());
}

TEST(ConvertPicture, TurnsCmykIntoSrgbThroughItsProfileAndDropsTheProfile) {
    const char* profilePath = "/usr/share/color/icc/ghostscript/default_cmyk.icc";
    if (!std::filesystem::exists(profilePath)) GTEST_SKIP() << "no CMYK profile installed";
    const auto profile = ReadFileBytes(profilePath);
    // The profile in numbered APP2 pieces, as JPEG files carry large profiles.
    std::vector<std::vector<uint8_t>> pieces;
    constexpr size_t kPiece = 60000;
    const size_t count = (profile.size() + kPiece - 1) / kPiece;
    for (size_t i = 0; i < count; ++i) {
        std::string payload("ICC_PROFILE\0", 12);
        payload += char(i + 1);
        payload += char(count);
        const size_t end = std::min(profile.size(), (i + 1) * kPiece);
        payload.append(profile.begin() + long(i * kPiece), profile.begin() + long(end));
        pieces.push_back(segment(0xE2, payload));
    }
    const uint8_t cyan[4] = {0, 255, 255, 255};  // stored inverted, as Adobe does
    TempFolder temp;
    testing::WriteFileBytes(temp.file("cmyk.jpg"),
                            testing::InsertAfterSoi(testing::EncodeCmykJpeg(64, 48, cyan), pieces));
    ASSERT_TRUE(convert(ratio(50), temp.file("cmyk.jpg"), temp.file("out.jpg")).saved);
    const VImage out = load(temp.file("out.jpg"));
    EXPECT_EQ(out.bands(), 3);
    EXPECT_EQ(out.get_typeof(VIPS_META_ICC_NAME), 0u);  // no CMYK profile on RGB pixels
    const Rgb p = pixelAt(out, 10, 10);
    EXPECT_LT(p.r, 60);
    EXPECT_GT(p.g, 120);
    EXPECT_GT(p.b, 190);
}

TEST(ConvertPicture, SavesAtTheRunsQualityInTheSourcesFormat) {
    TempFolder temp;
    TestPictureOptions picture;
    picture.width = 256;
    picture.height = 256;
    picture.pattern = true;
    WriteTestPicture(temp.file("in.jpg"), picture);
    RunSettings s = ratio(100);
    s.quality = 95;
    ASSERT_TRUE(convert(s, temp.file("in.jpg"), temp.file("q95.jpg")).saved);
    s.quality = 20;
    ASSERT_TRUE(convert(s, temp.file("in.jpg"), temp.file("q20.jpg")).saved);
    const auto fine = ReadFileBytes(temp.file("q95.jpg"));
    const auto coarse = ReadFileBytes(temp.file("q20.jpg"));
    EXPECT_LT(coarse.size() * 2, fine.size());

    // A PNG taken as itself (the other types not made JPEG) is written back as PNG; behind
    // a .jpg name it is no JPEG, and only the JPEG loader may open it.
    VImage::black(30, 20, VImage::option()->set("bands", 3))
        .write_to_file(temp.file("png.png").c_str());
    std::filesystem::copy_file(temp.file("png.png"), temp.file("png.jpg"));
    const ConvertResult misnamed = convert(ratio(50), temp.file("png.jpg"), temp.file("m.jpg"));
    EXPECT_EQ(misnamed.error, "not a JPEG picture");
    EXPECT_FALSE(std::filesystem::exists(temp.file("m.jpg")));
    s = ratio(50);
    s.allPictureTypes = false;
    ASSERT_TRUE(convert(s, temp.file("png.png"), temp.file("png_out.jpg")).saved);
    const auto png = ReadFileBytes(temp.file("png_out.jpg"));
    ASSERT_GE(png.size(), 4u);
    EXPECT_EQ(std::string(png.begin() + 1, png.begin() + 4), "PNG");
    EXPECT_EQ(load(temp.file("png_out.jpg")).width(), 15);

    // A format with no saver writes nothing.
    testing::WriteFileBytes(temp.file("ppm.jpg"),
                            {'P', '6', '\n', '2', ' ', '2', '\n', '2', '5', '5', '\n', 1,
                             2,   3,   4,    5,   6,   7,   8,    9,   10,  11,  12});
    EXPECT_FALSE(convert(ratio(50), temp.file("ppm.jpg"), temp.file("ppm_out.jpg")).saved);
    EXPECT_FALSE(std::filesystem::exists(temp.file("ppm_out.jpg")));
}

TEST(ConvertPicture, MakesGrayPicturesColourAndFailsOnUnreadableOnes) {
    TempFolder temp;
    TestPictureOptions picture;
    picture.components = 1;
    WriteTestPicture(temp.file("gray.jpg"), picture);
    ASSERT_TRUE(convert(ratio(50), temp.file("gray.jpg"), temp.file("out.jpg")).saved);
    EXPECT_EQ(load(temp.file("out.jpg")).bands(), 3);

    testing::WriteFileBytes(temp.file("junk.jpg"), {'n', 'o', 't', ' ', 'a', ' ', 'j', 'p', 'g'});
    std::vector<std::string> steps;
    const ConvertResult junk =
        convert(ratio(50), temp.file("junk.jpg"), temp.file("j.jpg"), &steps);
    EXPECT_FALSE(junk.saved);
    EXPECT_FALSE(junk.error.empty());
    EXPECT_EQ(steps, std::vector<std::string>{"Read JPEG"});
    EXPECT_FALSE(std::filesystem::exists(temp.file("j.jpg")));
    EXPECT_FALSE(convert(ratio(50), temp.file("missing.jpg"), temp.file("m.jpg")).saved);

    // Each failure gives its own reason only, once.
    testing::WriteFileBytes(temp.file("other.jpg"), {'a', 'l', 's', 'o', ' ', 'n', 'o'});
    const ConvertResult other = convert(ratio(50), temp.file("other.jpg"), temp.file("o.jpg"));
    EXPECT_EQ(other.error.find("junk.jpg"), std::string::npos) << other.error;
    EXPECT_EQ(other.error.find("other.jpg"), other.error.rfind("other.jpg")) << other.error;

    // A pipe is failed at once instead of waiting for a writer.
    ASSERT_EQ(mkfifo(temp.file("pipe.jpg").c_str(), 0600), 0);
    EXPECT_FALSE(convert(ratio(50), temp.file("pipe.jpg"), temp.file("p.jpg")).saved);
}

TEST(ConvertPicture, MakesExactlyTheComputedSizeWhateverTheScale) {
    TempFolder temp;
    TestPictureOptions picture;
    picture.width = 1237;
    picture.height = 811;
    picture.pattern = true;
    WriteTestPicture(temp.file("in.jpg"), picture);
    // From enlarging to shrinking by more than the decoder's own factor 8.
    for (int mode : {0, 5, 7}) {
        for (int side : {10, 77, 100, 151, 309, 618, 1236, 1500}) {
            RunSettings s;
            s.method = kMethodPixel;
            s.sizeValue = uint32_t(side);
            s.interpolationMode = mode;
            s.copyExif = false;
            ASSERT_TRUE(convert(s, temp.file("in.jpg"), temp.file("out.jpg")).saved);
            const VImage out = load(temp.file("out.jpg"));
            const TargetRect expected = ComputeTargetRect(s, 1237, 811);
            EXPECT_EQ(out.width(), expected.width) << "mode " << mode << " side " << side;
            EXPECT_EQ(out.height(), expected.height) << "mode " << mode << " side " << side;
            // No black edge left by a rounding difference.
            const VImage lastColumn = out.crop(out.width() - 1, 0, 1, out.height());
            const VImage lastRow = out.crop(0, out.height() - 1, out.width(), 1);
            EXPECT_GT(lastColumn.max() + lastRow.max(), 0);
        }
    }
}

TEST(ConvertPicture, NearestNeighborPicksPixelsAndHighQualityLowPasses) {
    TempFolder temp;
    // A one-pixel checkerboard, stored losslessly.
    const VImage x = VImage::xyz(64, 64);
    const VImage checker = (((x[0] + x[1]) % 2) * 255).cast(VIPS_FORMAT_UCHAR);
    checker.bandjoin({checker, checker}).write_to_file(temp.file("c.png").c_str());

    RunSettings s = ratio(50);
    s.allPictureTypes = false;  // written back as PNG
    s.interpolationMode = 5;
    ASSERT_TRUE(convert(s, temp.file("c.png"), temp.file("nearest.jpg")).saved);
    const VImage nearest = load(temp.file("nearest.jpg"))[0];
    // Every output pixel is one of the two source values.
    EXPECT_EQ(((nearest > 0) & (nearest < 255)).max(), 0);
    for (int mode : {2, 7}) {
        s.interpolationMode = mode;
        ASSERT_TRUE(convert(s, temp.file("c.png"), temp.file("hq.jpg")).saved);
        const VImage hq = load(temp.file("hq.jpg"))[0].crop(4, 4, 24, 24);
        EXPECT_GT(hq.min(), 100) << mode;
        EXPECT_LT(hq.max(), 155) << mode;
    }
}

TEST(ConvertPicture, HighQualityModesLeaveTheLeastMoireOnFineLines) {
    TempFolder temp;
    // Lines 6 pixels apart reduced by 4 lie beyond what the output can show: ideally gray.
    const VImage x = VImage::xyz(480, 240)[0];
    const VImage lines = (((x % 6) < 3) * 255).cast(VIPS_FORMAT_UCHAR);
    lines.bandjoin({lines, lines}).write_to_file(temp.file("l.png").c_str());

    auto moire = [&](int mode) {
        RunSettings s = ratio(25);
        s.allPictureTypes = false;  // written back as PNG
        s.interpolationMode = mode;
        EXPECT_TRUE(convert(s, temp.file("l.png"), temp.file("out.jpg")).saved);
        return load(temp.file("out.jpg"))[0].crop(8, 8, 104, 44).deviate();
    };
    const double plain = moire(0);
    for (int mode : {2, 6, 7}) EXPECT_LT(moire(mode), plain * 0.6) << mode;
}

}  // namespace
}  // namespace corvelle
