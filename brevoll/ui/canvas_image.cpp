#include "ui/canvas_image.h"

#include <algorithm>

namespace {

constexpr int kLargestSide = 1600;

}  // namespace

QImage CanvasToImage(const vips::VImage& canvas) {
    if (canvas.width() <= 0 || canvas.height() <= 0) return {};
    try {
        vips::VImage image = canvas;
        const int side = std::max(image.width(), image.height());
        if (side > kLargestSide) image = image.resize(double(kLargestSide) / side);
        if (image.bands() == 1) image = image.bandjoin({image, image});
        if (image.bands() > 3) image = image.extract_band(0, vips::VImage::option()->set("n", 3));
        if (image.format() != VIPS_FORMAT_UCHAR) image = image.cast(VIPS_FORMAT_UCHAR);
        size_t size = 0;
        void* pixels = image.write_to_memory(&size);
        QImage picture(static_cast<const uchar*>(pixels), image.width(), image.height(),
                       image.width() * 3, QImage::Format_RGB888);
        QImage copy = picture.copy();
        g_free(pixels);
        return copy;
    } catch (const vips::VError&) {
        return {};
    }
}
