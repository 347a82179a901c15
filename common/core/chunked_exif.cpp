#include "core/chunked_exif.h"

#include <algorithm>
#include <cstring>

#include "core/iso_media_boxes.h"

namespace corvelle {

namespace {

// A real file has a few dozen chunks; a file of millions of empty ones is only a way to
// keep the reader busy.
constexpr int kMaxChunks = 1 << 16;

uint32_t BigEndian32(const uint8_t* b) {
    return uint32_t(b[0]) << 24 | uint32_t(b[1]) << 16 | uint32_t(b[2]) << 8 | b[3];
}

uint32_t LittleEndian32(const uint8_t* b) {
    return uint32_t(b[3]) << 24 | uint32_t(b[2]) << 16 | uint32_t(b[1]) << 8 | b[0];
}

}  // namespace

ByteRange SkipExifIdentifier(const ByteSource& file, ByteRange range) {
    static constexpr uint8_t kIdentifier[6] = {'E', 'x', 'i', 'f', 0, 0};
    uint8_t head[6];
    if (range.length >= sizeof head &&
        file.readAt(range.offset, head, sizeof head) == sizeof head &&
        std::memcmp(head, kIdentifier, sizeof head) == 0)
        return {range.offset + sizeof head, range.length - sizeof head};
    return range;
}

void WalkPngChunks(const ByteSource& file, const std::function<bool(const PngChunk&)>& visit) {
    // Each chunk: 32-bit big-endian data length, type, data, 32-bit CRC.
    uint64_t position = sizeof kPngSignature;
    for (int chunk = 0; chunk < kMaxChunks; ++chunk) {
        uint8_t header[8];
        if (file.readAt(position, header, sizeof header) != sizeof header) return;
        const uint32_t length = BigEndian32(header);
        if (length > 0x7FFFFFFFu) return;  // PNG's own limit
        const uint64_t data = position + sizeof header;
        if (data + length > file.size()) return;
        const uint32_t type = BigEndian32(header + 4);
        if (type == FourCC("IEND")) return;
        if (!visit({type, {data, length}})) return;
        position = data + length + 4;
    }
}

std::optional<ByteRange> FindPngExif(const ByteSource& file) {
    std::optional<ByteRange> found;
    WalkPngChunks(file, [&](const PngChunk& chunk) {
        if (chunk.type != FourCC("eXIf")) return true;
        found = SkipExifIdentifier(file, chunk.data);
        return false;
    });
    return found;
}

std::optional<ByteRange> FindWebpExif(const ByteSource& file) {
    uint8_t header[12];
    if (file.readAt(0, header, sizeof header) != sizeof header) return std::nullopt;
    // The RIFF size counts from byte 8; a file cut short ends the search at its own end.
    const uint64_t riffEnd =
        std::min<uint64_t>(uint64_t(LittleEndian32(header + 4)) + 8, file.size());
    uint64_t position = sizeof header;
    for (int chunk = 0; chunk < kMaxChunks; ++chunk) {
        uint8_t chunkHeader[8];
        if (position + sizeof chunkHeader > riffEnd ||
            file.readAt(position, chunkHeader, sizeof chunkHeader) != sizeof chunkHeader)
            return std::nullopt;
        const uint64_t length = LittleEndian32(chunkHeader + 4);
        const uint64_t data = position + sizeof chunkHeader;
        if (length > riffEnd - data) return std::nullopt;
        if (std::memcmp(chunkHeader, "EXIF", 4) == 0)
            return SkipExifIdentifier(file, {data, length});
        position = data + length + (length & 1);  // chunks are padded to an even length
    }
    return std::nullopt;
}

}  // namespace corvelle
