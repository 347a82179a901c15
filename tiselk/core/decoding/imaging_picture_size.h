#pragma once

#include <optional>
#include <string>

#include "core/decoding/picture_size.h"
#include "core/picture_types.h"

namespace corvelle {

// What the imaging library will take to decode a PNG, WebP, HEIF or AVIF picture, from its
// header: its own decoded copy and the packed bitmap made from it (8-bit for gray pictures,
// 24-bit otherwise). None when the header cannot be read.
std::optional<PictureSize> ImagingPictureSize(const std::string& path, PictureType type);

}  // namespace corvelle
