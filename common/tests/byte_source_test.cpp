#include <gtest/gtest.h>

#include <vector>

#include "core/buffered_byte_source.h"
#include "core/byte_source.h"
#include "support/counting_byte_source.h"
#include "support/temp_folder.h"

namespace corvelle {
namespace {

const std::vector<uint8_t> kBytes = {0x12, 0x34, 0x56, 0x78, 0x9A, 0xBC};

void ExpectBoundedReads(ByteSource& source) {
    EXPECT_EQ(source.size(), 6u);
    EXPECT_EQ(source.readUint16(ByteOrder::kLittleEndian), 0x3412);
    EXPECT_EQ(source.readUint16(ByteOrder::kBigEndian), 0x5678);
    EXPECT_EQ(source.position(), 4u);
    EXPECT_FALSE(source.readUint32(ByteOrder::kBigEndian));  // two bytes left
    ASSERT_TRUE(source.seek(1));
    EXPECT_EQ(source.readUint32(ByteOrder::kBigEndian), 0x3456789Au);
    ASSERT_TRUE(source.seek(1));
    EXPECT_EQ(source.readUint32(ByteOrder::kLittleEndian), 0x9A785634u);

    uint8_t out[8] = {};
    ASSERT_TRUE(source.seek(4));
    EXPECT_EQ(source.read(out, 8), 2u);
    EXPECT_EQ(out[1], 0xBC);
    EXPECT_EQ(source.position(), 6u);
    EXPECT_EQ(source.read(out, 1), 0u);
    EXPECT_TRUE(source.seek(6));
    EXPECT_FALSE(source.seek(7));
    EXPECT_EQ(source.position(), 6u);
    EXPECT_EQ(source.readAt(5, out, 4), 1u);
    EXPECT_EQ(source.readAt(UINT64_MAX, out, 4), 0u);
}

TEST(ByteSource, MemoryAndFileReadTheSameBoundedBytes) {
    MemoryByteSource memory(kBytes);
    ExpectBoundedReads(memory);

    testing::TempFolder folder;
    testing::WriteFileBytes(folder.file("bytes"), kBytes);
    const auto file = FileByteSource::open(folder.file("bytes"));
    ASSERT_TRUE(file);
    ExpectBoundedReads(*file);

    EXPECT_FALSE(FileByteSource::open(folder.file("missing")));
    EXPECT_FALSE(FileByteSource::open(folder.path().string()));  // a folder
}

std::vector<uint8_t> NumberedBytes(size_t count) {
    std::vector<uint8_t> bytes(count);
    for (size_t i = 0; i < count; ++i) bytes[i] = uint8_t(i * 7 + i / 251);
    return bytes;
}

TEST(HeadBufferedSource, AnswersEveryReadAsTheSourceBelowWould) {
    const std::vector<uint8_t> bytes = NumberedBytes(10000);
    const MemoryByteSource plain(bytes);
    const HeadBufferedSource buffered(plain, 1024);
    ExpectBoundedReads(*std::make_unique<HeadBufferedSource>(
        std::make_unique<MemoryByteSource>(kBytes), 4));

    // Reads across the head's end, inside and across the window, larger than the window,
    // backwards, and at the very end.
    const std::pair<uint64_t, size_t> reads[] = {{0, 10},    {1000, 100}, {5000, 12}, {4900, 12},
                                                 {5900, 300}, {2000, 3000}, {9990, 50}, {1023, 2},
                                                 {10000, 1}, {6500, 1024}};
    for (const auto& [offset, count] : reads) {
        std::vector<uint8_t> expected(count), got(count);
        const size_t expectedCount = plain.readAt(offset, expected);
        ASSERT_EQ(buffered.readAt(offset, got), expectedCount) << offset << "+" << count;
        EXPECT_EQ(got, expected) << offset << "+" << count;
    }
}

TEST(HeadBufferedSource, ReadsTheHeadOnceAndADistantDirectoryOnce) {
    const std::vector<uint8_t> bytes = NumberedBytes(300000);
    testing::SourceCalls calls;
    HeadBufferedSource source(
        std::make_unique<testing::CountingByteSource>(std::make_unique<MemoryByteSource>(bytes),
                                                      calls));
    EXPECT_EQ(calls.reads, 1);
    EXPECT_EQ(source.head().size(), HeadBufferedSource::kDefaultHeadLength);
    uint8_t entry[12];
    for (uint64_t at = 0; at + 12 <= source.head().size(); at += 997) source.readAt(at, entry);
    EXPECT_EQ(calls.reads, 1) << "inside the head";

    // A directory of 200 entries near the end, then its values a little before it.
    for (uint64_t at = 250000; at < 250000 + 200 * 12; at += 12) source.readAt(at, entry);
    for (uint64_t at = 249000; at < 250000; at += 100) source.readAt(at, entry);
    EXPECT_EQ(calls.reads, 2) << "one window for the distant directory";

    std::vector<uint8_t> large(100000);
    EXPECT_EQ(source.readAt(150000, large), large.size());
    EXPECT_EQ(calls.reads, 3) << "a read larger than the window goes straight through";

    // A source shorter than the head is read once, and never again.
    testing::SourceCalls shortCalls;
    HeadBufferedSource small(std::make_unique<testing::CountingByteSource>(
        std::make_unique<MemoryByteSource>(kBytes), shortCalls));
    EXPECT_EQ(small.readAt(2, entry, 12), 4u);
    EXPECT_EQ(small.readAt(6, entry, 1), 0u);
    EXPECT_EQ(shortCalls.reads, 1);
}

}  // namespace
}  // namespace corvelle
