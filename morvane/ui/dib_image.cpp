#include "ui/dib_image.h"

#include <QMimeData>
#include <QPainter>

QImage WrapDibRows(const corvelle::PackedDib& dib) {
    const uchar* rows = dib.pixels();
    switch (dib.bitCount()) {
        case 24:
            return QImage(rows, dib.width(), dib.height(), dib.stride(), QImage::Format_BGR888);
        case 8: {
            QImage image(rows, dib.width(), dib.height(), dib.stride(), QImage::Format_Indexed8);
            QList<QRgb> table(256, qRgb(0, 0, 0));
            const int entries = std::min(dib.colorTableCount(), 256);
            for (int i = 0; i < entries; ++i) {
                const uint8_t* bgr = dib.colorEntry(i);
                table[i] = qRgb(bgr[2], bgr[1], bgr[0]);
            }
            image.setColorTable(table);
            return image;
        }
        default:
            return {};
    }
}

void DrawDib(QPainter& painter, const QRectF& target, const corvelle::PackedDib& dib,
             const QRectF& source) {
    const QImage rows = WrapDibRows(dib);
    if (rows.isNull() || target.isEmpty() || source.isEmpty()) return;
    // The rows are stored bottom-up: mirror the target vertically and take the source from
    // the mirrored rows.
    const QRectF flippedSource(source.left(), dib.height() - source.bottom(), source.width(),
                               source.height());
    painter.save();
    painter.setRenderHint(QPainter::SmoothPixmapTransform, false);
    painter.translate(0, target.top() + target.bottom());
    painter.scale(1, -1);
    painter.drawImage(target, rows, flippedSource);
    painter.restore();
}

QImage DibToImage(const corvelle::PackedDib& dib) {
    const QImage rows = WrapDibRows(dib);
    return rows.isNull() ? QImage() : rows.mirrored(false, true);
}

QMimeData* DibMimeData(const corvelle::PackedDib& dib) {
    auto* data = new QMimeData;
    data->setImageData(DibToImage(dib));
    const std::vector<uint8_t> bmp = corvelle::BmpFileBytes(dib);
    data->setData(QStringLiteral("image/bmp"),
                  QByteArray(reinterpret_cast<const char*>(bmp.data()), qsizetype(bmp.size())));
    return data;
}
