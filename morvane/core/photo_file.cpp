#include "core/photo_file.h"

#include "core/jpeg_file.h"

namespace corvelle {

std::optional<LoadedPhoto> LoadPhotoFile(const std::string& path, std::string* errorMessage) {
    std::optional<PackedDib> dib = LoadJpegFile(path, errorMessage);
    if (!dib) return std::nullopt;
    return LoadedPhoto{std::move(*dib), std::nullopt};
}

}  // namespace corvelle
