#pragma once

// A folder with one picture of each of today's file types: HEIC, HEIF, AVIF, PNG and WebP
// written by the imaging library (one more HEIC, with an HEVC-coded thumbnail item, by
// libheif's encoder when it is there) with EXIF data added by exiftool, raw-file headers
// built with the EXIF builder, and a CR3 built box by box. Every file has the model it is
// named after, 1/125 s at F5.6 and ISO 100.

#include <string>
#include <vector>

#include "support/temp_folder.h"

namespace corvelle::testing {

struct TodaysFile {
    std::string name;
    int width, height;  // of the picture the viewer shows
    bool ownThumbnail;  // an embedded thumbnail or preview serves as the thumbnail
};

// The files written; empty when exiftool is missing (the caller skips).
std::vector<TodaysFile> WriteTodaysFiles(const TempFolder& folder);

// Whether exiftool can be run.
bool HaveExiftool();

}  // namespace corvelle::testing
