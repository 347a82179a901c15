#include "core/exif_orientation.h"

namespace corvelle {

namespace {

constexpr uint16_t kOrientationTag = 0x0112;
constexpr uint16_t kTypeShort = 3;
constexpr size_t kEntrySize = 12;

struct Numbers {
    bool big;
    uint16_t get16(const uint8_t* p) const {
        return big ? uint16_t(p[0] << 8 | p[1]) : uint16_t(p[1] << 8 | p[0]);
    }
    uint32_t get32(const uint8_t* p) const {
        return big ? uint32_t(p[0]) << 24 | uint32_t(p[1]) << 16 | uint32_t(p[2]) << 8 | p[3]
                   : uint32_t(p[3]) << 24 | uint32_t(p[2]) << 16 | uint32_t(p[1]) << 8 | p[0];
    }
    void put16(uint8_t* p, uint16_t v) const {
        p[big ? 0 : 1] = uint8_t(v >> 8);
        p[big ? 1 : 0] = uint8_t(v & 0xFF);
    }
};

}  // namespace

bool SetExifOrientation(std::span<uint8_t> tiff, uint16_t value) {
    if (tiff.size() < 8) return false;
    Numbers n{};
    if (tiff[0] == 'M' && tiff[1] == 'M')
        n.big = true;
    else if (tiff[0] != 'I' || tiff[1] != 'I')
        return false;
    if (n.get16(&tiff[2]) != 42) return false;
    const uint64_t directory = n.get32(&tiff[4]);
    if (directory > tiff.size() || tiff.size() - directory < 2) return false;
    const uint64_t count = n.get16(&tiff[directory]);
    const uint64_t first = directory + 2;
    for (uint64_t i = 0; i < count; ++i) {
        const uint64_t at = first + i * kEntrySize;
        if (at > tiff.size() || tiff.size() - at < kEntrySize) return false;
        uint8_t* entry = &tiff[at];
        if (n.get16(entry) != kOrientationTag) continue;
        if (n.get16(entry + 2) != kTypeShort || n.get32(entry + 4) < 1) return false;
        // A single SHORT sits at the start of the value field.
        n.put16(entry + 8, value);
        return true;
    }
    return false;
}

}  // namespace corvelle
