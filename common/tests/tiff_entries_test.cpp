// The TIFF entry layer the three metadata readers share: numbers in either byte order,
// where an entry's data lie, and directory walks that hostile offsets cannot run away with.

#include <gtest/gtest.h>

#include <vector>

#include "core/byte_source.h"
#include "core/tiff_entries.h"

namespace corvelle {
namespace {

// A little-endian directory at offset 8 of two entries, the second cut off by the end.
std::vector<uint8_t> TwoEntryDirectory() {
    return {'I', 'I', 42, 0, 8, 0, 0, 0,
            2, 0,                                       // two entries claimed
            0x0F, 0x01, 2, 0, 3, 0, 0, 0, 'A', 'B', 0, 0,  // Make, ASCII, 3: "AB" inline
            0x69, 0x87, 4, 0, 1, 0, 0};                 // cut inside the second entry
}

TEST(TiffBytes, ReadsNumbersInTheMarkedOrderInsideItsWindow) {
    const std::vector<uint8_t> file = {0xFF, 'M', 'M', 0, 42, 0x12, 0x34, 0x56, 0x78};
    const MemoryByteSource source(file);
    TiffBytes tiff(source, 1, 100);
    EXPECT_EQ(tiff.size(), 8) << "the window ends with the source";
    ASSERT_TRUE(tiff.readByteOrderMark());
    EXPECT_TRUE(tiff.bigEndian());
    EXPECT_EQ(tiff.read16(2), 42);
    EXPECT_EQ(tiff.read32(4), 0x12345678u);
    EXPECT_EQ(tiff.read32(5), std::nullopt) << "one byte short";
    EXPECT_EQ(tiff.read8(-1), std::nullopt);
    tiff.setBigEndian(false);
    EXPECT_EQ(tiff.read32(4), 0x78563412u);
    const std::vector<uint8_t> other = {'M', 'I'};
    const MemoryByteSource mixed(other);
    TiffBytes notTiff(mixed);
    EXPECT_FALSE(notTiff.readByteOrderMark());
}

TEST(TiffEntries, DataLieInlineUpToFourBytesElseAtBasePlusOffset) {
    const std::vector<uint8_t> file = TwoEntryDirectory();
    const MemoryByteSource source(file);
    TiffBytes tiff(source);
    TiffEntry entry = *ReadTiffEntry(tiff, 10);
    EXPECT_EQ(entry.tag, 0x010F);
    EXPECT_EQ(TiffDataLength(entry), 3);
    EXPECT_EQ(TiffDataPosition(tiff, entry, 1000), 18) << "inline: the base plays no part";
    entry.type = 5;  // RATIONAL: 3 x 8 bytes, at base + the value field's offset
    EXPECT_EQ(TiffDataPosition(tiff, entry, 1000), 1000 + 0x4241);
    entry.count = 0xFFFFFFFF;
    EXPECT_EQ(TiffDataLength(entry), int64_t{0xFFFFFFFF} * 8) << "no 32-bit wrap";
    entry.type = 13;
    EXPECT_EQ(TiffDataLength(entry), 0) << "a type TIFF does not define has no size";
    EXPECT_EQ(ReadTiffEntry(tiff, 22), std::nullopt) << "an entry cut by the end";
}

TEST(TiffEntries, WalkEndsAtTheBytesEndAndTellsWhereTheLinkLies) {
    const std::vector<uint8_t> file = TwoEntryDirectory();
    const MemoryByteSource source(file);
    const TiffBytes tiff(source);
    std::vector<uint16_t> tags;
    const auto link = WalkTiffDirectory(tiff, 8, [&](const TiffEntry& entry) {
        tags.push_back(entry.tag);
        return true;
    });
    EXPECT_EQ(tags, std::vector<uint16_t>{0x010F});
    EXPECT_EQ(link, 8 + 2 + 2 * 12);
    EXPECT_EQ(WalkTiffDirectory(tiff, int64_t(file.size()) - 1, [](const TiffEntry&) {
                  return true;
              }),
              std::nullopt)
        << "no count to read";
    int visits = 0;
    WalkTiffDirectory(tiff, 8, [&](const TiffEntry&) { return ++visits < 1; });
    EXPECT_EQ(visits, 1) << "the visitor stops the walk";
}

TEST(TiffEntries, TrailEndsCirclesAndOverlongChains) {
    TiffDirectoryTrail trail(3);
    EXPECT_TRUE(trail.enter(8));
    EXPECT_FALSE(trail.enter(8)) << "a pointer back";
    EXPECT_TRUE(trail.enter(100));
    EXPECT_TRUE(trail.enter(200));
    EXPECT_FALSE(trail.enter(300)) << "longer than the limit";
}

}  // namespace
}  // namespace corvelle
