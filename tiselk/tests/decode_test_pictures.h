#pragma once

// Test inputs for the decoders: TIFF files written by libtiff with the layout and coding a
// test asks for, and JPEGs libjpeg encodes in colour spaces the shared builder leaves out.

#include <cstdint>
#include <string>
#include <vector>

namespace corvelle::testing {

struct TiffWriteOptions {
    int width = 8;
    int height = 4;
    int samplesPerPixel = 1;
    int bitsPerSample = 8;
    int photometric = 1;
    int compression = 1;
    int predictor = 1;
    int rowsPerStrip = 0;  // 0: libtiff's choice
    int planar = 1;
    int fillOrder = 1;
    int tileWidth = 0;  // tiles when non-zero
    int tileLength = 0;
    bool bigEndian = false;
    std::vector<uint16_t> colorMap;  // red, green, blue runs of 2^bits each
    int extraPages = 0;
};

// Writes rows of chunky samples (16-bit samples in the machine's order) as a TIFF file.
bool WriteTestTiff(const std::string& path, const TiffWriteOptions& options,
                   const std::vector<uint8_t>& samples);

}  // namespace corvelle::testing
