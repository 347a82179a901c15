#include "core/picture_decoding.h"

#include <algorithm>

#include "core/byte_source.h"

namespace corvelle {

PictureFormat PictureFormatForPath(const std::string& path) {
    const size_t slash = path.find_last_of('/');
    std::string name = slash == std::string::npos ? path : path.substr(slash + 1);
    std::transform(name.begin(), name.end(), name.begin(), [](unsigned char c) {
        return static_cast<char>(c >= 'A' && c <= 'Z' ? c - 'A' + 'a' : c);
    });
    const bool jpeg =
        name.find(".jpg") != std::string::npos || name.find(".jpeg") != std::string::npos;
    return jpeg ? PictureFormat::kJpeg : PictureFormat::kTiff;
}

std::optional<PackedDib> DecodePicture(const std::string& path, const JpegMessageSink& messages,
                                       const PictureLimits& limits) {
    const auto source = FileByteSource::open(path);
    if (!source) return std::nullopt;
    if (PictureFormatForPath(path) == PictureFormat::kJpeg) {
        return DecodeJpeg(*source, messages, limits);
    }
    return DecodeTiff(*source, limits);
}

}  // namespace corvelle
