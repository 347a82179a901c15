#pragma once

#include <cstdint>
#include <span>
#include <string>

namespace corvelle {

// The shooting date text of a picture from its EXIF TIFF structure (with or without the
// leading "Exif\0\0"): DateTimeOriginal, else DateTime, else DateTimeDigitized, the
// first that is not empty, each read up to its first NUL. Empty when none is found.
std::string ReadShotDate(std::span<const uint8_t> exif);

}  // namespace corvelle
