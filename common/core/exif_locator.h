#pragma once

#include <cstdint>
#include <optional>
#include <vector>

#include "core/byte_range.h"
#include "core/byte_source.h"
#include "core/exif_structure.h"
#include "core/picture_container.h"

namespace corvelle {

// The TIFF data of a JPEG's first APP1 segment: the bytes after its "Exif\0" identifier,
// as many as the segment length counts past its own length and identifier (fewer when the
// file ends first). None when the file does not begin FF D8, the segments end before an
// APP1, or the first APP1 is not EXIF data (a later one is not looked for).
std::optional<ByteRange> FindJpegExif(const ByteSource& file);

// A file read as TIFF-structured (TIFF and raw files): the whole file when it begins "MM"
// or "II", otherwise its first `foreignHead` bytes.
ByteRange TiffStructuredExif(const ByteSource& file, uint64_t foreignHead);

// Every EXIF structure of a file read as `readAs`, in the order a walk reads them: the
// JPEG segment's, a PNG, WebP or ISO media file's chunks or boxes, or the TIFF-structured
// stretch for anything else. Empty when the file holds none.
std::vector<ExifStructure> LocateExif(const ByteSource& file, PictureContainer readAs,
                                      uint64_t foreignHead);

}  // namespace corvelle
