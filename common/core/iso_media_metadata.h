#pragma once

#include <cstdint>
#include <optional>
#include <vector>

#include "core/byte_range.h"
#include "core/byte_source.h"
#include "core/exif_structure.h"

namespace corvelle {

// Where an ISO media picture keeps what the EXIF readers and the viewer need.
struct IsoMediaMetadata {
    // TIFF structures: a HEIF's "Exif" item (without its header offset), or a CR3's
    // CMT1 (main directory) and CMT2 (EXIF directory) boxes.
    std::vector<ExifStructure> exif;
    // A HEIF's thumbnail item, whatever its coding ("hvc1", "av01", "jpeg").
    std::optional<ByteRange> thumbnailItem;
    uint32_t thumbnailItemType = 0;
    // JPEG pictures a CR3 carries: the small thumbnail (THMB) and the preview (PRVW).
    std::optional<ByteRange> thumbnailJpeg;
    std::optional<ByteRange> previewJpeg;
};

IsoMediaMetadata ReadIsoMediaMetadata(const ByteSource& file);

}  // namespace corvelle
