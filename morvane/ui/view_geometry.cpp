#include "ui/view_geometry.h"

#include <algorithm>

#include "core/mul_div.h"

using corvelle::MulDiv;

int NextZoom(int zoom) {
    const auto* it = std::find(kZoomList.begin(), kZoomList.end(), zoom);
    return it == kZoomList.end() || it + 1 == kZoomList.end() ? zoom : *(it + 1);
}

int PreviousZoom(int zoom) {
    const auto* it = std::find(kZoomList.begin(), kZoomList.end(), zoom);
    return it == kZoomList.end() || it == kZoomList.begin() ? zoom : *(it - 1);
}

int LimitZoom(int zoom) { return std::clamp(zoom, kMinZoom, kMaxZoom); }

int ReadLeadingNumber(const QString& text) {
    const QString number = text.section(u'%', 0, 0);
    qsizetype i = 0;
    while (i < number.size() && number[i].isSpace()) ++i;
    bool negative = false;
    if (i < number.size() && (number[i] == u'-' || number[i] == u'+')) {
        negative = number[i] == u'-';
        ++i;
    }
    long long value = 0;
    for (; i < number.size() && number[i] >= u'0' && number[i] <= u'9'; ++i) {
        value = std::min<long long>(value * 10 + (number[i].unicode() - u'0'), 1LL << 31);
    }
    value = negative ? -value : value;
    return int(std::clamp<long long>(value, INT32_MIN, INT32_MAX));
}

QString PercentText(int value) { return QString::asprintf("%i%%", value); }

PicturePlacement FitPlacement(const QRect& client, int width, int height) {
    PicturePlacement placement;
    if (width <= 0 || height <= 0 || client.isEmpty()) return placement;
    const int c = client.width();
    const int d = client.height();
    const double f = double(width) / double(height);
    if (double(c) / double(d) > f) {
        const int w = int(f * d);
        placement.rect = QRect(client.left() + (c - w) / 2, client.top(), w, d);
    } else {
        const int h = int(c / f);
        placement.rect = QRect(client.left(), client.top() + (d - h) / 2, c, h);
    }
    placement.scale = std::max(1, MulDiv(placement.rect.width(), 100, width));
    return placement;
}

PicturePlacement ZoomPlacement(int width, int height, int zoom, QPoint scrollPosition) {
    PicturePlacement placement;
    placement.scale = zoom;
    placement.rect = QRect(-scrollPosition.x(), -scrollPosition.y(), MulDiv(width, zoom, 100),
                           MulDiv(height, zoom, 100));
    return placement;
}

QRect ToQRect(const corvelle::DibRect& rect) {
    return QRect(QPoint(rect.left, rect.top), QSize(rect.width(), rect.height()));
}

corvelle::DibRect ToDibRect(const QRect& rect) {
    return {rect.left(), rect.top(), rect.left() + rect.width(), rect.top() + rect.height()};
}

std::optional<QPoint> ViewToPicture(const PicturePlacement& placement, QPoint point, int width,
                                    int height) {
    if (placement.scale <= 0 || width <= 0 || height <= 0 || !placement.rect.contains(point)) {
        return std::nullopt;
    }
    // Rounding may carry the last screen pixel one past the picture; it still shows the last
    // picture pixel.
    const int x = MulDiv(point.x() - placement.rect.left(), 100, placement.scale);
    const int y = MulDiv(point.y() - placement.rect.top(), 100, placement.scale);
    return QPoint(std::clamp(x, 0, width - 1), std::clamp(y, 0, height - 1));
}
