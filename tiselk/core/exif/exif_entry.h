#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <string>

#include "core/exif/exif_block.h"

namespace corvelle {

enum ExifType : uint16_t {
    kExifByte = 1,
    kExifAscii = 2,
    kExifShort = 3,
    kExifLong = 4,
    kExifRational = 5,
    kExifSByte = 6,
    kExifUndefined = 7,
    kExifSShort = 8,
    kExifSLong = 9,
    kExifSRational = 10,
    kExifFloat = 11,
    kExifDouble = 12,
};

// Bytes one item of a TIFF type takes; 0 for types TIFF does not define.
inline int ExifTypeSize(uint16_t type) { return TiffTypeSize(type); }

// One 12-byte directory entry as the walk hands it on. `base` is what data positions
// count from: the TIFF header (0) in the file's directories, the note base in maker notes.
struct ExifEntry {
    int64_t position = 0;  // of the entry's first byte
    uint16_t tag = 0;
    uint16_t type = 0;
    uint32_t count = 0;
    uint32_t value = 0;  // decoded by the type rule, see DecodeExifEntry
    int64_t base = 0;

    int64_t inlinePosition() const { return position + 8; }
    int64_t dataPosition() const { return base + value; }
};

// Reads the entry at `position` in the reader's byte order: SHORT gives the 16-bit number
// of the value field, UNDEFINED with up to four items the value field's bytes exactly as
// they lie (the first byte least significant), anything else the 32-bit number. None when
// the twelve bytes do not all lie inside the block.
std::optional<ExifEntry> DecodeExifEntry(const ExifBlockReader& reader, int64_t position,
                                         int64_t base);
// The same rule over an entry the directory walk has read.
ExifEntry DecodeExifEntry(const ExifBlockReader& reader, const TiffEntry& stored, int64_t base);

// Texts from the file are cut here: no camera writes one this long, and a hostile file could
// otherwise point thousands of entries at one huge text.
inline constexpr int64_t kTextLimit = 65536;

// The entry's text: inline for ASCII with up to four bytes, else at the data position. It
// ends at the first zero byte, after `count` bytes or at the block's end, whichever comes
// first; none when it starts outside the block.
std::optional<std::string> EntryText(const ExifBlockReader& reader, const ExifEntry& entry);
// The text in the entry's own value field (at most four bytes, and at most `count`).
std::optional<std::string> EntryInlineText(const ExifBlockReader& reader, const ExifEntry& entry);

struct Rational {
    uint32_t numerator = 0;
    uint32_t denominator = 0;
    int32_t signedNumerator() const { return static_cast<int32_t>(numerator); }
    int32_t signedDenominator() const { return static_cast<int32_t>(denominator); }
};
// Two 32-bit numbers at the data position, numerator first.
std::optional<Rational> EntryRational(const ExifBlockReader& reader, const ExifEntry& entry);

// The k-th 16-bit / 32-bit number of the entry's data, found where TIFF keeps it: in the
// value field when the data fit in four bytes, else at base + the 32-bit offset in the
// value field. Numbers past the entry's data read 0; none when the number lies outside.
std::optional<uint32_t> EntryShort(const ExifBlockReader& reader, const ExifEntry& entry, int k);
std::optional<uint32_t> EntryLong(const ExifBlockReader& reader, const ExifEntry& entry, int k);

// The k-th item of the entry read in the entry's own type, where TIFF keeps the data (as
// above): 8-bit items for BYTE, SBYTE, UNDEFINED and ASCII, 16-bit for SHORT and SSHORT,
// 32-bit for LONG, SLONG and FLOAT, two 32-bit items (numerator, denominator) per RATIONAL
// and SRATIONAL and per DOUBLE. Signed types are widened with their sign. Items at or past
// the entry's item count read 0; none when the item lies outside the block.
std::optional<int64_t> EntryItem(const ExifBlockReader& reader, const ExifEntry& entry, int k);

// The four bytes of the value, least significant first.
std::array<uint8_t, 4> ValueBytes(uint32_t value);

}  // namespace corvelle
