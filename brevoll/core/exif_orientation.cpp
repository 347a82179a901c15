#include "core/exif_orientation.h"

#include "core/byte_source.h"
#include "core/tiff_entries.h"

namespace corvelle {

namespace {

constexpr uint16_t kOrientationTag = 0x0112;
constexpr uint16_t kTypeShort = 3;

}  // namespace

bool SetExifOrientation(std::span<uint8_t> tiff, uint16_t value) {
    const MemoryByteSource source(tiff);
    TiffBytes bytes(source);
    if (!bytes.readByteOrderMark() || bytes.read16(2) != 42) return false;
    const auto directory = bytes.read32(4);
    if (!directory) return false;
    std::optional<TiffEntry> orientation;
    WalkTiffDirectory(bytes, *directory, [&](const TiffEntry& entry) {
        if (entry.tag == kOrientationTag) orientation = entry;
        return !orientation;
    });
    if (!orientation || orientation->type != kTypeShort || orientation->count < 1) return false;
    // A single SHORT sits at the start of the value field.
    bytes.put16(&tiff[size_t(orientation->valueFieldPosition())], value);
    return true;
}

}  // namespace corvelle
