#include "ui/dib_drawing.h"

#include <QPainter>

#include <algorithm>
#include <vector>

namespace corvelle {

namespace {

// The colour table as ready pixels; empty for 24-bit pictures.
std::vector<QRgb> Palette(const PackedDib& dib) {
    std::vector<QRgb> palette;
    if (dib.bitCount() > 8) return palette;
    const int count = std::max(dib.colorTableCount(), 1 << dib.bitCount());
    palette.resize(size_t(count), qRgb(0, 0, 0));
    for (int i = 0; i < std::min(count, dib.colorTableCount()); ++i) {
        const uint8_t* entry = dib.colorEntry(i);
        palette[size_t(i)] = qRgb(entry[2], entry[1], entry[0]);
    }
    return palette;
}

QRgb PixelAt(const uint8_t* row, int x, int bits, const std::vector<QRgb>& palette) {
    switch (bits) {
        case 24: {
            const uint8_t* p = row + 3 * size_t(x);
            return qRgb(p[2], p[1], p[0]);
        }
        case 32: {
            const uint8_t* p = row + 4 * size_t(x);
            return qRgb(p[2], p[1], p[0]);
        }
        case 8:
            return palette[row[x]];
        case 4:
            return palette[(row[x / 2] >> (x % 2 ? 0 : 4)) & 0x0F];
        case 1:
            return palette[(row[x / 8] >> (7 - x % 8)) & 1];
        default:
            return qRgb(0, 0, 0);
    }
}

}  // namespace

QImage SampleDib(const PackedDib& dib, const QSize& target, const QRect& clip) {
    const QRect area = clip.intersected(QRect(QPoint(0, 0), target));
    QImage image(area.size(), QImage::Format_RGB32);
    if (area.isEmpty()) return image;
    const int w = dib.width();
    const int h = dib.height();
    const int bits = dib.bitCount();
    const std::vector<QRgb> palette = Palette(dib);
    if (bits <= 8 && palette.empty()) return image;
    std::vector<int> columns(size_t(area.width()));
    for (int x = 0; x < area.width(); ++x)
        columns[size_t(x)] =
            std::min(int(int64_t(area.left() + x) * w / target.width()), w - 1);
    for (int y = 0; y < area.height(); ++y) {
        const int sourceY = std::min(int(int64_t(area.top() + y) * h / target.height()), h - 1);
        const uint8_t* row = dib.pictureRow(sourceY);
        auto* out = reinterpret_cast<QRgb*>(image.scanLine(y));
        for (int x = 0; x < area.width(); ++x) out[x] = PixelAt(row, columns[size_t(x)], bits, palette);
    }
    return image;
}

void DrawDib(QPainter& painter, const PackedDib& dib, const QRect& target, const QRect& clip) {
    if (target.isEmpty() || dib.width() <= 0 || dib.height() <= 0) return;
    const QRect area = clip.intersected(target);
    if (area.isEmpty()) return;
    const QImage image = SampleDib(dib, target.size(), area.translated(-target.topLeft()));
    painter.drawImage(area.topLeft(), image);
}

}  // namespace corvelle
