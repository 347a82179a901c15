#pragma once

#include <optional>
#include <string>

#include "core/byte_source.h"
#include "core/decoding/tiff_decoder.h"
#include "core/packed_dib.h"
#include "core/picture_limits.h"
#include "jpeg/jpeg_decoder.h"

namespace corvelle {

enum class PictureFormat { kJpeg, kTiff, kRawPreview };

// JPEG when the file name, lower-cased, contains ".jpg" or ".jpeg" anywhere (so "x.jpeg.tif"
// is read as JPEG); the largest embedded JPEG for the raw files whose TIFF images are sensor
// data (.dng .cr2 .arw .orf .rw2 .pef .srw); TIFF otherwise, which also covers ".nef"
// (its first image is a small RGB picture). Only the name counts, not the folders above it.
PictureFormat PictureFormatForPath(const std::string& path);

// Which decoder reads a file: PNG, WebP and ISO media files (HEIC, HEIF, AVIF, CR3) by
// their bytes whatever their name; a JPEG by its bytes under one of their names; every
// other file as its name says.
enum class PictureRoute { kJpeg, kPng, kWebp, kIsoMedia, kRawPreview, kTiff };
PictureRoute RouteOf(const std::string& path, const ByteSource& file);

// The picture of a file, or none when the file cannot be read or decoded. PNG, WebP,
// HEIC/HEIF and AVIF files are told by their bytes, whatever their name, and go to the
// imaging library; a CR3 shows its JPEG preview. A JPEG under one of their names is decoded
// as the JPEG it is; every other file as its name says. JPEG library messages go to `messages`.
std::optional<PackedDib> DecodePicture(const std::string& path,
                                       const JpegMessageSink& messages = {},
                                       const PictureLimits& limits = {});

}  // namespace corvelle
