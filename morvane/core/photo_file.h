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

// Opens a photo file; none with the reason in errorMessage ("cannot open: ...",
// "cannot decode: ...") when it does not load.
std::optional<LoadedPhoto> LoadPhotoFile(const std::string& path, std::string* errorMessage);

}  // namespace corvelle
