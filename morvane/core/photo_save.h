#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "core/deep_pixels.h"
#include "core/packed_dib.h"

namespace corvelle {

// What a document can write: the design's JPEG of what is on show, or the photo's luminance
// as one 16-bit gray channel.
enum class PhotoSaveFormat { kJpeg, kGray16Png, kGray16Tiff };

// Whether the name ends in `ending` (given in lower case), in any case.
bool NameEndsWithIgnoringCase(std::string_view path, std::string_view ending);

// By the name's ending, in any case: .jpg and .jpeg, .png, .tif and .tiff; none for any other
// (a HEIC or WebP photo cannot be written back as such).
std::optional<PhotoSaveFormat> PhotoSaveFormatForName(std::string_view path);
// The usual ending of each format's files: ".jpg", ".png", ".tif".
const char* PhotoSaveExtension(PhotoSaveFormat format);

struct PhotoToSave {
    const PackedDib* shown = nullptr;   // what the view shows: the photo or a gray rendering
    const PackedDib* photo = nullptr;   // the photo as loaded (and filtered)
    const DeepPixels* deep = nullptr;   // its 16-bit channels, when its file had them
    DibRect frame;                      // the trimming frame; empty for the whole picture
    int quality = 100;                  // JPEG only
};

// Writes the picture in the format through a temporary file renamed over the target.
// errorMessage says why it failed in one line.
bool SavePhoto(const std::string& path, PhotoSaveFormat format, const PhotoToSave& what,
               std::string* errorMessage = nullptr);

}  // namespace corvelle
