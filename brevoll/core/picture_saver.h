#pragma once

#include <optional>
#include <string>
#include <string_view>

#include <vips/vips8>

#include "core/jpeg_segments.h"

namespace corvelle {

// The saver that writes the format a picture was loaded from, by the loader's name.
// Nothing when that format has no saver here.
std::optional<std::string> SaverSuffixForLoader(std::string_view loader);

struct SaveRequest {
    std::string loader;  // the source's loader ("jpegload", ...)
    int quality = 100;   // JPEG only
    bool keepMetadata = false;
    // JPEG: the source's own EXIF and ICC segments, put in byte for byte when kept.
    const JpegMetadataSegments* jpegSegments = nullptr;
    // Whether an existing file at the destination may be replaced.
    bool replaceExisting = true;
};

// Why a file could not be written, from the errno the writer kept.
std::string WriteProblem(int error);

// Encodes the canvas in the source's format and puts it at the destination path through
// a temporary file in the same folder, so the destination is either the complete new
// picture or left as it was. Returns false when nothing was put in place.
bool SaveWithSourceEncoder(const vips::VImage& canvas, const std::string& destination,
                           const SaveRequest& request, std::string* error = nullptr);

}  // namespace corvelle
