// Tiselk's entry handler: the summary rules of the basic information, then the entry's
// report line.
#include <string>

#include "core/exif_numbers.h"
#include "core/exif_reader.h"
#include "core/maker_notes.h"
#include "core/report_rows.h"
#include "core/text.h"

namespace corvelle {

namespace {

constexpr int kEntrySize = 12;

enum class Reported { Line, NoLine };

constexpr const char* kMeteringNames[] = {"unknown/other", "average", "center weight", "spot",
                                          "multi-spot",    "pattern", "partial"};

std::string MeteringText(uint32_t value) {
    return value >= 1 && value <= 6 ? kMeteringNames[value] : kMeteringNames[0];
}

// The Exif version's four characters read as a decimal number: "0220" gives 220, "2.20".
std::string ExifVersionText(uint32_t value) {
    int n = 0;
    for (uint8_t byte : ValueBytes(value)) {
        if (byte < '0' || byte > '9') break;
        n = n * 10 + (byte - '0');
    }
    return std::to_string(n / 100) + "." + std::to_string(n % 100);
}

// Nikon cameras store the ISO speeds 80, 160 and 320 as 0, 1 and 2.
uint32_t NikonIso(uint32_t value) {
    switch (value) {
        case 0:
            return 80;
        case 1:
            return 160;
        case 2:
            return 320;
        default:
            return value;
    }
}

std::optional<std::string> FileText(const ExifWalk& walk, const ExifEntry& entry) {
    auto text = EntryText(walk.reader, entry);
    if (!text) return std::nullopt;
    return FileTextToUtf8(*text);
}

void SetExposureTime(const Rational& r, ExifSummary& summary) {
    if (r.denominator == 0) return;  // nothing to divide by: the values stay unset
    summary.exposureSeconds = static_cast<double>(r.numerator) / r.denominator;
    if (summary.shutter.empty()) {
        summary.shutter = ShutterFromExposureTime(r.signedNumerator(), r.signedDenominator());
    }
}

void SetApexShutter(const Rational& r, ExifSummary& summary) {
    if (summary.exposureSeconds == 0) {
        if (auto seconds = ExposureSecondsFromApex(r.signedNumerator(), r.signedDenominator())) {
            summary.exposureSeconds = *seconds;
        }
    }
    if (summary.shutter.empty()) {
        summary.shutter = ShutterFromApex(r.signedNumerator(), r.signedDenominator());
    }
}

// The summary rule of the entry's tag; says whether the tag also gets a report line.
Reported ApplySummaryRule(ExifWalk& walk, const ExifEntry& entry, ExifSummary& summary) {
    const ExifBlockReader& reader = walk.reader;
    switch (entry.tag) {
        case 0x010F:
            if (auto make = EntryText(reader, entry)) walk.makerId = ClassifyMaker(*make);
            return Reported::Line;
        case 0x0110:
            if (auto model = FileText(walk, entry)) summary.model = *model;
            return Reported::NoLine;
        case 0x0201:
            summary.thumbnailPosition = entry.dataPosition();
            return Reported::NoLine;
        case 0x0202:
            summary.thumbnailLength = entry.value;
            return Reported::NoLine;
        case 0x8769:
            summary.exifDirectoryPosition = entry.dataPosition();
            return Reported::Line;
        case 0x829A:
            if (auto r = EntryRational(reader, entry)) SetExposureTime(*r, summary);
            return Reported::NoLine;
        case 0x829D:
            if (auto r = EntryRational(reader, entry); r && r->denominator != 0) {
                summary.fNumber = static_cast<double>(r->numerator) / r->denominator;
                summary.aperture =
                    "F" + FormatDecimal(r->signedNumerator(), r->signedDenominator(), 1);
            }
            return Reported::NoLine;
        case 0x8827: {
            const uint32_t iso = walk.makerId == kMakerNikon ? NikonIso(entry.value) : entry.value;
            summary.iso = std::to_string(static_cast<int32_t>(iso));
            return Reported::NoLine;
        }
        case 0x9000:
            summary.exifVersion = ExifVersionText(entry.value);
            return Reported::NoLine;
        case 0x9003:
            if (auto date = FileText(walk, entry)) summary.dateTime = *date;
            return Reported::NoLine;
        case 0x9201:
            if (auto r = EntryRational(reader, entry)) SetApexShutter(*r, summary);
            return Reported::NoLine;
        case 0x9204:
            if (auto r = EntryRational(reader, entry); r && r->denominator != 0) {
                summary.exposureBias =
                    FormatDecimal(r->signedNumerator(), r->signedDenominator(), 1) + " EV";
            }
            return Reported::NoLine;
        case 0x9207:
            summary.metering = MeteringText(entry.value);
            return Reported::NoLine;
        case 0x9209:
            summary.flash = entry.value != 0 ? "On" : "Off";
            return Reported::NoLine;
        case 0x920A:
            if (auto r = EntryRational(reader, entry); r && r->denominator != 0) {
                summary.focalLength =
                    FormatDecimal(r->signedNumerator(), r->signedDenominator(), 3) + " mm";
            }
            return Reported::NoLine;
        case 0x927C:
            DecodeMakerNote(walk.reader, walk.makerId, entry.dataPosition(), summary);
            return Reported::NoLine;
        case 0xA002:
            summary.width = entry.value;
            return Reported::NoLine;
        case 0xA003:
            summary.height = entry.value;
            return Reported::NoLine;
        case 0xA005:
            summary.interoperabilityOffset = entry.value;
            return Reported::Line;
        default:
            return Reported::Line;
    }
}

}  // namespace

int HandleExifEntry(ExifWalk& walk, const ExifEntry& entry, ExifSummary& summary) {
    if (ApplySummaryRule(walk, entry, summary) == Reported::NoLine) return kEntrySize;
    if (summary.reportBytes >= kReportBudget) return kEntrySize;
    const ReportRow* row = FindRow(DirectoryReportRows(), entry.tag);
    auto line = row ? FormatReportRow(*row, walk.reader, entry, summary)
                    : FormatUnknownTag(walk.reader, entry);
    if (line) AppendReportLine(summary, std::move(*line));
    return kEntrySize;
}

std::string JoinReport(const ExifSummary& summary) {
    std::string joined;
    for (const std::string& line : summary.reportLines) joined += line;
    return joined;
}

}  // namespace corvelle
