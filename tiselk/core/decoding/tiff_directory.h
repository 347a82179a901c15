#pragma once

#include <cstdint>
#include <optional>
#include <vector>

#include "core/byte_source.h"

namespace corvelle {

// The first directory of a TIFF file as the decoder uses it. Fields start at the values a
// directory that leaves them out implies.
struct TiffImageDescription {
    ByteOrder byteOrder = ByteOrder::kLittleEndian;
    uint32_t width = 100;
    uint32_t height = 100;
    uint32_t bitsPerSample = 1;
    uint32_t samplesPerPixel = 1;
    uint32_t compression = 1;
    uint32_t photometric = 0;
    uint32_t rowsPerStrip = UINT32_MAX;  // unlimited until the directory says otherwise
    uint32_t planarConfiguration = 1;
    uint32_t predictor = 1;
    uint32_t fillOrder = 1;
    uint32_t threshholding = 1;
    uint32_t minSampleValue = 0;
    uint32_t maxSampleValue = 0;
    uint32_t subfileType = 0;
    uint32_t t4Options = 0;
    uint32_t t6Options = 0;
    uint32_t xResolutionNumerator = 300, xResolutionDenominator = 1;
    uint32_t yResolutionNumerator = 300, yResolutionDenominator = 1;
    uint32_t resolutionUnit = 2;  // inch
    std::vector<uint32_t> stripOffsets;
    std::vector<uint32_t> stripByteCounts;
    uint32_t tileWidth = 0;
    uint32_t tileLength = 0;
    std::vector<uint32_t> tileOffsets;
    std::vector<uint32_t> tileByteCounts;
    std::vector<uint16_t> colorMap;
    // Directories in the file, the first included; only the first is decoded.
    int pageCount = 0;

    bool tiled() const { return !tileOffsets.empty(); }
    // Rows per strip limited to the height.
    uint32_t stripRows() const { return rowsPerStrip < height ? rowsPerStrip : height; }
};

// Reads the header and the first directory. None for an unknown byte order mark, a directory
// that cannot be reached, or a value the decoder does not accept for a tag it uses.
std::optional<TiffImageDescription> ReadTiffDescription(ByteSource& source);

}  // namespace corvelle
