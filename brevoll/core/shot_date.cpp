#include "core/shot_date.h"

#include <algorithm>
#include <cstring>
#include <optional>
#include <utility>

#include "core/byte_source.h"
#include "core/tiff_entries.h"

namespace corvelle {

namespace {

constexpr uint16_t kTagDateTime = 0x0132;
constexpr uint16_t kTagExifPointer = 0x8769;
constexpr uint16_t kTagDateTimeOriginal = 0x9003;
constexpr uint16_t kTagDateTimeDigitized = 0x9004;
constexpr int64_t kLongestDate = 259;

// The first entry of a tag in the directory at offset.
std::optional<TiffEntry> FindEntry(const TiffBytes& tiff, uint32_t directory, uint16_t tag) {
    std::optional<TiffEntry> found;
    WalkTiffDirectory(tiff, directory, [&](const TiffEntry& entry) {
        if (entry.tag == tag) found = entry;
        return !found;
    });
    return found;
}

// The entry's value bytes as text up to the first NUL. A type the picture library does
// not know counts one byte an item; data that do not lie whole in the block give nothing.
std::string EntryText(const TiffBytes& tiff, const TiffEntry& entry) {
    const int itemSize = TiffTypeSize(entry.type);
    const int64_t size = int64_t{entry.count} * (itemSize != 0 ? itemSize : 1);
    const int64_t start = size > 4 ? int64_t{tiff.get32(entry.valueField.data())}
                                   : entry.valueFieldPosition();
    if (!tiff.contains(start, size)) return {};
    char chars[kLongestDate];
    const size_t limit = size_t(std::min(size, kLongestDate));
    if (!tiff.read(start, std::span(reinterpret_cast<uint8_t*>(chars), limit))) return {};
    return std::string(chars, strnlen(chars, limit));
}

}  // namespace

std::string ReadShotDate(std::span<const uint8_t> exif) {
    if (exif.size() >= 6 && std::memcmp(exif.data(), "Exif\0\0", 6) == 0) exif = exif.subspan(6);
    const MemoryByteSource source(exif);
    TiffBytes tiff(source);
    if (tiff.size() < 8 || !tiff.readByteOrderMark() || tiff.read16(2) != 42) return {};
    const uint32_t ifd0 = tiff.read32(4).value_or(0);

    std::optional<uint32_t> exifIfd;
    if (const auto pointer = FindEntry(tiff, ifd0, kTagExifPointer))
        exifIfd = tiff.get32(pointer->valueField.data());
    auto textOf = [&](std::optional<uint32_t> ifd, uint16_t tag) -> std::string {
        if (!ifd) return {};
        const auto entry = FindEntry(tiff, *ifd, tag);
        return entry ? EntryText(tiff, *entry) : std::string();
    };
    // The order in which the picture's property items are looked up.
    const std::pair<std::optional<uint32_t>, uint16_t> lookups[] = {
        {exifIfd, kTagDateTimeOriginal},
        {ifd0, kTagDateTime},
        {exifIfd, kTagDateTimeDigitized},
    };
    for (const auto& [ifd, tag] : lookups) {
        std::string text = textOf(ifd, tag);
        if (!text.empty()) return text;
    }
    return {};
}

}  // namespace corvelle
