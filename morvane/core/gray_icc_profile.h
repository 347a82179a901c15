#pragma once

#include <cstdint>
#include <vector>

namespace corvelle {

// A gray ICC profile (D50 white) with the sRGB tone curve, embedded in the 16-bit gray files
// so that colour-managed programs show them with the tones of the view. The same bytes every
// time: the creation date is fixed.
const std::vector<uint8_t>& GrayIccProfile();

}  // namespace corvelle
