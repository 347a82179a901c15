#include "core/exif/maker_notes.h"

#include <algorithm>
#include <string>

#include "core/exif/exif_entry.h"
#include "core/exif/maker_note_tables.h"
#include "core/report/report_rows.h"
#include "core/text.h"

namespace corvelle {

namespace {

struct MakerName {
    const char* name;
    int32_t id;
};

// Searched in this order. "MIROLTA" is how the name has always been spelled here, so
// Minolta cameras get no id.
constexpr MakerName kMakerNames[] = {
    {"NIKON", kMakerNikon},     {"OLYMPUS", kMakerOlympus},   {"CANON", kMakerCanon},
    {"SONY", kMakerSony},       {"FUJIFILM", kMakerFujifilm}, {"EPSON", kMakerEpson},
    {"KYOCERA", kMakerKyocera}, {"TOSHIBA", kMakerToshiba},   {"KONICA", kMakerKonica},
    {"SANYO", kMakerSanyo},     {"MIROLTA", kMakerMinolta},   {"AGFA", kMakerAgfa},
    {"HP", kMakerHp},           {"SAMSUNG", kMakerSamsung},
};

// How many items of a type fit in the four bytes of the value field; -1 for no TIFF type.
int InlineItems(uint16_t type) {
    const int size = TiffTypeSize(type);
    return size == 0 ? -1 : 4 / size;
}

bool StartsWithNikonSignature(const ExifBlockReader& reader, int64_t note) {
    static constexpr char kSignature[] = "nikon";
    for (int i = 0; i < 6; ++i) {
        auto byte = reader.byteAt(note + i);
        if (!byte) return false;
        const char expected = i < 5 ? kSignature[i] : '\0';
        if (AsciiLower(char(*byte)) != expected) return false;
    }
    return true;
}

// The one tag of a note layout that sets the ISO text of the basic information instead of
// giving a line.
struct NoteIsoRule {
    uint16_t tag;
    std::optional<std::string> (*text)(const ExifBlockReader& reader, const ExifEntry& entry);
};

// Nikon's first layout keeps the ISO speed as an index.
constexpr ValueName kNikonIsoNames[] = {{0, "80"}, {2, "160"}, {4, "320"}, {5, "100"}};
constexpr ValueNames kNikonIso{kNikonIsoNames, "unknown"};

constexpr NoteIsoRule kNikonFirstIso{
    0x0006, [](const ExifBlockReader&, const ExifEntry& entry) {
        return std::optional<std::string>(kNikonIso.lookup(entry.value));
    }};

// Nikon's second layout keeps it as the second number of the value field; 0 means automatic.
constexpr NoteIsoRule kNikonSecondIso{
    0x0002, [](const ExifBlockReader& reader, const ExifEntry& entry) {
        auto iso = reader.read16(entry.inlinePosition() + 2);
        if (!iso) return std::optional<std::string>();
        return std::optional<std::string>(*iso == 0 ? "Auto" : std::to_string(*iso));
    }};

struct NoteLayout {
    int64_t countAt;
    std::span<const ReportRow> rows;
    bool stopAtTypeZero = false;
    const NoteIsoRule* iso = nullptr;
};

// Reads a Nikon entry count big-endian first; a count of 256 or more means the note is
// little-endian, and the count is read again that way.
std::optional<uint32_t> ReadNikonCount(ExifBlockReader& reader, int64_t position) {
    reader.setBigEndian(true);
    auto count = reader.read16(position);
    if (count && *count >= 256) {
        reader.setBigEndian(false);
        count = reader.read16(position);
    }
    return count;
}

void WalkNote(ExifBlockReader& reader, const NoteLayout& layout, uint32_t count,
              ExifSummary& summary) {
    const int64_t entries = layout.countAt + 2;
    auto base = ResolveNoteBase(reader, entries, count);
    if (!base) return;
    for (uint32_t i = 0; i < count; ++i) {
        auto entry = DecodeExifEntry(reader, entries + int64_t{12} * i, *base);
        if (!entry) return;  // the note runs out of the block here
        if (layout.stopAtTypeZero && entry->type == 0) return;
        if (layout.iso && entry->tag == layout.iso->tag) {
            if (auto iso = layout.iso->text(reader, *entry)) summary.iso = std::move(*iso);
            continue;
        }
        const ReportRow* row = FindRow(layout.rows, entry->tag);
        if (!row) continue;
        if (auto line = FormatReportRow(*row, reader, *entry)) {
            AppendReportLine(summary, std::move(*line));
        }
    }
}

}  // namespace

int32_t ClassifyMaker(std::string_view makeText) {
    std::string upper(makeText);
    std::transform(upper.begin(), upper.end(), upper.begin(),
                   [](unsigned char c) { return static_cast<char>(std::toupper(c)); });
    for (const MakerName& maker : kMakerNames) {
        if (upper.find(maker.name) != std::string::npos) return maker.id;
    }
    return kMakerUnknown;
}

std::optional<int64_t> ResolveNoteBase(const ExifBlockReader& reader, int64_t entries,
                                       uint32_t entryCount) {
    const int64_t end = entries + int64_t{12} * entryCount + 4;
    for (uint32_t i = 0; i < entryCount; ++i) {
        const int64_t entry = entries + int64_t{12} * i;
        auto type = reader.read16(entry + 2);
        auto count = reader.read32(entry + 4);
        auto value = reader.read32(entry + 8);
        if (!type || !count || !value) break;  // the table runs out of the block
        const int inlineItems = InlineItems(*type);
        if (inlineItems < 0) return std::nullopt;
        if (*count > static_cast<uint32_t>(inlineItems)) {
            if (int64_t{*value} == end) return 0;
            return end - *value;
        }
    }
    return 0;
}

void DecodeMakerNote(ExifBlockReader& reader, int32_t makerId, int64_t note, ExifSummary& summary) {
    ByteOrderScope restore(reader);
    NoteLayout layout{};
    std::optional<uint32_t> count;
    switch (makerId) {
        case kMakerNikon:
            if (StartsWithNikonSignature(reader, note)) {
                layout = {note + 8, NikonFirstNoteRows(), false, &kNikonFirstIso};
            } else {
                layout = {note, NikonSecondNoteRows(), false, &kNikonSecondIso};
            }
            count = ReadNikonCount(reader, layout.countAt);
            break;
        case kMakerOlympus:
            layout = {note + 8, OlympusNoteRows(), true};
            count = reader.read16(layout.countAt);
            break;
        case kMakerFujifilm:
            reader.setBigEndian(false);
            layout = {note + 12, FujifilmNoteRows()};
            count = reader.read16(layout.countAt);
            break;
        default:
            return;
    }
    if (count) WalkNote(reader, layout, *count, summary);
}

}  // namespace corvelle
