#include "core/picture_memory.h"

#include <sys/mman.h>

#include <cstring>
#include <new>

namespace corvelle {

namespace {

void putUint32(uint8_t* at, uint32_t v) {
    at[0] = uint8_t(v);
    at[1] = uint8_t(v >> 8);
    at[2] = uint8_t(v >> 16);
    at[3] = uint8_t(v >> 24);
}

// Bytes of `size` with the first `headerSize` taken from header, the rest zero.
std::optional<std::vector<uint8_t>> zeroedBlock(const uint8_t* header, size_t headerSize,
                                                size_t size) {
    if (size > PackedDib::kMaxBytes || size < headerSize) return std::nullopt;
    std::vector<uint8_t> bytes;
    try {
        bytes.reserve(size);
    } catch (const std::bad_alloc&) {
        return std::nullopt;
    }
    constexpr size_t kHugePage = size_t(2) << 20;
    if (size >= kHugePage) {
        // Advice only: where the kernel has no huge pages nothing changes.
        const uintptr_t start =
            (reinterpret_cast<uintptr_t>(bytes.data()) + 4095) & ~uintptr_t(4095);
        const uintptr_t end = (reinterpret_cast<uintptr_t>(bytes.data()) + size) & ~uintptr_t(4095);
        if (end > start) madvise(reinterpret_cast<void*>(start), end - start, MADV_HUGEPAGE);
    }
    bytes.resize(size);
    std::memcpy(bytes.data(), header, headerSize);
    return bytes;
}

}  // namespace

std::optional<PackedDib> CreatePicture(int width, int height, int bitCount) {
    if (height <= 0) return std::nullopt;
    // One row made the ordinary way gives the header and the colour table.
    const std::optional<PackedDib> row = PackedDib::create(width, 1, bitCount);
    if (!row) return std::nullopt;
    const uint64_t pixelBytes = uint64_t(row->stride()) * uint64_t(height);
    if (row->pixelOffset() + pixelBytes > PackedDib::kMaxBytes) return std::nullopt;
    std::optional<std::vector<uint8_t>> bytes =
        zeroedBlock(row->bytes().data(), row->pixelOffset(), row->pixelOffset() + pixelBytes);
    if (!bytes) return std::nullopt;
    putUint32(bytes->data() + 8, uint32_t(height));
    putUint32(bytes->data() + 20, uint32_t(pixelBytes));
    return PackedDib::fromBytes(std::move(*bytes));
}

std::optional<PackedDib> CreatePictureLike(const PackedDib& model) {
    std::optional<std::vector<uint8_t>> bytes =
        zeroedBlock(model.bytes().data(), model.pixelOffset(), model.size());
    if (!bytes) return std::nullopt;
    return PackedDib::fromBytes(std::move(*bytes));
}

}  // namespace corvelle
