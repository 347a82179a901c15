#pragma once

#include <cstdint>
#include <functional>
#include <optional>

#include "core/byte_range.h"
#include "core/byte_source.h"

namespace corvelle {

inline constexpr uint8_t kPngSignature[8] = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};

// One chunk of a PNG file: its type (FourCC order, "IDAT" big-endian) and its data.
struct PngChunk {
    uint32_t type = 0;
    ByteRange data;
};

// Calls visit for each chunk after the signature, in file order, until it returns false or
// IEND is met. The walk ends at the first chunk that does not lie whole inside the file.
void WalkPngChunks(const ByteSource& file, const std::function<bool(const PngChunk&)>& visit);

// The TIFF structure of a PNG's "eXIf" chunk, before or after the image data; none when the
// file has none or its chunks do not hold together before it.
std::optional<ByteRange> FindPngExif(const ByteSource& file);

// The TIFF structure of a WebP file's "EXIF" chunk, looked for inside the RIFF size.
std::optional<ByteRange> FindWebpExif(const ByteSource& file);

// Some writers put the JPEG segment's "Exif\0\0" before the TIFF header: the range without it.
ByteRange SkipExifIdentifier(const ByteSource& file, ByteRange range);

}  // namespace corvelle
