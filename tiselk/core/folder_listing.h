#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace corvelle {

// Whether the file list shows a file of this name: "*.jpg", "*.jpeg", "*.tif?" (.tif and
// .tiff), "*.nef", today's photo files (HEIC, HEIF, HIF, AVIF, PNG, WebP) and raw files (DNG,
// CR2, CR3, ARW, ORF, RW2, PEF, SRW), without regard to case.
bool IsListedPictureName(std::string_view name);

// The names of the folder's picture files (regular files, hidden ones left out), sorted
// the way the list box sorts them: without regard to case. Empty when the folder cannot be
// read.
std::vector<std::string> ListPictureFiles(const std::string& folder);

}  // namespace corvelle
