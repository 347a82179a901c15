#pragma once

#include <cstdint>
#include <optional>

#include "core/decoding/tiff_directory.h"
#include "core/packed_dib.h"

namespace corvelle {

enum class TiffColorKind { kGray, kPalette, kRgb, kCmyk };

// How decoded TIFF samples become picture pixels.
struct TiffPixelLayout {
    TiffColorKind kind = TiffColorKind::kGray;
    int bitsPerSample = 1;
    int samplesPerPixel = 1;
    bool whiteIsZero = false;
    int bitCount = 1;  // of the picture

    // Bytes of one decoded row of `pixels` pixels.
    uint64_t rowBytes(uint64_t pixels) const {
        return (pixels * uint64_t(samplesPerPixel) * uint64_t(bitsPerSample) + 7) / 8;
    }
};

// None for combinations the decoder cannot show faithfully (planar data is refused earlier):
// gray and palette take one sample of 1, 2, 4, 8 (gray also 16) bits; RGB three or more samples
// and CMYK four or more, of 8 or 16 bits; extra samples are skipped.
std::optional<TiffPixelLayout> ChooseTiffPixelLayout(const TiffImageDescription& description);

// The colour table for pictures of 8 bits or less: black and white for one bit, the colour
// map for palette pictures, otherwise a gray ramp.
void FillTiffColorTable(const TiffImageDescription& description, const TiffPixelLayout& layout,
                        PackedDib& picture);

// Pixels/metre from a resolution and its unit (2 inch, otherwise taken per centimetre).
int TiffPelsPerMeter(uint32_t numerator, uint32_t denominator, uint32_t unit);

// Writes `count` decoded pixels (16-bit samples in the machine's order) into a picture row
// from pixel `first` on, inverting white-is-zero data and converting colour to blue, green, red.
void ConvertTiffPixels(const TiffPixelLayout& layout, const uint8_t* samples, int count,
                       uint8_t* row, int first);

}  // namespace corvelle
