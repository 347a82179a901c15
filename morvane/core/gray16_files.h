#pragma once

#include <string>

#include "core/gray16_picture.h"

namespace corvelle {

// The 16-bit gray picture as a PNG (one 16-bit gray channel, the resolution in pixels per
// metre) or as a TIFF (Deflate with horizontal differencing, the resolution in pixels per
// centimetre), both with the gray profile of the sRGB tone curve. Written beside the target
// under a temporary name and renamed over it only once complete, so a failed save leaves an
// existing target untouched. errorMessage says why in one line ("cannot write: ...").
bool SaveGray16Png(const std::string& path, const Gray16Picture& picture,
                   std::string* errorMessage = nullptr);
bool SaveGray16Tiff(const std::string& path, const Gray16Picture& picture,
                    std::string* errorMessage = nullptr);

}  // namespace corvelle
