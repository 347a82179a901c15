#pragma once

#include <optional>

#include "core/byte_source.h"
#include "core/packed_dib.h"
#include "core/picture_limits.h"

namespace corvelle {

// The first picture of a TIFF file (or of a raw camera file built like one): 1, 4, 8 or 24
// bits with the colour table the data calls for. None for an unknown byte order, a refused tag
// value, a picture over the limits, or data of which not one strip or tile decodes.
// Strips or tiles that break off keep what was decoded of them; missing ones stay zero.
std::optional<PackedDib> DecodeTiff(ByteSource& source, const PictureLimits& limits = {});

}  // namespace corvelle
