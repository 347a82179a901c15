#include "core/packed_dib.h"

#include <sys/mman.h>

#include <cstring>
#include <new>

#include "core/safe_file.h"

namespace corvelle {

namespace {

void putUint32(uint8_t* at, uint32_t v) {
    at[0] = uint8_t(v);
    at[1] = uint8_t(v >> 8);
    at[2] = uint8_t(v >> 16);
    at[3] = uint8_t(v >> 24);
}
void putUint16(uint8_t* at, uint16_t v) {
    at[0] = uint8_t(v);
    at[1] = uint8_t(v >> 8);
}
uint32_t getUint32(const uint8_t* at) {
    return uint32_t(at[0]) | uint32_t(at[1]) << 8 | uint32_t(at[2]) << 16 | uint32_t(at[3]) << 24;
}

bool validBitCount(int bits) {
    return bits == 1 || bits == 4 || bits == 8 || bits == 24 || bits == 32;
}

constexpr size_t kBmpFileHeaderSize = 14;

// A photo's block is tens of megabytes written once right away. Asking for huge pages lets
// the kernel map it a few hundred pages at a time instead of through thousands of small
// page faults, several times faster on virtual machines; where there are none nothing
// changes. A block that cannot be had is a refusal, never an exception.
bool allocateZeroed(std::vector<uint8_t>& bytes, size_t size) {
    try {
        bytes.reserve(size);
    } catch (const std::bad_alloc&) {
        return false;
    }
    constexpr size_t kHugePage = size_t(2) << 20;
    if (size >= kHugePage) {
        const uintptr_t begin = reinterpret_cast<uintptr_t>(bytes.data());
        const uintptr_t start = (begin + 4095) & ~uintptr_t(4095);
        const uintptr_t end = (begin + size) & ~uintptr_t(4095);
        if (end > start) madvise(reinterpret_cast<void*>(start), end - start, MADV_HUGEPAGE);
    }
    bytes.resize(size, 0);
    return true;
}

}  // namespace

uint32_t PackedDib::uint32At(size_t at) const { return getUint32(m_bytes.data() + at); }
uint16_t PackedDib::uint16At(size_t at) const {
    return uint16_t(m_bytes[at] | m_bytes[at + 1] << 8);
}
void PackedDib::setUint32At(size_t at, uint32_t v) { putUint32(m_bytes.data() + at, v); }

void PackedDib::setPelsPerMeter(int x, int y) {
    setUint32At(24, static_cast<uint32_t>(x));
    setUint32At(28, static_cast<uint32_t>(y));
}

int PackedDib::colorTableCount() const {
    if (colorsUsed() != 0) return static_cast<int>(colorsUsed());
    const int bits = bitCount();
    return bits <= 8 ? 1 << bits : 0;
}

std::optional<PackedDib> PackedDib::create(int width, int height, int bitCount) {
    if (width <= 0 || height <= 0 || !validBitCount(bitCount)) return std::nullopt;
    const uint64_t stride = ((uint64_t(width) * bitCount + 31) / 32) * 4;
    const int colors = bitCount <= 8 ? 1 << bitCount : 0;
    const uint64_t total = kHeaderSize + 4 * uint64_t(colors) + stride * uint64_t(height);
    if (total > kMaxBytes) return std::nullopt;

    std::vector<uint8_t> bytes;
    if (!allocateZeroed(bytes, total)) return std::nullopt;
    uint8_t* h = bytes.data();
    putUint32(h + 0, kHeaderSize);
    putUint32(h + 4, static_cast<uint32_t>(width));
    putUint32(h + 8, static_cast<uint32_t>(height));
    putUint16(h + 12, 1);
    putUint16(h + 14, static_cast<uint16_t>(bitCount));
    putUint32(h + 20, static_cast<uint32_t>(stride * height));
    for (int i = 0; i < colors; ++i) {
        const uint8_t level = colors == 1 ? 0 : uint8_t(i * 255 / (colors - 1));
        uint8_t* entry = h + kHeaderSize + 4 * i;
        entry[0] = entry[1] = entry[2] = level;
    }
    return PackedDib(std::move(bytes));
}

std::optional<PackedDib> PackedDib::fromBytes(std::vector<uint8_t> bytes) {
    if (bytes.size() < kHeaderSize || bytes.size() > kMaxBytes) return std::nullopt;
    const uint8_t* h = bytes.data();
    const int32_t width = static_cast<int32_t>(getUint32(h + 4));
    const int32_t height = static_cast<int32_t>(getUint32(h + 8));
    const int bits = h[14] | h[15] << 8;
    const uint32_t used = getUint32(h + 32);
    if (getUint32(h) != kHeaderSize || width <= 0 || height <= 0 || !validBitCount(bits) ||
        getUint32(h + 16) != 0 || used > 256)
        return std::nullopt;
    const uint64_t colors = used != 0 ? used : (bits <= 8 ? 1u << bits : 0);
    const uint64_t stride = ((uint64_t(width) * bits + 31) / 32) * 4;
    const uint64_t needed = kHeaderSize + 4 * colors + stride * uint64_t(height);
    if (needed > bytes.size()) return std::nullopt;
    return PackedDib(std::move(bytes));
}

std::optional<PackedDib> CropDib(const PackedDib& dib, const DibRect& rect) {
    if (rect.left < 0 || rect.top < 0 || rect.right > dib.width() || rect.bottom > dib.height() ||
        rect.width() <= 0 || rect.height() <= 0 || dib.bitCount() < 8)
        return std::nullopt;
    const int bits = dib.bitCount();
    const int colors = dib.colorTableCount();
    const int stride = PackedDib::strideFor(rect.width(), bits);
    const size_t headerAndColors = PackedDib::kHeaderSize + 4 * size_t(colors);

    std::vector<uint8_t> bytes;
    if (!allocateZeroed(bytes, headerAndColors + size_t(stride) * rect.height()))
        return std::nullopt;
    std::memcpy(bytes.data(), dib.bytes().data(), headerAndColors);
    putUint32(bytes.data() + 4, static_cast<uint32_t>(rect.width()));
    putUint32(bytes.data() + 8, static_cast<uint32_t>(rect.height()));
    putUint32(bytes.data() + 20, static_cast<uint32_t>(stride * rect.height()));

    const size_t rowBytes = size_t(rect.width()) * bits / 8;
    const size_t xOffset = size_t(rect.left) * bits / 8;
    const int firstSourceRow = dib.height() - rect.bottom;
    for (int y = 0; y < rect.height(); ++y) {
        std::memcpy(bytes.data() + headerAndColors + size_t(y) * stride,
                    dib.memoryRow(firstSourceRow + y) + xOffset, rowBytes);
    }
    return PackedDib::fromBytes(std::move(bytes));
}

std::vector<uint8_t> BmpFileBytes(const PackedDib& dib) {
    std::vector<uint8_t> file(kBmpFileHeaderSize + dib.size());
    file[0] = 'B';
    file[1] = 'M';
    putUint32(file.data() + 2, static_cast<uint32_t>(file.size()));
    putUint32(file.data() + 10, static_cast<uint32_t>(kBmpFileHeaderSize + dib.pixelOffset()));
    std::memcpy(file.data() + kBmpFileHeaderSize, dib.bytes().data(), dib.size());
    return file;
}

std::optional<PackedDib> PackedDibFromBmpBytes(std::span<const uint8_t> bytes) {
    if (bytes.size() < kBmpFileHeaderSize || bytes[0] != 'B' || bytes[1] != 'M')
        return std::nullopt;
    return PackedDib::fromBytes({bytes.begin() + kBmpFileHeaderSize, bytes.end()});
}

bool WriteBmpFile(const std::string& path, const PackedDib& dib) {
    return WriteFileReplacing(path, BmpFileBytes(dib));
}

}  // namespace corvelle
