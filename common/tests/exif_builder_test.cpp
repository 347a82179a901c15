// The test-picture builder is itself checked, since every EXIF test trusts its layout.
#include <gtest/gtest.h>

#include "support/exif_builder.h"

namespace corvelle::testing {
namespace {

uint32_t read32(const std::vector<uint8_t>& b, size_t at, ByteOrder order) {
    return order == kLittle ? b[at] | b[at + 1] << 8 | b[at + 2] << 16 | uint32_t(b[at + 3]) << 24
                            : uint32_t(b[at]) << 24 | b[at + 1] << 16 | b[at + 2] << 8 | b[at + 3];
}
uint16_t read16(const std::vector<uint8_t>& b, size_t at, ByteOrder order) {
    return order == kLittle ? uint16_t(b[at] | b[at + 1] << 8) : uint16_t(b[at] << 8 | b[at + 1]);
}

TEST(ExifBuilder, LaysOutDirectoriesInlineValuesAndDataAreas) {
    for (ByteOrder order : {kLittle, kBig}) {
        TiffDirectory exif;
        exif.ascii(0x9003, "2004:03:15 14:25:30");
        TiffDirectory ifd0;
        ifd0.shorts(0x0112, {6}).rationals(0x011A, {{72, 1}}).subDirectory(0x8769, exif);
        const auto tiff = BuildTiff(ifd0, order);

        EXPECT_EQ(tiff[0], order == kLittle ? 'I' : 'M');
        EXPECT_EQ(read16(tiff, 2, order), 42);
        const uint32_t first = read32(tiff, 4, order);
        ASSERT_EQ(first, 8u);
        ASSERT_EQ(read16(tiff, 8, order), 3);
        // Orientation: one SHORT stored in the first two bytes of the value field.
        EXPECT_EQ(read16(tiff, 10, order), 0x0112);
        EXPECT_EQ(read16(tiff, 10 + 8, order), 6);
        // XResolution points at 72/1 in the data area.
        const uint32_t rational = read32(tiff, 22 + 8, order);
        EXPECT_EQ(read32(tiff, rational, order), 72u);
        EXPECT_EQ(read32(tiff, rational + 4, order), 1u);
        // The EXIF pointer leads to a directory whose text is where its entry says.
        const uint32_t exifAt = read32(tiff, 34 + 8, order);
        ASSERT_EQ(read16(tiff, exifAt, order), 1);
        EXPECT_EQ(read32(tiff, exifAt + 2 + 4, order), 20u);
        const uint32_t textAt = read32(tiff, exifAt + 2 + 8, order);
        EXPECT_EQ(std::string(tiff.begin() + textAt, tiff.begin() + textAt + 19),
                  "2004:03:15 14:25:30");
    }
}

TEST(ExifBuilder, PlacedBytesKnowTheirOffsetAndSegmentsFollowSoi) {
    uint32_t seen = 0;
    TiffDirectory ifd0;
    ifd0.placedBytes(0x927C, kUndefined, 8, [&](uint32_t offset) {
        seen = offset;
        return std::vector<uint8_t>(8, 0xAB);
    });
    const auto tiff = BuildTiff(ifd0, kLittle);
    ASSERT_GT(seen, 0u);
    EXPECT_EQ(tiff[seen], 0xAB);

    const auto jpeg = EncodeTestJpeg(16, 8);
    ASSERT_GE(jpeg.size(), 4u);
    EXPECT_EQ(jpeg[0], 0xFF);
    EXPECT_EQ(jpeg[1], 0xD8);
    const auto withExif = InsertAfterSoi(jpeg, {ExifSegment(tiff)});
    EXPECT_EQ(withExif[2], 0xFF);
    EXPECT_EQ(withExif[3], 0xE1);
    EXPECT_EQ(std::string(withExif.begin() + 6, withExif.begin() + 10), "Exif");
    EXPECT_EQ(withExif.size(), jpeg.size() + 10 + tiff.size());
}

}  // namespace
}  // namespace corvelle::testing
