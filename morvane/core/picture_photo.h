#pragma once

#include <optional>
#include <string>

#include <vips/vips8>

#include "core/picture_limits.h"
#include "core/picture_types.h"
#include "core/photo_file.h"

namespace corvelle {

// Opens a HEIC, HEIF, AVIF, PNG, WebP or TIFF photo with the imaging library's loader of its
// type, within the byte budget. None with the reason in errorMessage ("cannot decode: ...").
std::optional<LoadedPhoto> LoadPictureWithImaging(const std::string& path, PictureType type,
                                                  std::string* errorMessage,
                                                  const PictureLimits& budget = {});

// A decoded picture as Morvane holds it: turned upright when asked, its embedded profile
// converted to sRGB, transparency flattened onto white; one band becomes the 8-bit gray
// picture, more bands the 24-bit one. A picture of more than 8 bits a channel keeps its
// channels at 16 bits beside the 8-bit picture.
std::optional<LoadedPhoto> PhotoFromImage(vips::VImage image, bool turnUpright,
                                          std::string* errorMessage);

}  // namespace corvelle
