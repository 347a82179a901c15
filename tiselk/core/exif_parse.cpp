#include <optional>

#include "core/exif_reader.h"
#include "core/picture_container.h"

namespace corvelle {

namespace {

// Hands every entry of the directory at `position` to the handler and returns where its
// link to the next directory lies. A directory whose count cannot be read is empty; one
// that runs past the block's end ends there.
std::optional<int64_t> WalkDirectory(ExifWalk& walk, int64_t position, ExifSummary& summary) {
    return WalkTiffDirectory(walk.reader.bytes(), position, [&](const TiffEntry& stored) {
        HandleExifEntry(walk, DecodeExifEntry(walk.reader, stored, 0), summary);
        return true;
    });
}

// An EXIF thumbnail is a few kilobytes, a raw file's preview a few megabytes: a length
// past this is a lie, and is not allocated.
constexpr uint32_t kLargestThumbnail = 64u << 20;

void CopyThumbnail(const ExifBlockReader& reader, ExifSummary& summary) {
    if (summary.thumbnailPosition == 0 || summary.thumbnailLength == 0) return;
    if (summary.thumbnailLength > kLargestThumbnail) return;
    if (!reader.contains(summary.thumbnailPosition, summary.thumbnailLength)) return;
    summary.thumbnailJpeg.resize(summary.thumbnailLength);
    if (!reader.bytes().read(summary.thumbnailPosition, summary.thumbnailJpeg))
        summary.thumbnailJpeg.clear();
}

bool Walk(ExifWalk& walk, ExifSummary& summary) {
    uint8_t order[2] = {0, 0};
    walk.reader.bytes().read(0, order);
    walk.reader.setBigEndian(order[0] == 'M' && order[1] == 'M');
    walk.makerId = 0;
    const auto magic = walk.reader.read16(2);
    if (!magic || !IsTiffMagic(uint16_t(*magic))) return false;

    auto first = walk.reader.read32(4);
    if (!first) return true;
    auto ifd0End = WalkDirectory(walk, *first, summary);
    if (!ifd0End) return true;

    // IFD0 is walked whole first, so every IFD0 line comes before every EXIF line.
    if (summary.exifDirectoryPosition != 0) {
        WalkDirectory(walk, summary.exifDirectoryPosition, summary);
    }

    auto next = walk.reader.read32(*ifd0End);
    if (!next || *next == 0) return true;
    // IFD1's own link is not followed.
    WalkDirectory(walk, *next, summary);
    CopyThumbnail(walk.reader, summary);

    if (summary.interoperabilityOffset != 0) {
        WalkDirectory(walk, summary.interoperabilityOffset, summary);
    }
    return true;
}

}  // namespace

bool Parse(const MetadataBlock& block, ExifSummary& summary) {
    ExifWalk walk(block);
    return Walk(walk, summary);
}

bool Parse(const ByteSource& source, const MetadataPlace& place, ExifSummary& summary) {
    ExifWalk walk(source, place);
    return Walk(walk, summary);
}

}  // namespace corvelle
