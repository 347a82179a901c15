#include <cstring>

#include "core/jpeg_file.h"

namespace corvelle {

int JfifDotsPerCentimetreFromPelsPerMeter(int pelsPerMeter) { return pelsPerMeter / 100; }

void CopyRowSwap(uint8_t* destination, const uint8_t* source, int width, int components) {
    if (components != 3) {
        std::memcpy(destination, source, size_t(width));
        return;
    }
    for (int x = 0; x < width; ++x, destination += 3, source += 3) {
        destination[0] = source[2];
        destination[1] = source[1];
        destination[2] = source[0];
    }
}

}  // namespace corvelle
