#include "core/decoding/imaging_decoder.h"

#include <vips/vips.h>

#include <cstring>
#include <memory>

#include "imaging/imaging.h"
#include "imaging/open_picture.h"

namespace corvelle {

namespace {

struct ImageUnref {
    void operator()(VipsImage* image) const { g_object_unref(image); }
};
using Image = std::unique_ptr<VipsImage, ImageUnref>;

// Runs one library operation that makes a new image from `in`; none on failure.
template <typename Operation>
Image Then(const Image& in, Operation operation) {
    if (!in) return nullptr;
    VipsImage* out = nullptr;
    if (operation(in.get(), &out) != 0) {
        vips_error_clear();
        return nullptr;
    }
    return Image(out);
}

// Gray pictures stay 8-bit gray; everything else becomes 8-bit sRGB, without alpha.
Image ToDisplayBands(const Image& image) {
    const bool gray = image->Bands <= 2 && image->Type != VIPS_INTERPRETATION_sRGB;
    const VipsInterpretation space = gray ? VIPS_INTERPRETATION_B_W : VIPS_INTERPRETATION_sRGB;
    Image out = Then(image, [&](VipsImage* in, VipsImage** o) {
        return vips_colourspace(in, o, space, nullptr);
    });
    if (out && vips_image_hasalpha(out.get())) {
        VipsArrayDouble* white = vips_array_double_newv(1, 255.0);
        out = Then(out, [&](VipsImage* in, VipsImage** o) {
            return vips_flatten(in, o, "background", white, nullptr);
        });
        vips_area_unref(VIPS_AREA(white));
    }
    return Then(out, [](VipsImage* in, VipsImage** o) { return vips_cast_uchar(in, o, nullptr); });
}

}  // namespace

std::optional<PackedDib> DecodeWithImagingLibrary(const std::string& path, PictureType type,
                                                  const PictureLimits& limits) {
    if (!StartImaging("tiselk")) return std::nullopt;
    OpenedPicture header = OpenPictureHeader(path, type);
    if (!header) return std::nullopt;
    const int width = header.image.width(), height = header.image.height();
    if (width <= 0 || height <= 0 || !limits.allows(uint64_t(width), uint64_t(height), 24))
        return std::nullopt;
    OpenedPicture decoded = DecodePicture(header.image, limits, type);
    header = {};
    if (!decoded) return std::nullopt;
    const Image loaded(decoded.image.get_image());
    g_object_ref(loaded.get());
    decoded = {};
    const Image shown = ToDisplayBands(loaded);
    if (!shown || (shown->Bands != 1 && shown->Bands != 3)) return std::nullopt;
    size_t length = 0;
    void* memory = vips_image_write_to_memory(shown.get(), &length);
    if (!memory) {
        vips_error_clear();
        return std::nullopt;
    }
    const std::unique_ptr<uint8_t, decltype(&g_free)> pixels(static_cast<uint8_t*>(memory),
                                                             &g_free);
    const int bands = shown->Bands;
    if (length != size_t(width) * size_t(height) * size_t(bands)) return std::nullopt;
    std::optional<PackedDib> picture = PackedDib::create(width, height, bands == 1 ? 8 : 24);
    if (!picture) return std::nullopt;
    for (int y = 0; y < height; ++y) {
        const uint8_t* from = pixels.get() + size_t(y) * size_t(width) * size_t(bands);
        uint8_t* to = picture->pictureRow(y);
        if (bands == 1) {
            std::memcpy(to, from, size_t(width));
            continue;
        }
        for (int x = 0; x < width;
             ++x, from += 3, to += 3) {  // red, green, blue to blue, green, red
            to[0] = from[2];
            to[1] = from[1];
            to[2] = from[0];
        }
    }
    return picture;
}

std::vector<uint8_t> HeifThumbnailAsJpeg(const std::string& path) {
    // A thumbnail larger than this is no thumbnail: the picture itself will serve.
    constexpr int kLargestThumbnail = 1024;
    if (!StartImaging("tiselk")) return {};
    VipsImage* out = nullptr;
    if (vips_heifload(path.c_str(), &out, "thumbnail", TRUE, nullptr) != 0) {
        vips_error_clear();
        return {};
    }
    const Image loaded(out);
    if (loaded->Xsize > kLargestThumbnail || loaded->Ysize > kLargestThumbnail) return {};
    const Image shown = ToDisplayBands(loaded);
    void* buffer = nullptr;
    size_t length = 0;
    if (!shown || vips_jpegsave_buffer(shown.get(), &buffer, &length, "Q", 90, nullptr) != 0) {
        vips_error_clear();
        return {};
    }
    const std::unique_ptr<uint8_t, decltype(&g_free)> bytes(static_cast<uint8_t*>(buffer), &g_free);
    return std::vector<uint8_t>(bytes.get(), bytes.get() + length);
}

}  // namespace corvelle
