#pragma once

#include <optional>
#include <string>

#include "core/deep_pixels.h"
#include "core/packed_dib.h"

namespace corvelle {

// A photo as Morvane holds it: the 8-bit picture every view mode, the trimming frame and the
// noise filter work on, and, for a file of more than 8 bits a channel, those channels too.
struct LoadedPhoto {
    PackedDib dib;
    std::optional<DeepPixels> deep;
};

// The name patterns of every type Morvane opens, for the open dialog: "*.jpg *.jpeg ...".
std::string PhotoFilePatterns();

// Opens a photo file: a JPEG (or a name of no known type) with Morvane's JPEG decoder, a
// HEIC, HEIF, AVIF, PNG, WebP or TIFF file with the imaging library's loader of its type.
// None with the reason in errorMessage ("cannot open: ...", "cannot decode: ...") when it
// does not load; a raw camera file or a movie is refused by its type.
std::optional<LoadedPhoto> LoadPhotoFile(const std::string& path, std::string* errorMessage);

}  // namespace corvelle
