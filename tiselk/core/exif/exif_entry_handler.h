#pragma once

#include <cstdint>

#include "core/exif/exif_block.h"
#include "core/exif/exif_entry.h"
#include "core/exif/exif_summary.h"
#include "core/exif/exif_walk.h"
#include "core/exif/gps_report.h"

namespace corvelle {

// What Tiselk's entry handler keeps between the entries of one parse.
struct ExifHandlerState {
    explicit ExifHandlerState(ExifSummary& filled) : summary(filled) {}
    ExifSummary& summary;
    int32_t makerId = 0;  // set by the Make entry, read by the MakerNote entry later on
    GpsReading gps;
};

// Tiselk's entry handler: applies the summary rules of the basic information, then appends
// the entry's report line, or the maker note's lines at the MakerNote entry. The GPS
// directory's entries give the GPS lines and the position.
void HandleExifEntry(ExifHandlerState& state, ExifBlockReader& reader, ExifDirectory directory,
                     const ExifEntry& entry);

}  // namespace corvelle
