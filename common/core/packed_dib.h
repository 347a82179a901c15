#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <vector>

namespace corvelle {

// A picture as one contiguous block: the 40-byte bitmap information header (little-endian
// fields), the colour table, then the pixel rows bottom-up, each padded to 4 bytes, 24-bit
// pixels in blue, green, red order. The clipboard, BMP files and tests use these bytes as
// they are, so the layout is the contract.
class PackedDib {
public:
    static constexpr size_t kHeaderSize = 40;
    // Pictures larger than this are refused rather than half-allocated.
    static constexpr uint64_t kMaxBytes = uint64_t(1) << 30;

    // A zero-filled picture; pictures of 8 bits or less get a gray ramp as colour table.
    // None when the size is not positive, the bit count is not 1, 4, 8, 24 or 32, or the
    // block would exceed kMaxBytes.
    static std::optional<PackedDib> create(int width, int height, int bitCount);
    // Takes over bytes laid out as above after checking that header, colour table and
    // rows fit inside them.
    static std::optional<PackedDib> fromBytes(std::vector<uint8_t> bytes);

    // Computed in 64 bits: a one-row picture may be wider than 2^31 bits and still fit.
    static int strideFor(int width, int bitCount) {
        return static_cast<int>(((int64_t(width) * bitCount + 31) / 32) * 4);
    }

    int width() const { return int32At(4); }
    int height() const { return int32At(8); }
    int bitCount() const { return uint16At(14); }
    int compression() const { return static_cast<int>(uint32At(16)); }
    int xPelsPerMeter() const { return int32At(24); }
    int yPelsPerMeter() const { return int32At(28); }
    uint32_t colorsUsed() const { return uint32At(32); }
    void setPelsPerMeter(int x, int y);
    void setColorsUsed(uint32_t count) { setUint32At(32, count); }

    int stride() const { return strideFor(width(), bitCount()); }
    int bytesPerPixel() const { return bitCount() / 8; }
    // Entries in the colour table: colours used, or 2^bits for 8 bits or less.
    int colorTableCount() const;
    size_t pixelOffset() const { return kHeaderSize + 4 * static_cast<size_t>(colorTableCount()); }

    // Colour table entry i as blue, green, red, reserved.
    uint8_t* colorEntry(int i) { return m_bytes.data() + kHeaderSize + 4 * static_cast<size_t>(i); }
    const uint8_t* colorEntry(int i) const {
        return m_bytes.data() + kHeaderSize + 4 * static_cast<size_t>(i);
    }

    // Row y of memory (0 is the bottom of the picture).
    uint8_t* memoryRow(int y) { return m_bytes.data() + pixelOffset() + size_t(y) * stride(); }
    const uint8_t* memoryRow(int y) const {
        return m_bytes.data() + pixelOffset() + size_t(y) * stride();
    }
    // Row y of the picture as seen (0 is the top).
    uint8_t* pictureRow(int y) { return memoryRow(height() - 1 - y); }
    const uint8_t* pictureRow(int y) const { return memoryRow(height() - 1 - y); }

    uint8_t* pixels() { return m_bytes.data() + pixelOffset(); }
    const uint8_t* pixels() const { return m_bytes.data() + pixelOffset(); }
    size_t pixelBytes() const { return size_t(stride()) * height(); }

    const std::vector<uint8_t>& bytes() const { return m_bytes; }
    std::span<const uint8_t> span() const { return m_bytes; }
    size_t size() const { return m_bytes.size(); }

private:
    explicit PackedDib(std::vector<uint8_t> bytes) : m_bytes(std::move(bytes)) {}
    int32_t int32At(size_t at) const { return static_cast<int32_t>(uint32At(at)); }
    uint32_t uint32At(size_t at) const;
    uint16_t uint16At(size_t at) const;
    void setUint32At(size_t at, uint32_t v);

    std::vector<uint8_t> m_bytes;
};

struct DibRect {
    int left = 0, top = 0, right = 0, bottom = 0;  // right and bottom exclusive
    int width() const { return right - left; }
    int height() const { return bottom - top; }
    bool operator==(const DibRect&) const = default;
};

// The pixels of rect (picture coordinates, origin top-left) as a new picture with the same
// header fields and colour table. None when rect is empty or reaches outside the picture.
std::optional<PackedDib> CropDib(const PackedDib& dib, const DibRect& rect);

// A BMP file is the 14-byte file header followed by the packed bytes exactly as in memory.
std::vector<uint8_t> BmpFileBytes(const PackedDib& dib);
std::optional<PackedDib> PackedDibFromBmpBytes(std::span<const uint8_t> bytes);
// Written through a temporary file in the same folder; the target is replaced only once
// the whole file is written.
bool WriteBmpFile(const std::string& path, const PackedDib& dib);

}  // namespace corvelle
