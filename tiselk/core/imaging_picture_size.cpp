#include "core/imaging_picture_size.h"

#include <vips/vips.h>

#include "core/imaging.h"

namespace corvelle {

std::optional<PictureSize> ImagingPictureSize(const std::string& path) {
    if (!StartImaging("tiselk")) return std::nullopt;
    // The header only: nothing is decoded until pixels are asked for.
    VipsImage* header =
        vips_image_new_from_file(path.c_str(), "access", VIPS_ACCESS_SEQUENTIAL, nullptr);
    if (!header) {
        vips_error_clear();
        return std::nullopt;
    }
    PictureSize size;
    size.width = uint64_t(header->Xsize);
    size.height = uint64_t(header->Ysize);
    const bool gray = header->Bands <= 2 && header->Type != VIPS_INTERPRETATION_sRGB;
    const uint64_t decoded = size.width * size.height * uint64_t(header->Bands) *
                             uint64_t(vips_format_sizeof(header->BandFmt));
    g_object_unref(header);
    size.pictureBytes = PackedBitmapBytes(size.width, size.height, gray ? 8 : 24);
    size.peakBytes = decoded + size.pictureBytes;
    return size;
}

}  // namespace corvelle
