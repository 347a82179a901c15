// Pictures opened through their own type's loader only, within a byte budget.
#include <gtest/gtest.h>

#include <vips/vips8>

#include "imaging/imaging.h"
#include "imaging/open_picture.h"
#include "support/encoded_picture.h"
#include "support/temp_folder.h"

namespace corvelle {
namespace {

using vips::VImage;

class OpenPictureTest : public ::testing::Test {
  protected:
    void SetUp() override { ASSERT_TRUE(StartImaging("common_tests")); }
    std::string write(const std::string& name, const std::vector<uint8_t>& bytes) {
        testing::WriteFileBytes(temp.file(name), bytes);
        return temp.file(name);
    }
    testing::TempFolder temp;
    // 40 x 30, three 8-bit bands: 3600 bytes decoded.
    VImage picture =
        VImage::black(40, 30, VImage::option()->set("bands", 3)).cast(VIPS_FORMAT_UCHAR);
};

TEST_F(OpenPictureTest, OpensEachTypeWithItsOwnLoaderOnly) {
    const std::string png = write("a.png", testing::Encoded(picture, ".png"));
    const std::string jpeg = write("a.jpg", testing::Encoded(picture, ".jpg"));
    const std::string svg =
        write("a.svg", {'<', 's', 'v', 'g', ' ', 'x', 'm', 'l', 'n', 's', '=', '"', '"', '/', '>'});
    const struct {
        std::string path;
        PictureType type;
        std::string problem;  // empty: opened
    } cases[] = {
        {png, PictureType::kPng, ""},
        {jpeg, PictureType::kJpeg, ""},
        {png, PictureType::kJpeg, "not a JPEG picture"},
        {jpeg, PictureType::kWebp, "not a WebP picture"},
        {svg, PictureType::kPng, "not a PNG picture"},
        {jpeg, PictureType::kNef, "not a NEF picture"},  // no loader: metadata only
        {temp.file("missing.png"), PictureType::kPng, "not a readable file"},
    };
    for (const auto& c : cases) {
        const OpenedPicture opened = OpenPicture(c.path, c.type, PictureLimits{});
        EXPECT_EQ(opened.problem, c.problem) << c.path;
        if (c.problem.empty()) {
            EXPECT_EQ(opened.image.width(), 40);
            EXPECT_EQ(opened.image.height(), 30);
        }
    }
}

TEST_F(OpenPictureTest, RefusesWhatExceedsTheBudgetBeforeDecoding) {
    const std::string png = write("a.png", testing::Encoded(picture, ".png"));
    const OpenedPicture header = OpenPictureHeader(png, PictureType::kPng);
    ASSERT_TRUE(header) << header.problem;
    EXPECT_EQ(DecodedBytes(header.image), 3600u);
    PictureLimits budget;
    budget.maxPictureBytes = 3599;
    EXPECT_EQ(DecodePicture(header.image, budget, PictureType::kPng).problem, "too large (40 x 30, 1 MB)");
    budget.maxPictureBytes = 3600;
    EXPECT_TRUE(DecodePicture(header.image, budget, PictureType::kPng));

    // Wider samples count: 16-bit RGBA takes 8 bytes a pixel.
    const std::string wide =
        write("wide.png",
              testing::Encoded(VImage::black(40, 30, VImage::option()->set("bands", 4))
                          .cast(VIPS_FORMAT_USHORT)
                          .copy(VImage::option()->set("interpretation", VIPS_INTERPRETATION_RGB16)),
                      ".png"));
    const OpenedPicture wideHeader = OpenPictureHeader(wide, PictureType::kPng);
    ASSERT_TRUE(wideHeader) << wideHeader.problem;
    EXPECT_EQ(DecodedBytes(wideHeader.image), 40u * 30u * 8u);

    // A JPEG decoded at a quarter of its size counts that size.
    const std::string jpeg = write(
        "big.jpg",
        testing::Encoded(VImage::black(400, 300, VImage::option()->set("bands", 3)).cast(VIPS_FORMAT_UCHAR),
                ".jpg"));
    budget.maxPictureBytes = 100 * 75 * 3;
    const OpenedPicture quarter = OpenPicture(jpeg, PictureType::kJpeg, budget, {.shrink = 4});
    ASSERT_TRUE(quarter) << quarter.problem;
    EXPECT_EQ(quarter.image.width(), 100);
    EXPECT_EQ(OpenPicture(jpeg, PictureType::kJpeg, budget).problem, "too large (400 x 300, 1 MB)");
}

// Loaders the library itself does not trust with hostile input never run, even when
// asked for by content: a BMP (which only ImageMagick reads) cannot be opened at all.
TEST_F(OpenPictureTest, TheLibrarysUntrustedLoadersAreBlocked) {
    // A 1 x 1 24-bit BMP.
    const std::vector<uint8_t> bmp = {
        'B', 'M', 58, 0, 0, 0, 0, 0, 0, 0, 54, 0, 0, 0, 40, 0, 0, 0, 1, 0, 0, 0, 1, 0, 0, 0,
        1,   0,   24, 0, 0, 0, 0, 0, 4, 0, 0,  0, 0, 0, 0, 0, 0,  0, 0, 0, 0, 0, 0, 0, 0, 0,
        0,   0,   0,  0, 255, 0};
    const std::string path = write("a.bmp", bmp);
    auto loads = [&] {
        try {
            VImage::new_from_file(path.c_str()).copy_memory();
            return true;
        } catch (const vips::VError&) {
            vips_error_clear();
            return false;
        }
    };
    EXPECT_FALSE(loads());
    // The block alone stops it: lifted for a moment, the same file loads.
    vips_block_untrusted_set(FALSE);
    const bool loadsUnblocked = loads();
    vips_block_untrusted_set(TRUE);
    if (!loadsUnblocked) GTEST_SKIP() << "no untrusted loader reads BMP here";
    EXPECT_FALSE(loads());
}

}  // namespace
}  // namespace corvelle
