#pragma once

#include <cstdint>
#include <functional>
#include <optional>

#include "core/exif/exif_block.h"
#include "core/exif/exif_entry.h"

namespace corvelle {

// The directories of a metadata block, in the order they are walked.
enum class ExifDirectory { Ifd0, Exif, Ifd1, Interoperability, Gps };

// What the walk found of the block's structure: the directories it follows and the
// embedded thumbnail. A pointer entry counts in whichever directory it stands; the last one
// met wins. 0 = not found.
struct ExifLinks {
    int64_t exifDirectory = 0;      // data position of tag 0x8769
    uint32_t interoperability = 0;  // offset of tag 0xA005
    int64_t thumbnailPosition = 0;  // data position of tag 0x0201
    uint32_t thumbnailLength = 0;   // value of tag 0x0202
    uint32_t gps = 0;               // offset of tag 0x8825
    bool ifd1 = false;              // IFD0 links to an IFD1, which was walked
};

// Called once for every entry the walk meets, in walk order. The reader is handed on so that
// a maker note can be walked in its own byte order (restored before the call returns).
using ExifEntryVisitor =
    std::function<void(ExifBlockReader& reader, ExifDirectory directory, const ExifEntry& entry)>;

// Walks IFD0 whole, then the EXIF directory it points to, then IFD1 (when IFD0 links to one;
// IFD1's own link is not followed) and the interoperability directory, and last the GPS
// directory, handing every entry to the visitor. Every read is bounded by the block. None when the
// block is not TIFF-structured (no 42, nor a raw file's own mark, at offset 2).
std::optional<ExifLinks> WalkExifDirectories(ExifBlockReader& reader,
                                             const ExifEntryVisitor& visit);

}  // namespace corvelle
