#pragma once

#include <optional>
#include <string>

#include "core/jpeg_decoder.h"
#include "core/packed_dib.h"
#include "core/picture_limits.h"
#include "core/tiff_decoder.h"

namespace corvelle {

enum class PictureFormat { kJpeg, kTiff };

// JPEG when the file name, lower-cased, contains ".jpg" or ".jpeg" anywhere (so "x.jpeg.tif"
// is read as JPEG); TIFF otherwise, which also covers raw camera files such as ".nef".
// Only the name counts, not the folders above it.
PictureFormat PictureFormatForPath(const std::string& path);

// The picture of a file, or none when the file cannot be read or decoded. JPEG library
// messages go to `messages`.
std::optional<PackedDib> DecodePicture(const std::string& path,
                                       const JpegMessageSink& messages = {},
                                       const PictureLimits& limits = {});

}  // namespace corvelle
