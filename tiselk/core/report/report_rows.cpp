#include "core/report/report_rows.h"

#include <algorithm>

#include "core/exif/exif_numbers.h"
#include "core/report/report_format.h"
#include "core/report/report_tag_names.h"
#include "core/text.h"

namespace corvelle {

namespace {

// A line of LongList never grows past this many numbers, however large the count.
constexpr int64_t kLongListLimit = 4096;

using Line = std::optional<std::string>;

Line WithText(const ReportRow& row, std::optional<std::string> text) {
    if (!text) return std::nullopt;
    return FormatReportLine(row.format, {FileTextToUtf8(*text)});
}

// A decimal text is empty when its denominator was 0: no line then.
Line WithDecimal(std::string_view format, const std::string& decimal) {
    if (decimal.empty()) return std::nullopt;
    return FormatReportLine(format, {decimal});
}

Line BytesLine(std::string_view format, uint32_t value) {
    const auto b = ValueBytes(value);
    return FormatReportLine(format, {int64_t{b[0]}, int64_t{b[1]}, int64_t{b[2]}, int64_t{b[3]}});
}

// Rows naming short(k) or long(k) read the items in the entry's own type: cameras store
// SubjectLocation as SHORT or LONG and ExposureIndex as SHORT or RATIONAL, and reading them
// with the usual type's width would glue two numbers into one or read half of one.
Line NumbersLine(const ReportRow& row, const ExifBlockReader& reader, const ExifEntry& entry) {
    ReportArgument numbers[6];
    const int amount = std::clamp(row.amount, 0, 6);
    for (int k = 0; k < amount; ++k) {
        auto number = EntryItem(reader, entry, k);
        if (!number) return std::nullopt;
        numbers[k] = *number;
    }
    return FormatReportLine(
        row.format, {numbers[0], numbers[1], numbers[2], numbers[3], numbers[4], numbers[5]});
}

Line LongListLine(const ReportRow& row, const ExifBlockReader& reader, const ExifEntry& entry) {
    // A count the block cannot hold is a lie: no line rather than a line of zeros.
    if (int64_t{entry.count} * 4 > reader.size()) return std::nullopt;
    std::string line = row.format;
    const int64_t count = std::min<int64_t>(entry.count, kLongListLimit);
    for (int64_t k = 0; k < count; ++k) {
        auto number = EntryLong(reader, entry, static_cast<int>(k));
        if (!number) return std::nullopt;
        line += FormatReportLine("%08x ", {int64_t{*number}});
    }
    return line + "\r\n";
}

uint32_t ReadLittle32(const ExifBlockReader& reader, int64_t position, bool& ok) {
    uint32_t number = 0;
    for (int i = 3; i >= 0; --i) {
        auto byte = reader.byteAt(position + i);
        if (!byte) ok = false;
        number = (number << 8) | byte.value_or(0);
    }
    return number;
}

constexpr ValueName kPanoramaNames[] = {
    {1, "Left to right"}, {2, "Right to left"}, {3, "Bottom to top"}, {4, "Top to bottom"}};
constexpr ValueNames kPanorama{kPanoramaNames, "Unknown"};

Line OlympusSpecialModeLine(const ExifBlockReader& reader, const ExifEntry& entry) {
    bool ok = true;
    const int64_t position = entry.dataPosition();
    const uint32_t mode = ReadLittle32(reader, position, ok);
    const uint32_t direction = ReadLittle32(reader, position + 8, ok);
    if (!ok) return std::nullopt;
    if (mode == 2) return std::string("Continuous shot mode\r\n");
    if (mode == 3) return FormatReportLine("%s Panorama mode\r\n", {kPanorama.lookup(direction)});
    return std::string("Panorama mode Off\r\n");
}

}  // namespace

const char* ValueNames::lookup(uint32_t value) const {
    for (const ValueName& entry : names) {
        if (entry.value == value) return entry.name;
    }
    return other;
}

const ReportRow* FindRow(std::span<const ReportRow> rows, uint16_t tag) {
    // A binary search over the tag-ordered rows.
    const ReportRow* low = rows.data();
    size_t count = rows.size();
    while (count > 0) {
        const size_t half = count / 2;
        if (low[half].tag < tag) {
            low += half + 1;
            count -= half + 1;
        } else {
            count = half;
        }
    }
    return low != rows.data() + rows.size() && low->tag == tag ? low : nullptr;
}

std::optional<std::string> FormatReportRow(const ReportRow& row, const ExifBlockReader& reader,
                                           const ExifEntry& entry) {
    const int64_t value = entry.value;
    auto rational = [&] { return EntryRational(reader, entry); };
    switch (row.arguments) {
        case RowArguments::None:
            return std::string(row.format);
        case RowArguments::Value:
            return FormatReportLine(row.format, {value});
        case RowArguments::Text:
            return WithText(row, EntryText(reader, entry));
        case RowArguments::InlineText:
            return WithText(row, EntryInlineText(reader, entry));
        case RowArguments::Named:
            return FormatReportLine(row.format, {row.names->lookup(entry.value)});
        case RowArguments::NamedSecondByte:
            return FormatReportLine(row.format, {row.names->lookup((entry.value >> 8) & 0xFF)});
        case RowArguments::UnsignedRatio: {
            auto r = rational();
            if (!r || r->denominator == 0) return std::nullopt;
            return FormatReportLine(row.format, {int64_t{r->numerator / r->denominator}});
        }
        case RowArguments::Shorts:
        case RowArguments::Longs:
            return NumbersLine(row, reader, entry);
        case RowArguments::ValueFieldShorts: {
            auto first = reader.read16(entry.inlinePosition());
            auto second = reader.read16(entry.inlinePosition() + 2);
            if (!first || !second) return std::nullopt;
            return FormatReportLine(row.format, {int64_t{*first}, int64_t{*second}});
        }
        case RowArguments::Bytes:
            return BytesLine(row.format, entry.value);
        case RowArguments::NumDen: {
            auto r = rational();
            if (!r) return std::nullopt;
            return FormatReportLine(row.format, {int64_t{r->numerator}, int64_t{r->denominator}});
        }
        case RowArguments::Decimal: {
            auto r = rational();
            if (!r) return std::nullopt;
            return WithDecimal(row.format, FormatDecimal(r->signedNumerator(),
                                                         r->signedDenominator(), row.amount));
        }
        case RowArguments::ApexAperture: {
            auto r = rational();
            if (!r) return std::nullopt;
            return WithDecimal(row.format,
                               ApertureFromApex(r->signedNumerator(), r->signedDenominator()));
        }
        case RowArguments::ExifR98Version:
            if (entry.type == kExifUndefined) {
                return BytesLine("ExifR98 Version = %c%c%c%c\r\n", entry.value);
            }
            return WithText(row, EntryText(reader, entry));
        case RowArguments::FocusDistance: {
            auto r = rational();
            if (!r) return std::nullopt;
            if (r->denominator != 0) {
                return FormatReportLine(
                    row.format, {FormatDecimal(r->signedNumerator(), r->signedDenominator(), 1)});
            }
            return FormatReportLine("Focus Distance = %s\r\n",
                                    {r->numerator != 0 ? "Infinite" : "Auto Focus"});
        }
        case RowArguments::DigitalZoom: {
            auto r = rational();
            if (!r) return std::nullopt;
            if (r->numerator == 0) return std::string("Digital Zoom = No\r\n");
            return WithDecimal(row.format,
                               FormatDecimal(r->signedNumerator(), r->signedDenominator(), 3));
        }
        case RowArguments::LongList:
            return LongListLine(row, reader, entry);
        case RowArguments::TagText: {
            auto text = EntryText(reader, entry);
            if (!text) return std::nullopt;
            return FormatReportLine(row.format, {int64_t{entry.tag}, FileTextToUtf8(*text)});
        }
        case RowArguments::TagValue:
            return FormatReportLine(row.format, {int64_t{entry.tag}, value});
        case RowArguments::TagDecimal: {
            auto r = rational();
            if (!r) return std::nullopt;
            const std::string decimal =
                FormatDecimal(r->signedNumerator(), r->signedDenominator(), 1);
            if (decimal.empty()) return std::nullopt;
            return FormatReportLine(row.format, {int64_t{entry.tag}, decimal});
        }
        case RowArguments::Flag:
            if (entry.value == 0) return std::nullopt;
            return std::string(row.format);
        case RowArguments::OlympusSpecialMode:
            return OlympusSpecialModeLine(reader, entry);
    }
    return std::nullopt;
}

std::optional<std::string> FormatUnknownTag(const ExifBlockReader& reader, const ExifEntry& entry) {
    if (const char* name = TodaysTagName(entry.tag)) return FormatNamedValue(name, reader, entry);
    // The commonest line of a hostile file, built piece by piece rather than from a format.
    std::string line = "Unknown Tag(0x";
    AppendReportHex(line, entry.tag, 4, false);
    line += ')';
    return FormatNamedValue(std::move(line), reader, entry);
}

std::optional<std::string> FormatNamedValue(std::string line, const ExifBlockReader& reader,
                                            const ExifEntry& entry) {
    switch (entry.type) {
        case kExifByte:
        case kExifShort:
        case kExifLong:
            line += " = ";
            AppendReportInt(line, entry.value);
            break;
        case kExifAscii: {
            auto text = EntryText(reader, entry);
            if (!text) return std::nullopt;
            line += " = \"";
            line += FileTextToUtf8(*text);
            line += '"';
            break;
        }
        case kExifRational:
        case kExifSRational: {
            auto r = EntryRational(reader, entry);
            if (!r) return std::nullopt;
            line += " = ";
            AppendReportInt(line, r->numerator);
            line += ", ";
            AppendReportInt(line, r->denominator);
            break;
        }
        default:
            line += " type(";
            AppendReportInt(line, entry.type);
            line += ") Count(";
            AppendReportInt(line, entry.count);
            line += ") Data(";
            AppendReportHex(line, entry.value, 8, false);
            line += ')';
            break;
    }
    line += "\r\n";
    return line;
}

}  // namespace corvelle
