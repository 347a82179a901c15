#pragma once

#include <memory>

#include "core/packed_dib.h"

namespace corvelle {

// A decoded picture shared by the controls that show it: the thumbnail, the histogram and
// the photo view each keep a handle, and the picture is freed with the last one.
using PictureHandle = std::shared_ptr<const PackedDib>;

}  // namespace corvelle
