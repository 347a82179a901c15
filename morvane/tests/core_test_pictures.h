#pragma once

// Small pictures for the core tests, addressed in picture coordinates (row 0 at the top).

#include <cstdint>
#include <functional>

#include "core/gray_rendering.h"
#include "core/packed_dib.h"

namespace corvelle::testing {

inline PackedDib MakeColourDib(int width, int height,
                               const std::function<GrayPixel(int x, int y)>& pixel) {
    PackedDib dib = *PackedDib::create(width, height, 24);
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x) {
            const GrayPixel p = pixel(x, y);
            uint8_t* at = dib.pictureRow(y) + 3 * x;
            at[0] = p.blue;
            at[1] = p.green;
            at[2] = p.red;
        }
    }
    return dib;
}

inline GrayPixel PixelAt(const PackedDib& dib, int x, int y) {
    const uint8_t* at = dib.pictureRow(y) + 3 * x;
    return {at[0], at[1], at[2]};
}

}  // namespace corvelle::testing
