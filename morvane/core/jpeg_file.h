#pragma once

#include <cstdint>
#include <optional>
#include <span>
#include <string>

#include "core/packed_dib.h"
#include "core/picture_limits.h"
#include "jpeg/jpeg_decoder.h"

namespace corvelle {

// Decodes a JPEG file into a packed DIB: one-component streams as 8 bits with the gray
// ramp, three-component streams as 24 bits, four-component (CMYK, YCCK) streams converted
// to 24-bit RGB. A truncated stream loads with whatever the decoder made of the data up to
// the cut. None when the file cannot be opened, is not a JPEG the library accepts, or the
// picture is larger than the picture limits allow; errorMessage (when given) then says why
// in one line, e.g. "cannot decode: Not a JPEG file: starts with 0x89 0x50".
std::optional<PackedDib> LoadJpegFile(const std::string& path, std::string* errorMessage = nullptr);
// The same over bytes in memory, with limits of the caller's (a fuzzer keeps them small, so
// that it is not slowed down by huge empty pictures).
std::optional<PackedDib> LoadJpegBytes(std::span<const uint8_t> bytes,
                                       std::string* errorMessage = nullptr,
                                       const PictureLimits& limits = {});

// Encodes an 8-bit (one-component, grayscale) or 24-bit (RGB) DIB as a baseline JPEG at
// the given quality (limited to 1..100). The file is written beside the target under a
// temporary name and renamed over the target only once the encoder has finished, so a
// failed save leaves an existing target untouched. The DIB's resolution, when both
// directions are set, is written as a JFIF density in dots per centimetre.
bool SaveJpegFile(const std::string& path, const PackedDib& dib, int quality,
                  std::string* errorMessage = nullptr);

// DIB pixels per metre as the JFIF density written with unit 2 (dots per centimetre).
int JfifDotsPerCentimetreFromPelsPerMeter(int pelsPerMeter);

// Copies one row between the library's sample order and the DIB's. With 3 components it
// copies width pixels, swapping the first and third byte of each (RGB <-> BGR); with any
// other count it copies width bytes unchanged.
void CopyRowSwap(uint8_t* destination, const uint8_t* source, int width, int components);

}  // namespace corvelle
