#include "core/gray16_picture.h"

#include <array>
#include <algorithm>

namespace corvelle {

namespace {

// The weighted sum of each colour-table entry (blue, green, red, reserved).
std::array<uint32_t, 256> SumsOfColorTable(const PackedDib& photo) {
    std::array<uint32_t, 256> sums{};
    const int entries = std::min(photo.colorTableCount(), 256);
    for (int i = 0; i < entries; ++i) {
        const uint8_t* entry = photo.colorEntry(i);
        sums[size_t(i)] = 30u * entry[2] + 59u * entry[1] + 11u * entry[0];
    }
    return sums;
}

}  // namespace

std::optional<Gray16Picture> Gray16FromPhoto(const PackedDib& photo, const DeepPixels* deep,
                                             const DibRect& requested) {
    const DibRect frame = requested.width() > 0 && requested.height() > 0
                              ? requested
                              : DibRect{0, 0, photo.width(), photo.height()};
    if (frame.left < 0 || frame.top < 0 || frame.right > photo.width() ||
        frame.bottom > photo.height() || frame.width() <= 0 || frame.height() <= 0)
        return std::nullopt;
    if (deep != nullptr && (deep->width != photo.width() || deep->height != photo.height()))
        return std::nullopt;
    const int bitCount = photo.bitCount();
    if (deep == nullptr && bitCount != 24 && bitCount != 8) return std::nullopt;

    Gray16Picture gray;
    gray.width = frame.width();
    gray.height = frame.height();
    gray.xPelsPerMeter = photo.xPelsPerMeter();
    gray.yPelsPerMeter = photo.yPelsPerMeter();
    gray.samples.resize(size_t(gray.width) * size_t(gray.height));
    const std::array<uint32_t, 256> tableSums = SumsOfColorTable(photo);

    uint16_t* out = gray.samples.data();
    for (int y = frame.top; y < frame.bottom; ++y) {
        if (deep != nullptr) {
            for (int x = frame.left; x < frame.right; ++x) {
                const uint16_t* rgb = deep->pixel(x, y);
                *out++ = Gray16FromSum16(30u * rgb[0] + 59u * rgb[1] + 11u * rgb[2]);
            }
        } else if (bitCount == 24) {
            const uint8_t* bgr = photo.pictureRow(y) + 3 * size_t(frame.left);
            for (int x = frame.left; x < frame.right; ++x, bgr += 3)
                *out++ = Gray16FromSum8(30u * bgr[2] + 59u * bgr[1] + 11u * bgr[0]);
        } else {
            const uint8_t* index = photo.pictureRow(y) + frame.left;
            for (int x = frame.left; x < frame.right; ++x, ++index)
                *out++ = Gray16FromSum8(tableSums[*index]);
        }
    }
    return gray;
}

}  // namespace corvelle
