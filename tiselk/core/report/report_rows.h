#pragma once

#include <algorithm>
#include <array>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>
#include <string>

#include "core/exif/exif_block.h"
#include "core/exif/exif_entry.h"

namespace corvelle {

struct ValueName {
    uint32_t value;
    const char* name;
};

// A value table: the names of known values and the word for every other value.
struct ValueNames {
    std::span<const ValueName> names;
    const char* other;

    const char* lookup(uint32_t value) const;
};

// What a report row fills its format with.
enum class RowArguments {
    None,              // the format alone
    Value,             // the entry's value
    Text,              // the entry's text
    InlineText,        // the text in the entry's own value field
    Named,             // the value's name from the row's table
    NamedSecondByte,   // the name of bits 8 to 15 of the value
    UnsignedRatio,     // numerator / denominator, unsigned integer division
    Shorts,            // short(0) to short(amount - 1)
    Longs,             // long(0) to long(amount - 1)
    ValueFieldShorts,  // the two 16-bit numbers of the value field
    Bytes,             // the four bytes of the value, least significant first
    NumDen,            // numerator and denominator as they are
    Decimal,           // FormatDecimal(numerator, denominator, amount)
    ApexAperture,      // ApertureFromApex(numerator, denominator)
    ExifR98Version,    // bytes when UNDEFINED, else the text
    FocusDistance,     // metres, or "Infinite" / "Auto Focus" without a denominator
    DigitalZoom,       // "x" and the factor, or "No"
    LongList,          // every 32-bit number of the entry in "%08x " form
    TagText,           // the tag and the text
    TagValue,          // the tag and the value
    TagDecimal,        // the tag and FormatDecimal(numerator, denominator, 1)
    Flag,              // the format alone when the value is not 0, else no line
    OlympusSpecialMode,
};

struct ReportRow {
    uint16_t tag;
    RowArguments arguments;
    const char* format;
    int amount = 0;
    const ValueNames* names = nullptr;
};

// The row's line for the entry, or none: flags that are off, and rows whose numbers lie
// outside the block or would divide by zero.
std::optional<std::string> FormatReportRow(const ReportRow& row, const ExifBlockReader& reader,
                                           const ExifEntry& entry);

// The line for a tag no row names, by the entry's type: "Unknown Tag(0x%04x)", or the tag's
// name when it is one of today's tags, then the value part (FormatNamedValue).
std::optional<std::string> FormatUnknownTag(const ExifBlockReader& reader, const ExifEntry& entry);
// `line` (a tag's name) followed by the value part of a tag no row names: " = 7",
// " = \"text\"", " = 1, 3", or " type(9) Count(1) Data(fffffffe)" for the types printed raw.
std::optional<std::string> FormatNamedValue(std::string line, const ExifBlockReader& reader,
                                            const ExifEntry& entry);

// The row of a tag in a table kept in tag order (see SortedByTag), or null.
const ReportRow* FindRow(std::span<const ReportRow> rows, uint16_t tag);

// A table's rows in tag order, made at compile time, so that the tables can stay grouped as
// the report reads while every entry of a file finds its row by a binary search.
template <size_t N>
constexpr std::array<ReportRow, N> SortedByTag(const ReportRow (&rows)[N]) {
    std::array<ReportRow, N> sorted{};
    for (size_t i = 0; i < N; ++i) sorted[i] = rows[i];
    std::sort(sorted.begin(), sorted.end(),
              [](const ReportRow& a, const ReportRow& b) { return a.tag < b.tag; });
    return sorted;
}

// Camera settings that the file's directories and Nikon's first note layout name alike.
inline constexpr ValueName kImageToneNames[] = {{2, "Mono"}};
inline constexpr ValueNames kImageTone{kImageToneNames, "Color"};

inline constexpr ValueName kAdjustmentNames[] = {
    {0, "Standard"}, {1, "Bright+"}, {2, "Bright-"}, {3, "Contrast+"}, {4, "Contrast-"}};
inline constexpr ValueNames kAdjustment{kAdjustmentNames, "unknown"};

inline constexpr ValueName kLensConverterNames[] = {{0, "No"}};
inline constexpr ValueNames kLensConverter{kLensConverterNames, "Installed"};

// The rows of the file's own directories (IFD0, EXIF, IFD1, interoperability).
std::span<const ReportRow> DirectoryReportRows();

}  // namespace corvelle
