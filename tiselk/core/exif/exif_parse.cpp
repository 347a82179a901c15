#include "core/exif/exif_entry_handler.h"
#include "core/exif/exif_reader.h"
#include "core/exif/exif_walk.h"

namespace corvelle {

namespace {

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

bool ParseWith(ExifBlockReader& reader, ExifSummary& summary, ThumbnailBytes thumbnail) {
    ExifHandlerState state{summary};
    const auto links = WalkExifDirectories(
        reader, [&](ExifBlockReader& at, ExifDirectory directory, const ExifEntry& entry) {
            HandleExifEntry(state, at, directory, entry);
        });
    if (!links) return false;
    // A block whose structure names no thumbnail keeps the one an earlier block of the same
    // file found.
    summary.exifDirectoryPosition = links->exifDirectory;
    summary.interoperabilityOffset = links->interoperability;
    if (links->thumbnailPosition != 0) summary.thumbnailPosition = links->thumbnailPosition;
    if (links->thumbnailLength != 0) summary.thumbnailLength = links->thumbnailLength;
    if (links->ifd1 && thumbnail == ThumbnailBytes::Copy) CopyThumbnail(reader, summary);
    if (auto position = state.gps.position()) summary.gps = position;
    return true;
}

}  // namespace

bool Parse(const MetadataBlock& block, ExifSummary& summary, ThumbnailBytes thumbnail) {
    ExifBlockReader reader(block);
    return ParseWith(reader, summary, thumbnail);
}

bool Parse(const ByteSource& source, const MetadataPlace& place, ExifSummary& summary,
           ThumbnailBytes thumbnail) {
    ExifBlockReader reader(source, place);
    return ParseWith(reader, summary, thumbnail);
}

}  // namespace corvelle
