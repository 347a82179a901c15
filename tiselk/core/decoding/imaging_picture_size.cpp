#include "core/decoding/imaging_picture_size.h"

#include "imaging/imaging.h"
#include "imaging/open_picture.h"

namespace corvelle {

std::optional<PictureSize> ImagingPictureSize(const std::string& path, PictureType type) {
    if (!StartImaging("tiselk")) return std::nullopt;
    // The header only: nothing is decoded until pixels are asked for.
    const OpenedPicture header = OpenPictureHeader(path, type);
    if (!header || header.image.width() <= 0 || header.image.height() <= 0) return std::nullopt;
    PictureSize size;
    size.width = uint64_t(header.image.width());
    size.height = uint64_t(header.image.height());
    const bool gray =
        header.image.bands() <= 2 && header.image.interpretation() != VIPS_INTERPRETATION_sRGB;
    size.pictureBytes = PackedBitmapBytes(size.width, size.height, gray ? 8 : 24);
    size.peakBytes = DecodedBytes(header.image) + size.pictureBytes;
    return size;
}

}  // namespace corvelle
