#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <utility>
#include <vector>

namespace corvelle {

// Where a picture was taken: decimal degrees, south and west negative; metres above sea level
// (below it negative) when the file says.
struct GpsPosition {
    double latitude = 0;
    double longitude = 0;
    std::optional<double> altitude;
};

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
    std::optional<GpsPosition> gps;

    std::vector<std::string> reportLines;  // each ends with "\r\n"
    size_t reportBytes = 0;                // their total length, kept by AppendReportLine
};

// A report longer than this comes only from a hostile file (thousands of entries all
// pointing at the same long text); lines past it are left out.
inline constexpr size_t kReportBudget = size_t{1} << 20;

// Appends a line unless the report has reached its budget.
inline void AppendReportLine(ExifSummary& summary, std::string line) {
    if (summary.reportBytes + line.size() > kReportBudget) return;
    summary.reportBytes += line.size();
    summary.reportLines.push_back(std::move(line));
}

// The report lines concatenated in order, nothing between them.
std::string JoinReport(const ExifSummary& summary);

}  // namespace corvelle
