// Pictures opened through their own type's loader only, within a byte budget.
#include <gtest/gtest.h>

#include <vips/vips8>

#include "imaging/imaging.h"
#include "imaging/open_picture.h"
#include "support/temp_folder.h"

namespace corvelle {
namespace {

using vips::VImage;

std::vector<uint8_t> encoded(const VImage& image, const char* suffix) {
    void* buffer = nullptr;
    size_t size = 0;
    image.write_to_buffer(suffix, &buffer, &size);
    std::vector<uint8_t> bytes(static_cast<uint8_t*>(buffer), static_cast<uint8_t*>(buffer) + size);
    g_free(buffer);
    return bytes;
}

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
    const std::string png = write("a.png", encoded(picture, ".png"));
    const std::string jpeg = write("a.jpg", encoded(picture, ".jpg"));
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
    const std::string png = write("a.png", encoded(picture, ".png"));
    const OpenedPicture header = OpenPictureHeader(png, PictureType::kPng);
    ASSERT_TRUE(header) << header.problem;
    EXPECT_EQ(DecodedBytes(header.image), 3600u);
    PictureLimits budget;
    budget.maxPictureBytes = 3599;
    EXPECT_EQ(DecodePicture(header.image, budget).problem, "too large (40 x 30, 1 MB)");
    budget.maxPictureBytes = 3600;
    EXPECT_TRUE(DecodePicture(header.image, budget));

    // Wider samples count: 16-bit RGBA takes 8 bytes a pixel.
    const std::string wide =
        write("wide.png",
              encoded(VImage::black(40, 30, VImage::option()->set("bands", 4))
                          .cast(VIPS_FORMAT_USHORT)
                          .copy(VImage::option()->set("interpretation", VIPS_INTERPRETATION_RGB16)),
                      ".png"));
    const OpenedPicture wideHeader = OpenPictureHeader(wide, PictureType::kPng);
    ASSERT_TRUE(wideHeader) << wideHeader.problem;
    EXPECT_EQ(DecodedBytes(wideHeader.image), 40u * 30u * 8u);

    // A JPEG decoded at a quarter of its size counts that size.
    const std::string jpeg = write(
        "big.jpg",
        encoded(VImage::black(400, 300, VImage::option()->set("bands", 3)).cast(VIPS_FORMAT_UCHAR),
                ".jpg"));
    budget.maxPictureBytes = 100 * 75 * 3;
    const OpenedPicture quarter = OpenPicture(jpeg, PictureType::kJpeg, budget, 4);
    ASSERT_TRUE(quarter) << quarter.problem;
    EXPECT_EQ(quarter.image.width(), 100);
    EXPECT_EQ(OpenPicture(jpeg, PictureType::kJpeg, budget).problem, "too large (400 x 300, 1 MB)");
}

}  // namespace
}  // namespace corvelle
