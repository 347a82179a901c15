#pragma once

#include <cstdint>
#include <optional>
#include <string_view>
#include <vector>

#include "core/byte_range.h"
#include "core/byte_source.h"
#include "core/exif_structure.h"

namespace corvelle {

// Many editors keep a PNG's EXIF data as text: a tEXt, zTXt or iTXt chunk with the keyword
// "Raw profile type exif" whose text is a line naming the profile, a line with its length
// in bytes, and the bytes as hex digits over many lines. The text of a zTXt chunk, and of
// an iTXt chunk marked compressed, is deflated with zlib.

// Unpacked text never grows past this, whatever the compressed data claim.
inline constexpr size_t kMaxRawProfileText = size_t(4) << 20;
// Nor does a profile: each byte takes two hex digits of the text.
inline constexpr size_t kMaxRawProfileBytes = kMaxRawProfileText / 2;

// The bytes a raw profile's text holds; none when the text does not have that form, holds
// fewer digits than its length says, or says more than kMaxRawProfileBytes.
std::optional<std::vector<uint8_t>> DecodeRawProfileText(std::string_view text);

// The TIFF structure held by a text chunk (its type and data), or none when it is no raw
// EXIF profile. A leading "Exif\0\0" is left out.
std::optional<std::vector<uint8_t>> ReadRawProfileExif(const ByteSource& file, uint32_t chunkType,
                                                       ByteRange data);

// Whether a chunk of this type may hold a raw profile.
bool IsPngTextChunk(uint32_t chunkType);

// A PNG's EXIF data: its "eXIf" chunk wherever it lies, else the first raw EXIF profile
// among its text chunks that holds one.
std::optional<ExifStructure> FindPngExifStructure(const ByteSource& file);

}  // namespace corvelle
