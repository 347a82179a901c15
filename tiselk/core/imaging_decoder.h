#pragma once

#include <optional>
#include <string>

#include "core/packed_dib.h"
#include "core/picture_limits.h"

namespace corvelle {

// A PNG, WebP, HEIC/HEIF or AVIF picture decoded by the imaging library (HEIF through
// libheif) into a packed bitmap: 24-bit, or 8-bit with a gray colour table for gray
// pictures; transparency is laid on white; 16-bit samples keep their high byte. None when
// the library cannot read it or the picture is larger than the limits allow.
std::optional<PackedDib> DecodeWithImagingLibrary(const std::string& path,
                                                  const PictureLimits& limits = {});

}  // namespace corvelle
