#include "core/exif_locator.h"

#include <algorithm>
#include <cstring>

namespace corvelle {

ExifStructureSource::ExifStructureSource(const ByteSource& file, const ExifStructure& structure)
    : m_memory(structure.gathered ? std::span<const uint8_t>(*structure.gathered)
                                  : std::span<const uint8_t>()),
      m_bytes(structure.gathered ? static_cast<const ByteSource&>(m_memory) : file),
      m_start(structure.gathered ? 0 : structure.place.offset),
      m_length(structure.gathered ? structure.gathered->size()
               : structure.place.offset >= file.size()
                   ? 0
                   : std::min(structure.place.length, file.size() - structure.place.offset)) {}

size_t ExifStructureSource::fetch(uint64_t offset, void* out, size_t count) const {
    return m_bytes.readAt(m_start + offset, out, count);
}

std::optional<ByteRange> FindJpegExif(const ByteSource& file) {
    uint8_t pair[2];
    if (file.readAt(0, pair) != 2 || pair[0] != 0xFF || pair[1] != 0xD8) return std::nullopt;
    // Segments are skipped by their lengths up to the first APP1, whatever markers come
    // before it.
    uint64_t position = 2;
    for (;;) {
        if (file.readAt(position, pair) != 2) return std::nullopt;
        position += 2;
        if (pair[0] == 0xFF && pair[1] == 0xE1) break;
        if (file.readAt(position, pair) != 2) return std::nullopt;
        // A length below its own two bytes would step backwards: the scan would never end.
        const uint16_t length = uint16_t(pair[0] << 8 | pair[1]);
        if (length < 2) return std::nullopt;
        position += length;
    }
    uint8_t header[8];  // the segment length and "Exif\0" with its padding byte
    if (file.readAt(position, header) != sizeof header) return std::nullopt;
    static constexpr uint8_t kExifId[5] = {'E', 'x', 'i', 'f', 0};
    if (std::memcmp(header + 2, kExifId, sizeof kExifId) != 0) return std::nullopt;
    const uint16_t length = uint16_t(header[0] << 8 | header[1]);
    if (length < sizeof header) return std::nullopt;
    const uint64_t start = position + sizeof header;
    const uint64_t available = file.size() > start ? file.size() - start : 0;
    return ByteRange{start, std::min<uint64_t>(length - sizeof header, available)};
}

ByteRange TiffStructuredExif(const ByteSource& file, uint64_t foreignHead) {
    uint8_t order[2] = {0, 0};
    file.readAt(0, order);
    const bool tiff = order[0] == order[1] && (order[0] == 'M' || order[0] == 'I');
    return {0, tiff ? file.size() : std::min(file.size(), foreignHead)};
}

std::vector<ExifStructure> LocateExif(const ByteSource& file, PictureContainer readAs,
                                      uint64_t foreignHead) {
    if (KeepsExifInChunks(readAs)) return FindContainerExif(file, readAs);
    if (readAs != PictureContainer::kJpeg) return {{TiffStructuredExif(file, foreignHead), {}}};
    if (const std::optional<ByteRange> segment = FindJpegExif(file)) return {{*segment, {}}};
    return {};
}

}  // namespace corvelle
