#include "core/picture_container.h"

#include <algorithm>
#include <cstring>

#include "core/chunked_exif.h"
#include "core/iso_media_metadata.h"
#include "core/png_text_exif.h"

namespace corvelle {

PictureContainer SniffPictureContainer(const ByteSource& file) {
    uint8_t head[12] = {};
    const size_t got = file.readAt(0, head, sizeof head);
    if (got >= 8 && std::memcmp(head, kPngSignature, sizeof kPngSignature) == 0)
        return PictureContainer::kPng;
    if (got >= 12 && std::memcmp(head, "RIFF", 4) == 0 && std::memcmp(head + 8, "WEBP", 4) == 0)
        return PictureContainer::kWebp;
    if (got >= 8 && std::memcmp(head + 4, "ftyp", 4) == 0) return PictureContainer::kIsoMedia;
    if (got >= 2 && head[0] == 0xFF && head[1] == 0xD8) return PictureContainer::kJpeg;
    if (got >= 2 && head[0] == head[1] && (head[0] == 'I' || head[0] == 'M'))
        return PictureContainer::kTiff;
    return PictureContainer::kOther;
}

bool KeepsExifInChunks(PictureContainer container) {
    return container == PictureContainer::kPng || container == PictureContainer::kWebp ||
           container == PictureContainer::kIsoMedia;
}

std::vector<ExifStructure> FindContainerExif(const ByteSource& file, PictureContainer container) {
    switch (container) {
        case PictureContainer::kPng:
            if (std::optional<ExifStructure> found = FindPngExifStructure(file)) return {*found};
            return {};
        case PictureContainer::kWebp:
            if (const std::optional<ByteRange> chunk = FindWebpExif(file)) return {{*chunk, {}}};
            return {};
        case PictureContainer::kIsoMedia:
            return ReadIsoMediaMetadata(file).exif;
        default:
            return {};
    }
}

bool IsTiffMagic(uint16_t magic) {
    static constexpr uint16_t kMagics[] = {
        42,
        0x4F52,  // "RO" read little-endian from "IIRO", big-endian from "MMOR"
        0x5352,  // "RS" of "IIRS"
        0x0055,  // "U\0" of "IIU\0"
    };
    return std::find(std::begin(kMagics), std::end(kMagics), magic) != std::end(kMagics);
}

}  // namespace corvelle
