#pragma once

#include <optional>
#include <string>
#include <vector>

#include "core/packed_dib.h"
#include "core/picture_limits.h"
#include "core/picture_types.h"

namespace corvelle {

// A PNG, WebP, HEIC/HEIF or AVIF picture decoded by the imaging library (HEIF through
// libheif) into a packed bitmap, opened with the loader of its type only: 24-bit, or 8-bit with a
// gray colour table for gray pictures; transparency is laid on white; 16-bit samples keep their
// high byte. None when the library cannot read it or the picture is larger than the limits allow.
std::optional<PackedDib> DecodeWithImagingLibrary(const std::string& path, PictureType type,
                                                  const PictureLimits& limits = {});

// The thumbnail item of a HEIC/HEIF/AVIF file decoded by libheif and coded as a JPEG, so
// that it shows as an EXIF thumbnail does; empty when it cannot be read.
std::vector<uint8_t> HeifThumbnailAsJpeg(const std::string& path);

}  // namespace corvelle
