#include "core/picture_photo.h"

#include <cmath>
#include <cstring>
#include <memory>

#include "imaging/imaging.h"
#include "imaging/open_picture.h"

namespace corvelle {

namespace {

using vips::VImage;

bool Fail(std::string* errorMessage, const std::string& reason) {
    if (errorMessage != nullptr) *errorMessage = "cannot decode: " + reason;
    return false;
}

// Pixels per metre from the library's pixels per millimetre.
int PelsPerMeter(double perMillimetre) {
    const double perMetre = std::round(perMillimetre * 1000.0);
    return perMetre > 0 && perMetre < 1e9 ? int(perMetre) : 0;
}

bool IsDeep(const VImage& image) {
    return image.format() != VIPS_FORMAT_UCHAR && image.format() != VIPS_FORMAT_CHAR;
}

// Into sRGB (or gray) of 8 or 16 bits, without transparency.
VImage Normalised(VImage image, bool turnUpright) {
    if (turnUpright) image = image.autorot();
    const bool deep = IsDeep(image);
    if (image.get_typeof(VIPS_META_ICC_NAME) != 0) {
        try {
            image = image.icc_transform("srgb", VImage::option()
                                                    ->set("embedded", true)
                                                    ->set("depth", deep ? 16 : 8));
        } catch (const vips::VError&) {
            // A damaged profile: the pixels are taken as they are, like those without one.
            vips_error_clear();
        }
    }
    if (image.has_alpha())
        image = image.flatten(VImage::option()->set("background", deep ? 65535.0 : 255.0));
    const bool gray = image.bands() == 1;
    const VipsInterpretation target =
        gray ? (deep ? VIPS_INTERPRETATION_GREY16 : VIPS_INTERPRETATION_B_W)
             : (deep ? VIPS_INTERPRETATION_RGB16 : VIPS_INTERPRETATION_sRGB);
    if (image.interpretation() != target) image = image.colourspace(target);
    const VipsBandFormat format = deep ? VIPS_FORMAT_USHORT : VIPS_FORMAT_UCHAR;
    if (image.format() != format) image = image.cast(format);
    return image;
}

uint8_t Eight(uint16_t sample) { return uint8_t((uint32_t(sample) + 128) / 257); }

}  // namespace

std::optional<LoadedPhoto> PhotoFromImage(VImage image, bool turnUpright,
                                          std::string* errorMessage) {
    try {
        image = Normalised(std::move(image), turnUpright);
        const int width = image.width(), height = image.height(), bands = image.bands();
        if (bands != 1 && bands != 3) {
            Fail(errorMessage, "unsupported picture with " + std::to_string(bands) + " bands");
            return std::nullopt;
        }
        const bool deep = image.format() == VIPS_FORMAT_USHORT;
        std::optional<PackedDib> dib = PackedDib::create(width, height, bands == 1 ? 8 : 24);
        if (!dib) {
            Fail(errorMessage, "picture too large (" + std::to_string(width) + " x " +
                                   std::to_string(height) + ")");
            return std::nullopt;
        }
        dib->setPelsPerMeter(PelsPerMeter(image.xres()), PelsPerMeter(image.yres()));
        size_t length = 0;
        const std::unique_ptr<void, decltype(&g_free)> memory(image.write_to_memory(&length),
                                                              &g_free);
        LoadedPhoto photo{std::move(*dib), std::nullopt};
        if (deep) photo.deep = DeepPixels{width, height, std::vector<uint16_t>(size_t(width) * height * 3)};
        const size_t rowSamples = size_t(width) * bands;
        for (int y = 0; y < height; ++y) {
            uint8_t* out = photo.dib.pictureRow(y);
            if (deep) {
                const auto* in = static_cast<const uint16_t*>(memory.get()) + rowSamples * y;
                uint16_t* kept = photo.deep->pixel(0, y);
                for (int x = 0; x < width; ++x, in += bands, kept += 3) {
                    kept[0] = in[0];
                    kept[1] = in[bands == 1 ? 0 : 1];
                    kept[2] = in[bands == 1 ? 0 : 2];
                    if (bands == 1) {
                        out[x] = Eight(in[0]);
                    } else {
                        out[3 * x] = Eight(in[2]);
                        out[3 * x + 1] = Eight(in[1]);
                        out[3 * x + 2] = Eight(in[0]);
                    }
                }
            } else {
                const auto* in = static_cast<const uint8_t*>(memory.get()) + rowSamples * y;
                if (bands == 1) {
                    std::memcpy(out, in, size_t(width));
                } else {
                    for (int x = 0; x < width; ++x, in += 3, out += 3) {
                        out[0] = in[2];
                        out[1] = in[1];
                        out[2] = in[0];
                    }
                }
            }
        }
        return photo;
    } catch (const vips::VError& error) {
        Fail(errorMessage, error.what());
        vips_error_clear();
        return std::nullopt;
    }
}

std::optional<LoadedPhoto> LoadPictureWithImaging(const std::string& path, PictureType type,
                                                  std::string* errorMessage,
                                                  const PictureLimits& budget) {
    if (!StartImaging("morvane")) {
        Fail(errorMessage, "the imaging library does not start");
        return std::nullopt;
    }
    OpenedPicture opened = OpenPicture(path, type, budget);
    if (!opened) {
        Fail(errorMessage, opened.problem);
        return std::nullopt;
    }
    return PhotoFromImage(std::move(opened.image), !PictureTypeInfoOf(type).decoderTurnsUpright,
                          errorMessage);
}

}  // namespace corvelle
