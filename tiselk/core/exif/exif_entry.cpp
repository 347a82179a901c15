#include "core/exif/exif_entry.h"

#include <algorithm>

namespace corvelle {

std::optional<ExifEntry> DecodeExifEntry(const ExifBlockReader& reader, int64_t position,
                                         int64_t base) {
    const std::optional<TiffEntry> stored = ReadTiffEntry(reader.bytes(), position);
    if (!stored) return std::nullopt;
    return DecodeExifEntry(reader, *stored, base);
}

ExifEntry DecodeExifEntry(const ExifBlockReader& reader, const TiffEntry& stored, int64_t base) {
    ExifEntry entry;
    entry.position = stored.position;
    entry.base = base;
    entry.tag = stored.tag;
    entry.type = stored.type;
    entry.count = stored.count;
    const uint8_t* field = stored.valueField.data();
    if (entry.type == kExifShort) {
        entry.value = reader.bytes().get16(field);
    } else if (entry.type == kExifUndefined && entry.count <= 4) {
        entry.value = uint32_t(field[0]) | uint32_t(field[1]) << 8 | uint32_t(field[2]) << 16 |
                      uint32_t(field[3]) << 24;
    } else {
        entry.value = reader.bytes().get32(field);
    }
    return entry;
}

std::optional<std::string> EntryText(const ExifBlockReader& reader, const ExifEntry& entry) {
    if (entry.type == kExifAscii && entry.count <= 4) return EntryInlineText(reader, entry);
    return reader.textAt(entry.dataPosition(), std::min<int64_t>(entry.count, kTextLimit));
}

std::optional<std::string> EntryInlineText(const ExifBlockReader& reader, const ExifEntry& entry) {
    return reader.textAt(entry.inlinePosition(), std::min<int64_t>(entry.count, 4));
}

std::optional<Rational> EntryRational(const ExifBlockReader& reader, const ExifEntry& entry) {
    const int64_t position = entry.dataPosition();
    auto numerator = reader.read32(position);
    auto denominator = reader.read32(position + 4);
    if (!numerator || !denominator) return std::nullopt;
    return Rational{*numerator, *denominator};
}

namespace {

// Where the entry's data start, by the TIFF rule: in its value field when they fit in four
// bytes, else at the base plus the value field's 32-bit offset. None when that offset
// cannot be read.
std::optional<int64_t> DataStart(const ExifBlockReader& reader, const ExifEntry& entry) {
    if (int64_t{entry.count} * ExifTypeSize(entry.type) <= 4) return entry.inlinePosition();
    const auto offset = reader.read32(entry.inlinePosition());
    if (!offset) return std::nullopt;
    return entry.base + *offset;
}

// The k-th number of `width` bytes: 0 when it lies past the entry's data, none when it
// lies outside the block.
std::optional<uint32_t> StoredNumber(const ExifBlockReader& reader, const ExifEntry& entry, int k,
                                     int width) {
    const int64_t dataLength = int64_t{entry.count} * ExifTypeSize(entry.type);
    const int64_t offsetInData = int64_t{k} * width;
    if (offsetInData + width > dataLength) return 0u;
    const auto start = DataStart(reader, entry);
    if (!start) return std::nullopt;
    const int64_t position = *start + offsetInData;
    return width == 2 ? reader.read16(position) : reader.read32(position);
}

}  // namespace

std::optional<uint32_t> EntryShort(const ExifBlockReader& reader, const ExifEntry& entry, int k) {
    return StoredNumber(reader, entry, k, 2);
}

std::optional<uint32_t> EntryLong(const ExifBlockReader& reader, const ExifEntry& entry, int k) {
    return StoredNumber(reader, entry, k, 4);
}

std::optional<int64_t> EntryItem(const ExifBlockReader& reader, const ExifEntry& entry, int k) {
    const int typeSize = ExifTypeSize(entry.type);
    if (typeSize == 0 || k < 0) return 0;
    // Rationals and doubles are read as pairs of 32-bit items.
    const int itemSize = std::min(typeSize, 4);
    const int64_t items = int64_t{entry.count} * (typeSize / itemSize);
    if (k >= items) return 0;
    const auto start = DataStart(reader, entry);
    if (!start) return std::nullopt;
    const int64_t position = *start + int64_t{k} * itemSize;
    switch (itemSize) {
        case 1: {
            auto byte = reader.byteAt(position);
            if (!byte) return std::nullopt;
            return entry.type == kExifSByte ? int64_t{static_cast<int8_t>(*byte)} : int64_t{*byte};
        }
        case 2: {
            auto number = reader.read16(position);
            if (!number) return std::nullopt;
            return entry.type == kExifSShort ? int64_t{static_cast<int16_t>(*number)}
                                             : int64_t{*number};
        }
        default: {
            auto number = reader.read32(position);
            if (!number) return std::nullopt;
            const bool isSigned = entry.type == kExifSLong || entry.type == kExifSRational;
            return isSigned ? int64_t{static_cast<int32_t>(*number)} : int64_t{*number};
        }
    }
}

std::array<uint8_t, 4> ValueBytes(uint32_t value) {
    return {static_cast<uint8_t>(value), static_cast<uint8_t>(value >> 8),
            static_cast<uint8_t>(value >> 16), static_cast<uint8_t>(value >> 24)};
}

}  // namespace corvelle
