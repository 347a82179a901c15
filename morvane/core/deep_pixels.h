#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

namespace corvelle {

// The 16-bit channels of a photo whose file had more than 8 bits a channel, kept beside its
// 8-bit picture only for the high-bit gray export: red, green, blue, top row first.
struct DeepPixels {
    int width = 0;
    int height = 0;
    std::vector<uint16_t> rgb;

    uint16_t* pixel(int x, int y) { return rgb.data() + 3 * (size_t(y) * size_t(width) + size_t(x)); }
    const uint16_t* pixel(int x, int y) const {
        return rgb.data() + 3 * (size_t(y) * size_t(width) + size_t(x));
    }
};

}  // namespace corvelle
