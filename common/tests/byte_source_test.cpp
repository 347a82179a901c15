#include <gtest/gtest.h>

#include <vector>

#include "core/byte_source.h"
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

}  // namespace
}  // namespace corvelle
