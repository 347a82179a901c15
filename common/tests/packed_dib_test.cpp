#include <gtest/gtest.h>

#include <cstring>

#include "core/packed_dib.h"
#include "core/safe_file.h"
#include "support/temp_folder.h"

namespace corvelle {
namespace {

using testing::ReadFileBytes;
using testing::TempFolder;
using testing::WriteFileBytes;

PackedDib makeNumbered(int width, int height, int bits) {
    auto dib = PackedDib::create(width, height, bits);
    EXPECT_TRUE(dib);
    const int bpp = bits / 8;
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width * bpp; ++x) dib->pictureRow(y)[x] = uint8_t(y * 16 + x);
    return *dib;
}

TEST(PackedDib, HeaderStrideAndColourTable) {
    auto gray = PackedDib::create(3, 2, 8);
    ASSERT_TRUE(gray);
    EXPECT_EQ(gray->stride(), 4);
    EXPECT_EQ(gray->colorTableCount(), 256);
    EXPECT_EQ(gray->pixelOffset(), 40u + 1024u);
    EXPECT_EQ(gray->size(), 40u + 1024u + 8u);
    const uint8_t* entry = gray->colorEntry(200);
    EXPECT_EQ(entry[0], 200);
    EXPECT_EQ(entry[1], 200);
    EXPECT_EQ(entry[2], 200);
    EXPECT_EQ(entry[3], 0);

    auto colour = PackedDib::create(5, 3, 24);
    ASSERT_TRUE(colour);
    EXPECT_EQ(colour->stride(), 16);  // 15 bytes padded to 16
    EXPECT_EQ(colour->colorTableCount(), 0);
    const auto& b = colour->bytes();
    EXPECT_EQ(b[0], 40);
    EXPECT_EQ(b[4], 5);
    EXPECT_EQ(b[8], 3);
    EXPECT_EQ(b[12], 1);
    EXPECT_EQ(b[14], 24);
    EXPECT_EQ(b[20], 48);  // size of the image: stride x height
}

TEST(PackedDib, RefusesBadSizesAndLyingBlocks) {
    EXPECT_FALSE(PackedDib::create(0, 10, 24));
    EXPECT_FALSE(PackedDib::create(10, -1, 24));
    EXPECT_FALSE(PackedDib::create(10, 10, 16));
    EXPECT_FALSE(PackedDib::create(100000, 100000, 24));

    auto dib = PackedDib::create(4, 4, 24);
    std::vector<uint8_t> shortBlock(dib->bytes().begin(), dib->bytes().end() - 1);
    EXPECT_FALSE(PackedDib::fromBytes(shortBlock));
    EXPECT_TRUE(PackedDib::fromBytes(dib->bytes()));
}

TEST(PackedDib, PictureRowsAreStoredBottomUp) {
    auto dib = makeNumbered(2, 3, 24);
    EXPECT_EQ(dib.pictureRow(0), dib.memoryRow(2));
    EXPECT_EQ(dib.pixels()[0], 2 * 16);  // first row in memory is the bottom row
}

TEST(CropDib, CopiesTheRectangleAndKeepsHeaderFields) {
    auto dib = makeNumbered(6, 5, 24);
    dib.setPelsPerMeter(2834, 2834);
    auto crop = CropDib(dib, {1, 2, 4, 4});
    ASSERT_TRUE(crop);
    EXPECT_EQ(crop->width(), 3);
    EXPECT_EQ(crop->height(), 2);
    EXPECT_EQ(crop->stride(), 12);
    EXPECT_EQ(crop->xPelsPerMeter(), 2834);
    for (int y = 0; y < 2; ++y)
        for (int x = 0; x < 9; ++x) EXPECT_EQ(crop->pictureRow(y)[x], uint8_t((y + 2) * 16 + 3 + x));
    // Padding bytes stay zero so that files made from the block are reproducible.
    EXPECT_EQ(crop->memoryRow(0)[9], 0);

    auto gray = makeNumbered(4, 4, 8);
    auto grayCrop = CropDib(gray, {0, 0, 4, 1});
    ASSERT_TRUE(grayCrop);
    EXPECT_EQ(grayCrop->colorTableCount(), 256);
    EXPECT_EQ(std::memcmp(grayCrop->pictureRow(0), gray.pictureRow(0), 4), 0);

    EXPECT_FALSE(CropDib(dib, {0, 0, 7, 1}));
    EXPECT_FALSE(CropDib(dib, {2, 2, 2, 3}));
}

TEST(BmpFile, IsTheFileHeaderFollowedByTheBlock) {
    auto dib = makeNumbered(3, 2, 24);
    auto file = BmpFileBytes(dib);
    ASSERT_EQ(file.size(), 14 + dib.size());
    EXPECT_EQ(file[0], 'B');
    EXPECT_EQ(file[1], 'M');
    EXPECT_EQ(file[10], 54);
    EXPECT_EQ(std::memcmp(file.data() + 14, dib.bytes().data(), dib.size()), 0);
    auto back = PackedDibFromBmpBytes(file);
    ASSERT_TRUE(back);
    EXPECT_EQ(back->bytes(), dib.bytes());
}

TEST(SafeFile, AFailedWriteLeavesTheTargetAndNoLeftovers) {
    TempFolder folder;
    const std::string target = folder.file("photo.jpg");
    WriteFileBytes(target, {1, 2, 3});
    {
        AtomicFileWriter writer(target);
        ASSERT_TRUE(writer.open());
        std::fputs("partial", writer.stream());
        // destroyed without commit: the write failed half-way
    }
    EXPECT_EQ(ReadFileBytes(target), (std::vector<uint8_t>{1, 2, 3}));
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(folder.path()), {}), 1);

    ASSERT_TRUE(WriteFileReplacing(target, std::vector<uint8_t>{9}));
    EXPECT_EQ(ReadFileBytes(target), std::vector<uint8_t>{9});
}

TEST(SafeFile, RenameNeverReplacesAnExistingFile) {
    TempFolder folder;
    WriteFileBytes(folder.file("a"), {1});
    WriteFileBytes(folder.file("b"), {2});
    EXPECT_FALSE(RenameNoReplace(folder.file("a"), folder.file("b")));
    EXPECT_EQ(errno, EEXIST);
    EXPECT_EQ(ReadFileBytes(folder.file("a")), std::vector<uint8_t>{1});
    EXPECT_EQ(ReadFileBytes(folder.file("b")), std::vector<uint8_t>{2});
    EXPECT_TRUE(RenameNoReplace(folder.file("a"), folder.file("c")));
    EXPECT_FALSE(std::filesystem::exists(folder.file("a")));
    EXPECT_EQ(ReadFileBytes(folder.file("c")), std::vector<uint8_t>{1});
}

}  // namespace
}  // namespace corvelle
