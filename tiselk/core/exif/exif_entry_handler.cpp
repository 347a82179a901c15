// Tiselk's entry handler: the summary rules of the basic information, then the entry's
// report line.
#include "core/exif/exif_entry_handler.h"

#include <algorithm>
#include <iterator>
#include <string>

#include "core/exif/exif_numbers.h"
#include "core/exif/maker_notes.h"
#include "core/report/report_rows.h"
#include "core/text.h"

namespace corvelle {

namespace {

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
    constexpr uint32_t kSpeeds[] = {80, 160, 320};
    return value < std::size(kSpeeds) ? kSpeeds[value] : value;
}

void SetFileText(const ExifBlockReader& reader, const ExifEntry& entry, std::string& target) {
    if (auto text = EntryText(reader, entry)) target = FileTextToUtf8(*text);
}

// The rational's decimal text with a unit, left unset when there is nothing to divide by.
void SetDecimal(const ExifBlockReader& reader, const ExifEntry& entry, int decimals,
                const char* unit, std::string& target) {
    if (auto r = EntryRational(reader, entry); r && r->denominator != 0) {
        target = FormatDecimal(r->signedNumerator(), r->signedDenominator(), decimals) + unit;
    }
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

// What a tag of the basic information does to the summary, and whether it also gets its
// report line. Tags without a rule only give their report line. The pointer tags (EXIF
// directory, interoperability directory, thumbnail) have nothing to do here: the walk
// follows them itself.
enum class Report { Line, NoLine };

struct SummaryRule {
    uint16_t tag;
    Report report;
    void (*apply)(ExifHandlerState& s, ExifBlockReader& reader, const ExifEntry& e);
};

// In tag order: every entry of a file looks its tag up here.
constexpr SummaryRule kSummaryRules[] = {
    {0x010F, Report::Line,
     [](auto& s, auto& reader, auto& e) {
         if (auto make = EntryText(reader, e)) s.makerId = ClassifyMaker(*make);
     }},
    {0x0110, Report::NoLine,
     [](auto& s, auto& reader, auto& e) { SetFileText(reader, e, s.summary.model); }},
    {0x0201, Report::NoLine, nullptr},
    {0x0202, Report::NoLine, nullptr},
    {0x829A, Report::NoLine,
     [](auto& s, auto& reader, auto& e) {
         if (auto r = EntryRational(reader, e)) SetExposureTime(*r, s.summary);
     }},
    {0x829D, Report::NoLine,
     [](auto& s, auto& reader, auto& e) {
         if (auto r = EntryRational(reader, e); r && r->denominator != 0) {
             s.summary.fNumber = static_cast<double>(r->numerator) / r->denominator;
             s.summary.aperture =
                 "F" + FormatDecimal(r->signedNumerator(), r->signedDenominator(), 1);
         }
     }},
    {0x8769, Report::Line, nullptr},
    {0x8827, Report::NoLine,
     [](auto& s, auto&, auto& e) {
         const uint32_t iso = s.makerId == kMakerNikon ? NikonIso(e.value) : e.value;
         s.summary.iso = std::to_string(static_cast<int32_t>(iso));
     }},
    {0x9000, Report::NoLine,
     [](auto& s, auto&, auto& e) { s.summary.exifVersion = ExifVersionText(e.value); }},
    {0x9003, Report::NoLine,
     [](auto& s, auto& reader, auto& e) { SetFileText(reader, e, s.summary.dateTime); }},
    {0x9201, Report::NoLine,
     [](auto& s, auto& reader, auto& e) {
         if (auto r = EntryRational(reader, e)) SetApexShutter(*r, s.summary);
     }},
    {0x9204, Report::NoLine,
     [](auto& s, auto& reader, auto& e) {
         SetDecimal(reader, e, 1, " EV", s.summary.exposureBias);
     }},
    {0x9207, Report::NoLine,
     [](auto& s, auto&, auto& e) { s.summary.metering = MeteringText(e.value); }},
    {0x9209, Report::NoLine,
     [](auto& s, auto&, auto& e) { s.summary.flash = e.value != 0 ? "On" : "Off"; }},
    {0x920A, Report::NoLine,
     [](auto& s, auto& reader, auto& e) {
         SetDecimal(reader, e, 3, " mm", s.summary.focalLength);
     }},
    {0x927C, Report::NoLine,
     [](auto& s, auto& reader, auto& e) {
         DecodeMakerNote(reader, s.makerId, e.dataPosition(), s.summary);
     }},
    {0xA002, Report::NoLine, [](auto& s, auto&, auto& e) { s.summary.width = e.value; }},
    {0xA003, Report::NoLine, [](auto& s, auto&, auto& e) { s.summary.height = e.value; }},
    {0xA005, Report::Line, nullptr},
};

static_assert(std::is_sorted(
    std::begin(kSummaryRules), std::end(kSummaryRules),
    [](const SummaryRule& a, const SummaryRule& b) { return a.tag < b.tag; }));

const SummaryRule* FindSummaryRule(uint16_t tag) {
    const auto* rule = std::lower_bound(
        std::begin(kSummaryRules), std::end(kSummaryRules), tag,
        [](const SummaryRule& candidate, uint16_t wanted) { return candidate.tag < wanted; });
    return rule != std::end(kSummaryRules) && rule->tag == tag ? rule : nullptr;
}

}  // namespace

void HandleExifEntry(ExifHandlerState& state, ExifBlockReader& reader, ExifDirectory directory,
                     const ExifEntry& entry) {
    if (directory == ExifDirectory::Gps) {
        auto line = state.gps.take(reader, entry);
        if (line) AppendReportLine(state.summary, std::move(*line));
        return;
    }
    if (const SummaryRule* rule = FindSummaryRule(entry.tag)) {
        if (rule->apply) rule->apply(state, reader, entry);
        if (rule->report == Report::NoLine) return;
    }
    if (state.summary.reportBytes >= kReportBudget) return;
    const ReportRow* row = FindRow(DirectoryReportRows(), entry.tag);
    auto line = row ? FormatReportRow(*row, reader, entry) : FormatUnknownTag(reader, entry);
    if (line) AppendReportLine(state.summary, std::move(*line));
}

std::string JoinReport(const ExifSummary& summary) {
    std::string joined;
    for (const std::string& line : summary.reportLines) joined += line;
    return joined;
}

}  // namespace corvelle
