#pragma once

#include <cstdint>
#include <optional>
#include <string>

#include "core/exif/exif_block.h"
#include "core/exif/exif_entry.h"
#include "core/exif/exif_summary.h"

namespace corvelle {

// What the GPS directory's entries say, gathered as the walk meets them: each entry gives its
// report line, and the position is put together once the directory is done, whatever the
// order of its entries.
class GpsReading {
  public:
    // Notes what the entry says of the position and returns its line: a readable one for the
    // tags of a position, a time and a date; for the others the unknown-tag rule's value part
    // after the tag's GPS name or "GPS(0x%04x)".
    std::optional<std::string> take(const ExifBlockReader& reader, const ExifEntry& entry);

    // Latitude and longitude in decimal degrees (south and west negative) when both were
    // usable and on the globe; the altitude in metres (below sea level negative) when it was.
    std::optional<GpsPosition> position() const;

  private:
    char m_letters[0x20] = {};  // the first letter of each text entry, by tag
    std::optional<double> m_latitude;
    std::optional<double> m_longitude;
    std::optional<double> m_altitude;
    bool m_belowSeaLevel = false;
};

// Degrees with six decimals, "-0.000000" written as "0.000000".
std::string FormatDegrees(double degrees);

// The OpenStreetMap page centred on the position, with a marker.
std::string MapUrl(const GpsPosition& position);

}  // namespace corvelle
