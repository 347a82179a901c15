#include "core/shot_date.h"

#include <algorithm>
#include <cstring>
#include <optional>
#include <utility>

namespace corvelle {

namespace {

constexpr uint16_t kTagDateTime = 0x0132;
constexpr uint16_t kTagExifPointer = 0x8769;
constexpr uint16_t kTagDateTimeOriginal = 0x9003;
constexpr uint16_t kTagDateTimeDigitized = 0x9004;
constexpr size_t kEntrySize = 12;
constexpr size_t kLongestDate = 259;

// Bytes per value of the TIFF field types 1..12; unknown types count as one byte.
size_t typeSize(uint16_t type) {
    static constexpr uint8_t kSizes[] = {1, 1, 1, 2, 4, 8, 1, 1, 2, 4, 8, 4, 8};
    return type < sizeof kSizes ? kSizes[type] : 1;
}

class TiffView {
  public:
    explicit TiffView(std::span<const uint8_t> bytes) : m_bytes(bytes) {}

    bool readHeader(uint32_t& firstIfd) {
        if (m_bytes.size() < 8) return false;
        if (m_bytes[0] == 'I' && m_bytes[1] == 'I')
            m_little = true;
        else if (m_bytes[0] == 'M' && m_bytes[1] == 'M')
            m_little = false;
        else
            return false;
        if (u16(2) != 42) return false;
        firstIfd = u32(4).value_or(0);
        return true;
    }

    // The entry of a tag in the directory at offset, as the offset of its 12 bytes.
    std::optional<size_t> findEntry(uint32_t ifd, uint16_t tag) const {
        const auto count = u16(ifd);
        if (!count) return std::nullopt;
        for (size_t i = 0; i < *count; ++i) {
            const size_t entry = size_t(ifd) + 2 + i * kEntrySize;
            if (entry + kEntrySize > m_bytes.size()) return std::nullopt;
            if (u16(entry) == tag) return entry;
        }
        return std::nullopt;
    }

    std::optional<uint32_t> longValue(size_t entry) const { return u32(entry + 8); }

    // The entry's value bytes as text up to the first NUL.
    std::string text(size_t entry) const {
        const auto type = u16(entry);
        const auto count = u32(entry + 4);
        if (!type || !count) return {};
        const size_t size = size_t(*count) * typeSize(*type);
        size_t start = entry + 8;
        if (size > 4) {
            const auto offset = u32(entry + 8);
            if (!offset) return {};
            start = *offset;
        }
        if (start > m_bytes.size() || size > m_bytes.size() - start) return {};
        const char* chars = reinterpret_cast<const char*>(m_bytes.data() + start);
        const size_t limit = std::min(size, kLongestDate);
        return std::string(chars, strnlen(chars, limit));
    }

  private:
    std::optional<uint16_t> u16(size_t at) const {
        if (at > m_bytes.size() || m_bytes.size() - at < 2) return std::nullopt;
        const uint8_t* p = m_bytes.data() + at;
        return uint16_t(m_little ? p[0] | p[1] << 8 : p[0] << 8 | p[1]);
    }
    std::optional<uint32_t> u32(size_t at) const {
        if (at > m_bytes.size() || m_bytes.size() - at < 4) return std::nullopt;
        const uint8_t* p = m_bytes.data() + at;
        return m_little ? uint32_t(p[0]) | uint32_t(p[1]) << 8 | uint32_t(p[2]) << 16 |
                              uint32_t(p[3]) << 24
                        : uint32_t(p[0]) << 24 | uint32_t(p[1]) << 16 | uint32_t(p[2]) << 8 |
                              uint32_t(p[3]);
    }

    std::span<const uint8_t> m_bytes;
    bool m_little = true;
};

}  // namespace

std::string ReadShotDate(std::span<const uint8_t> exif) {
    if (exif.size() >= 6 && std::memcmp(exif.data(), "Exif\0\0", 6) == 0) exif = exif.subspan(6);
    TiffView tiff(exif);
    uint32_t ifd0 = 0;
    if (!tiff.readHeader(ifd0)) return {};

    std::optional<uint32_t> exifIfd;
    if (const auto pointer = tiff.findEntry(ifd0, kTagExifPointer))
        exifIfd = tiff.longValue(*pointer);
    auto textOf = [&](std::optional<uint32_t> ifd, uint16_t tag) -> std::string {
        if (!ifd) return {};
        const auto entry = tiff.findEntry(*ifd, tag);
        return entry ? tiff.text(*entry) : std::string();
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
