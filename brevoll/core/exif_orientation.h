#pragma once

#include <cstdint>
#include <span>

namespace corvelle {

// Sets the Orientation entry (tag 0x0112) of the first directory of a TIFF structure (an
// EXIF block without its "Exif\0\0" mark) to `value`, in place. False when the bytes hold
// no such entry of type SHORT; nothing is changed then.
bool SetExifOrientation(std::span<uint8_t> tiff, uint16_t value);

}  // namespace corvelle
