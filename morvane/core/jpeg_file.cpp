#include "core/jpeg_file.h"

#include <cstring>

namespace corvelle {

std::optional<PackedDib> LoadJpegFile(const std::string&, std::string* errorMessage) {
    if (errorMessage != nullptr) *errorMessage = "not built yet";
    return std::nullopt;
}

std::optional<PackedDib> LoadJpegBytes(std::span<const uint8_t>, std::string* errorMessage,
                                       uint64_t) {
    if (errorMessage != nullptr) *errorMessage = "not built yet";
    return std::nullopt;
}

bool SaveJpegFile(const std::string&, const PackedDib&, int, std::string* errorMessage) {
    if (errorMessage != nullptr) *errorMessage = "not built yet";
    return false;
}

int PelsPerMeterFromJfifDensity(int unit, int density) {
    if (unit == kJfifUnitDotsPerInch) return int(int64_t(density) * 3937 / 100);
    return density * 100;
}

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
