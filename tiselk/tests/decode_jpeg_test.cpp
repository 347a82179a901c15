#include <gtest/gtest.h>

#include <cstdlib>
#include <string>
#include <vector>

#include "core/decoding/picture_decoding.h"
#include "decode_test_pictures.h"
#include "jpeg/jpeg_decoder.h"
#include "support/exif_builder.h"
#include "support/temp_folder.h"

namespace corvelle {
namespace {

using testing::EncodeTestJpeg;
using testing::TestJpegOptions;

struct Messages {
    std::vector<std::string> texts;
    JpegMessageSink sink() {
        return [this](const std::string& text) { texts.push_back(text); };
    }
};

bool Near(int a, int b, int tolerance = 3) { return std::abs(a - b) <= tolerance; }

TEST(DecodeJpeg, ColourPictureFillsBgrRowsTopRowLast) {
    TestJpegOptions options;
    // Left half red, right half blue, the bottom quarter green.
    options.pixel = [](int x, int y) -> uint32_t {
        if (y >= 360) return 0x00FF00;
        return x < 320 ? 0xFF0000 : 0x0000FF;
    };
    Messages messages;
    const auto picture = DecodeJpegFromMemory(EncodeTestJpeg(640, 480, options), messages.sink());
    ASSERT_TRUE(picture);
    EXPECT_TRUE(messages.texts.empty());
    EXPECT_EQ(picture->bitCount(), 24);
    EXPECT_EQ(picture->stride(), 1920);
    EXPECT_EQ(picture->pixelBytes(), 921600u);
    EXPECT_EQ(picture->size(), 40u + 921600u);
    EXPECT_EQ(picture->width(), 640);
    EXPECT_EQ(picture->height(), 480);

    const uint8_t* topLeft = picture->pictureRow(10) + 3 * 10;
    EXPECT_TRUE(Near(topLeft[0], 0) && Near(topLeft[1], 0) && Near(topLeft[2], 255));
    const uint8_t* topRight = picture->pictureRow(10) + 3 * 600;
    EXPECT_TRUE(Near(topRight[0], 255) && Near(topRight[1], 0) && Near(topRight[2], 0));
    const uint8_t* bottom = picture->memoryRow(5) + 3 * 100;  // memory starts at the bottom
    EXPECT_TRUE(Near(bottom[0], 0) && Near(bottom[1], 255) && Near(bottom[2], 0));
}

TEST(DecodeJpeg, DensityGivesPixelsPerMetre) {
    struct Case {
        int unit, density, expected;
    };
    for (const Case c :
         {Case{1, 72, 2834}, Case{1, 300, 11811}, Case{2, 118, 11800}, Case{0, 1, 100}}) {
        TestJpegOptions options;
        options.densityUnit = c.unit;
        options.xDensity = c.density;
        options.yDensity = c.density;
        const auto picture = DecodeJpegFromMemory(EncodeTestJpeg(16, 8, options));
        ASSERT_TRUE(picture);
        EXPECT_EQ(picture->xPelsPerMeter(), c.expected) << "unit " << c.unit;
        EXPECT_EQ(picture->yPelsPerMeter(), c.expected);
    }
}

TEST(DecodeJpeg, GrayPictureIsEightBitWithGrayRamp) {
    TestJpegOptions options;
    options.components = 1;
    options.pixel = [](int x, int) -> uint32_t { return x < 16 ? 40 : 200; };
    const auto picture = DecodeJpegFromMemory(EncodeTestJpeg(33, 7, options));
    ASSERT_TRUE(picture);
    EXPECT_EQ(picture->bitCount(), 8);
    EXPECT_EQ(picture->colorTableCount(), 256);
    EXPECT_EQ(picture->stride(), 36);
    EXPECT_EQ(picture->pixelOffset(), 40u + 1024u);
    for (int i : {0, 1, 128, 255}) {
        const uint8_t* entry = picture->colorEntry(i);
        EXPECT_EQ(entry[0], i);
        EXPECT_EQ(entry[1], i);
        EXPECT_EQ(entry[2], i);
        EXPECT_EQ(entry[3], 0);
    }
    EXPECT_TRUE(Near(picture->pictureRow(3)[2], 40));
    EXPECT_TRUE(Near(picture->pictureRow(3)[30], 200));
}

TEST(DecodeJpeg, CmykPictureIsConvertedIntoTwentyFourBitRows) {
    // Adobe stores inks inverted: 0 is full cyan, 255 no ink.
    const uint8_t cyan[4] = {0, 255, 255, 255};
    const auto picture = DecodeJpegFromMemory(testing::EncodeCmykJpeg(21, 5, cyan));
    ASSERT_TRUE(picture);
    EXPECT_EQ(picture->bitCount(), 24);
    EXPECT_EQ(picture->stride(), 64);
    const uint8_t* pixel = picture->pictureRow(2) + 3 * 20;
    EXPECT_TRUE(Near(pixel[0], 255) && Near(pixel[1], 255) && Near(pixel[2], 0));

    const uint8_t halfBlack[4] = {255, 255, 255, 127};
    const auto gray = DecodeJpegFromMemory(testing::EncodeCmykJpeg(8, 8, halfBlack));
    ASSERT_TRUE(gray);
    EXPECT_TRUE(Near(gray->pictureRow(4)[12], 127));
}

TEST(DecodeJpeg, TruncatedFileWarnsOnceAndStillGivesWholePicture) {
    TestJpegOptions options;
    options.pixel = [](int x, int y) -> uint32_t { return uint32_t(x * 7 ^ y * 13) & 0xFFFFFF; };
    std::vector<uint8_t> bytes = EncodeTestJpeg(128, 128, options);
    bytes.resize(bytes.size() / 2);
    Messages messages;
    const auto picture = DecodeJpegFromMemory(bytes, messages.sink());
    ASSERT_TRUE(picture);
    EXPECT_EQ(picture->height(), 128);
    ASSERT_EQ(messages.texts.size(), 1u);
    EXPECT_EQ(messages.texts[0], "Premature end of JPEG file");
}

TEST(DecodeJpeg, BrokenDataGivesNoPictureAndAMessage) {
    struct Case {
        const char* what;
        std::vector<uint8_t> bytes;
        const char* message;
    };
    const std::vector<uint8_t> jpeg = EncodeTestJpeg(16, 16);
    const std::vector<Case> cases = {
        {"empty", {}, "Empty input file"},
        {"not a JPEG", {'I', 'I', 42, 0, 8, 0, 0, 0}, nullptr},
        {"header only", std::vector<uint8_t>(jpeg.begin(), jpeg.begin() + 2), nullptr},
    };
    for (const Case& c : cases) {
        Messages messages;
        EXPECT_FALSE(DecodeJpegFromMemory(c.bytes, messages.sink())) << c.what;
        ASSERT_FALSE(messages.texts.empty()) << c.what;
        if (c.message) {
            EXPECT_EQ(messages.texts.back(), c.message);
        }
    }
    // Without a sink the messages are dropped and nothing else changes.
    EXPECT_FALSE(DecodeJpegFromMemory(std::vector<uint8_t>{}));
}

TEST(DecodeJpeg, PictureOverTheLimitIsRefusedBeforeDecoding) {
    PictureLimits limits;
    limits.maxPictureBytes = 1000;
    EXPECT_FALSE(DecodeJpegFromMemory(EncodeTestJpeg(32, 32), {}, limits));
    EXPECT_TRUE(DecodeJpegFromMemory(EncodeTestJpeg(8, 8), {}, limits));
}

TEST(DecodePicture, NameDecidesBetweenJpegAndTiff) {
    struct Case {
        const char* path;
        PictureFormat format;
    };
    for (const Case c :
         {Case{"a.jpg", PictureFormat::kJpeg}, Case{"DSC0001.JPG", PictureFormat::kJpeg},
          Case{"scan.JPEG", PictureFormat::kJpeg}, Case{"x.jpeg.tif", PictureFormat::kJpeg},
          Case{"holiday.jpgs.tiff", PictureFormat::kJpeg},
          Case{"/photos/raw.NEF", PictureFormat::kTiff}, Case{"page.tif", PictureFormat::kTiff},
          Case{"/trip.jpg/scan.tif", PictureFormat::kTiff},
          Case{"noextension", PictureFormat::kTiff}}) {
        EXPECT_EQ(PictureFormatForPath(c.path), c.format) << c.path;
    }
}

TEST(DecodePicture, ReadsFilesByTheirName) {
    testing::TempFolder folder;
    testing::WriteFileBytes(folder.file("x.jpeg.tif"), EncodeTestJpeg(640, 480));
    const auto jpeg = DecodePicture(folder.file("x.jpeg.tif"));
    ASSERT_TRUE(jpeg);
    EXPECT_EQ(jpeg->stride(), 1920);

    // JPEG bytes under a TIFF name are not a TIFF.
    testing::WriteFileBytes(folder.file("x.tif"), EncodeTestJpeg(16, 16));
    EXPECT_FALSE(DecodePicture(folder.file("x.tif")));

    Messages messages;
    EXPECT_FALSE(DecodePicture(folder.file("missing.jpg"), messages.sink()));
    EXPECT_TRUE(messages.texts.empty());
}

}  // namespace
}  // namespace corvelle
