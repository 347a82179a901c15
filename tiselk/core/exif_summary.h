#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace corvelle {

// What one parse learns about a picture: the basic information the dialog shows, the tag
// report lines and where the embedded thumbnail lies. Every text is UTF-8 (texts from the
// file went through FileTextToUtf8). Nothing in it points into the metadata block.
struct ExifSummary {
    int64_t exifDirectoryPosition = 0;  // 0 = not found
    uint32_t interoperabilityOffset = 0;
    int64_t thumbnailPosition = 0;  // data position in the block, 0 = not found
    uint32_t thumbnailLength = 0;
    // The thumbnail's bytes, copied out of the block when they lie wholly inside it.
    std::vector<uint8_t> thumbnailJpeg;
    uint32_t width = 0;
    uint32_t height = 0;
    int64_t fileSize = 0;
    double exposureSeconds = 0;
    double fNumber = 0;

    std::string model;
    std::string dateTime;
    std::string focalLength;
    std::string flash;
    std::string iso;
    std::string shutter;
    std::string exposureBias;
    std::string aperture;
    std::string exifVersion;
    std::string metering;
    std::string lightValue;

    std::vector<std::string> reportLines;  // each ends with "\r\n"
};

// The report lines concatenated in order, nothing between them.
std::string JoinReport(const ExifSummary& summary);

}  // namespace corvelle
