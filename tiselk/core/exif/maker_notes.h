#pragma once

#include <cstdint>
#include <optional>
#include <string_view>

#include "core/exif/exif_block.h"
#include "core/exif/exif_summary.h"

namespace corvelle {

enum MakerId : int32_t {
    kMakerUnknown = 0,
    kMakerNikon = 1,
    kMakerOlympus = 2,
    kMakerAgfa = 3,
    kMakerCanon = 4,
    kMakerSony = 5,
    kMakerFujifilm = 6,
    kMakerEpson = 7,
    kMakerKyocera = 8,
    kMakerToshiba = 9,
    kMakerKonica = 10,
    kMakerSanyo = 11,
    kMakerMinolta = 12,
    kMakerHp = 13,
    kMakerSamsung = 14,
};

// The maker id of a Make text: the first of the known names found anywhere in it,
// without regard to case; 0 when none is.
int32_t ClassifyMaker(std::string_view makeText);

// What the data positions of a maker note's entries count from, given where its entries
// start and how many there are: the TIFF header (0) when the first out-of-line datum's
// offset already points right after the entry table (or every datum is inline), else the
// point that puts that datum right there. None when an entry's type is not a TIFF type.
std::optional<int64_t> ResolveNoteBase(const ExifBlockReader& reader, int64_t entries,
                                       uint32_t entryCount);

// Walks the maker note at `note` for the makers that have a decoder (Nikon's two layouts,
// Olympus, Fujifilm), appending report lines to the summary and setting its ISO text where
// the note holds it. The reader's byte order is restored afterwards.
void DecodeMakerNote(ExifBlockReader& reader, int32_t makerId, int64_t note, ExifSummary& summary);

}  // namespace corvelle
