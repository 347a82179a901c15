#pragma once

#include <cstdint>
#include <vector>
#include <vips/vips8>

namespace corvelle::testing {

// The picture encoded as the suffix's type (".jpg", ".png", ...), as a file would hold it.
// Here rather than in the support library, which links no picture library.
inline std::vector<uint8_t> Encoded(const vips::VImage& image, const char* suffix) {
    void* buffer = nullptr;
    size_t size = 0;
    image.write_to_buffer(suffix, &buffer, &size);
    std::vector<uint8_t> bytes(static_cast<uint8_t*>(buffer), static_cast<uint8_t*>(buffer) + size);
    g_free(buffer);
    return bytes;
}

}  // namespace corvelle::testing
