#include "core/maker_notes.h"

#include <algorithm>
#include <string>

#include "core/exif_entry.h"
#include "core/maker_note_tables.h"
#include "core/report_rows.h"
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
int InlineItems(uint32_t type) {
    switch (type) {
        case 1:
        case 2:
        case 6:
        case 7:
            return 4;
        case 3:
        case 8:
            return 2;
        case 4:
        case 9:
        case 11:
            return 1;
        case 5:
        case 10:
        case 12:
            return 0;
        default:
            return -1;
    }
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

struct NoteLayout {
    int64_t countAt;
    std::span<const ReportRow> rows;
    bool stopAtTypeZero = false;
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
        const ReportRow* row = FindRow(layout.rows, entry->tag);
        if (!row) continue;
        if (auto line = FormatReportRow(*row, reader, *entry, summary)) {
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
                layout = {note + 8, NikonFirstNoteRows()};
            } else {
                layout = {note, NikonSecondNoteRows()};
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
