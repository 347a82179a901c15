#pragma once

#include <string>
#include <vector>

#include "core/exif/exif_reader.h"
#include "support/exif_builder.h"

namespace corvelle::testing {

// Parses a TIFF structure built in the test and returns what the walk learnt.
inline ExifSummary ParseTiff(const TiffDirectory& ifd0, ByteOrder order = kLittle) {
    ExifSummary summary;
    Parse(BuildTiff(ifd0, order), summary);
    return summary;
}

// The report lines of a file whose IFD0 holds only the given directory's entries.
inline std::vector<std::string> ReportOf(const TiffDirectory& ifd0, ByteOrder order = kLittle) {
    return ParseTiff(ifd0, order).reportLines;
}

// The report lines of a file whose EXIF directory holds the given entries.
inline ExifSummary ParseWithExif(const TiffDirectory& exif, ByteOrder order = kLittle,
                                 const std::string& make = "") {
    TiffDirectory ifd0;
    if (!make.empty()) ifd0.ascii(0x010F, make);
    ifd0.subDirectory(0x8769, exif);
    return ParseTiff(ifd0, order);
}

}  // namespace corvelle::testing
