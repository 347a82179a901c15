#include "core/photo_file.h"

#include <fcntl.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

#include "core/jpeg_file.h"
#include "core/picture_photo.h"
#include "core/picture_types.h"

namespace corvelle {

std::string PhotoFilePatterns() {
    std::string patterns;
    for (const PictureTypeInfo& info : PictureTypes()) {
        if (info.kind != PictureKind::kPicture) continue;
        for (std::string_view extension : info.extensions) {
            if (extension.empty()) continue;
            if (!patterns.empty()) patterns += ' ';
            patterns.append("*").append(extension);
        }
    }
    return patterns;
}

std::optional<LoadedPhoto> LoadPhotoFile(const std::string& path, std::string* errorMessage) {
    // JPEG and every name of no type Morvane knows go to its own JPEG decoder, as ever;
    // today's picture files to the imaging library's loader of their type.
    const std::optional<PictureType> type = PictureTypeOfName(path);
    if (!type || *type == PictureType::kJpeg) {
        std::optional<PackedDib> dib = LoadJpegFile(path, errorMessage);
        if (!dib) return std::nullopt;
        return LoadedPhoto{std::move(*dib), std::nullopt};
    }
    const PictureTypeInfo& info = PictureTypeInfoOf(*type);
    if (info.kind != PictureKind::kPicture) {
        if (errorMessage != nullptr)
            *errorMessage = "cannot decode: Morvane does not open " + std::string(info.name) + " files";
        return std::nullopt;
    }
    // The same first line as for a JPEG when the file cannot be read at all.
    const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK);
    if (fd < 0) {
        if (errorMessage != nullptr) *errorMessage = std::string("cannot open: ") + std::strerror(errno);
        return std::nullopt;
    }
    ::close(fd);
    return LoadPictureWithImaging(path, *type, errorMessage);
}

}  // namespace corvelle
