#pragma once

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "core/byte_source.h"
#include "core/exif/exif_block.h"
#include "core/exif/exif_entry.h"
#include "core/exif/exif_summary.h"

namespace corvelle {

struct LoadedMetadata {
    std::optional<MetadataBlock> block;  // none: no TIFF-structured metadata found
    bool opened = false;
    int64_t fileSize = 0;  // 0 when the file could not be opened
};

// All a picture's metadata places: the blocks walked one after the other (a CR3's main and
// EXIF directories; at most one for any other file), and a JPEG thumbnail the container
// keeps outside them (a CR3's, a HEIF's JPEG-coded thumbnail item).
// PNG, WebP and ISO media files are told by their first bytes and searched in their chunks
// or boxes, whatever their name. Any other file is read as JPEG when its own name (not its
// folders') contains ".jpg" or ".jpeg" in any case, or when it begins FF D8 under a name of
// one of those containers: the block is its first APP1 segment's, which must be EXIF data.
// The rest are TIFF-structured: the whole file when it begins "MM" or "II", else its first
// 61,440 bytes. Nothing is copied, but for EXIF data a container keeps in pieces or as text.
struct MetadataPlaces {
    std::vector<MetadataPlace> blocks;
    // EXIF data put together from pieces or unpacked from text, walked after the blocks.
    std::optional<MetadataBlock> gathered;
    std::optional<MetadataPlace> thumbnailJpeg;
    // A HEIF thumbnail item in another coding (HEVC, AV1), for the imaging library to decode.
    bool codedThumbnailItem = false;
};
MetadataPlaces FindMetadataPlaces(ByteSource& source, const std::string& name);

// Opens a picture file for its metadata: one read of its head, more only for data beyond
// it. None when it cannot be opened (an open refused for a moment is retried for a second).
std::unique_ptr<ByteSource> OpenPictureForMetadata(const std::string& path);

// The metadata block copied out of a picture file (tests and tools that keep it).
LoadedMetadata LoadMetadataBlock(const std::string& path);
LoadedMetadata LoadMetadataBlock(ByteSource& source, const std::string& name);

// Whether the embedded thumbnail's bytes are copied out, or only its place is noted (the
// command line names the place and never shows the picture).
enum class ThumbnailBytes { Copy, Leave };

// Walks IFD0, the EXIF directory, IFD1 and the interoperability directory of a block with
// Tiselk's entry handler, filling the summary and copying the thumbnail out when asked. False
// when the block is not TIFF-structured (no 42, nor a raw file's own mark, at offset 2).
bool Parse(const MetadataBlock& block, ExifSummary& summary,
           ThumbnailBytes thumbnail = ThumbnailBytes::Copy);
// The same over the block in place in a file's bytes.
bool Parse(const ByteSource& source, const MetadataPlace& place, ExifSummary& summary,
           ThumbnailBytes thumbnail = ThumbnailBytes::Copy);

}  // namespace corvelle
