#include "ui/spread_preview.h"

#include <QMouseEvent>
#include <QPainter>

#include <algorithm>
#include <cstring>

#include "core/mul_div.h"
#include "ui/dib_image.h"
#include "ui/resource_ids.h"

using corvelle::MulDiv;
using corvelle::PackedDib;

CSpreadPreview::CSpreadPreview(QWidget* parent) : QFrame(parent) {
    setObjectName(QStringLiteral("control%1").arg(IDC_SPREAD_PREVIEW));
    setFrameShape(QFrame::Box);
    setLineWidth(1);
    setCursor(Qt::SizeAllCursor);
}

void CSpreadPreview::Init(const PackedDib* source, corvelle::NoiseFilterSettings settings,
                          corvelle::ProgressReporter* progress) {
    m_pSource = source;
    m_settings = corvelle::NoiseFilterSettings::limited(settings.threshold, settings.regionSize);
    m_pProgress = progress;
    const QSize client = contentsRect().size();
    m_buffer = PackedDib::create(2 * client.width(), 2 * client.height(), source->bitCount());
    if (!m_buffer) return;
    m_buffer->setPelsPerMeter(source->xPelsPerMeter(), source->yPelsPerMeter());
    // The middle of the photo; a photo smaller than the buffer starts at its corner.
    m_origin = QPoint(std::max(0, (source->width() - m_buffer->width()) / 2),
                      std::max(0, (source->height() - m_buffer->height()) / 2));
    FillBuffer();
    update();
}

QPoint CSpreadPreview::MaxOrigin() const {
    if (!m_pSource || !m_buffer) return {};
    return QPoint(std::max(0, m_pSource->width() - m_buffer->width()),
                  std::max(0, m_pSource->height() - m_buffer->height()));
}

void CSpreadPreview::FillBuffer() {
    if (!m_pSource || !m_buffer) return;
    // Only the part of the photo that overlaps the buffer is copied.
    const int bytesPerPixel = m_pSource->bytesPerPixel();
    const int columns = std::min(m_buffer->width(), m_pSource->width() - m_origin.x());
    const int rows = std::min(m_buffer->height(), m_pSource->height() - m_origin.y());
    m_filledSize = QSize(std::max(0, columns), std::max(0, rows));
    if (columns <= 0 || rows <= 0) return;
    for (int y = 0; y < rows; ++y) {
        std::memcpy(m_buffer->pictureRow(y),
                    m_pSource->pictureRow(m_origin.y() + y) + m_origin.x() * bytesPerPixel,
                    size_t(columns) * bytesPerPixel);
    }
}

void CSpreadPreview::Refilter() {
    if (!m_buffer) return;
    FillBuffer();
    // A photo smaller than the buffer fills only part of it; its own edges stay the edges.
    corvelle::ApplyNoiseFilterToArea(m_settings, *m_buffer, m_filledSize.width(),
                                     m_filledSize.height(), m_pProgress);
    update();
}

void CSpreadPreview::SetSettings(corvelle::NoiseFilterSettings settings) {
    m_settings = corvelle::NoiseFilterSettings::limited(settings.threshold, settings.regionSize);
    Refilter();
}

void CSpreadPreview::SetZoom(int zoom) {
    m_nZoom = std::max(1, zoom);
    update();
}

void CSpreadPreview::paintEvent(QPaintEvent* event) {
    QFrame::paintEvent(event);
    if (!m_buffer || !m_pSource) return;
    QPainter painter(this);
    const QRect client = contentsRect();
    painter.fillRect(client, Qt::black);
    const QSizeF shown(MulDiv(client.width(), 100, m_nZoom), MulDiv(client.height(), 100, m_nZoom));
    if (!m_bShowSource) {
        DrawDib(painter, client, *m_buffer, QRectF(QPointF(0, 0), shown));
        return;
    }
    // While dragging, the unfiltered photo at the new origin, cut to the photo's edges.
    const QRectF wanted(m_origin, shown);
    const QRectF source = wanted & QRectF(0, 0, m_pSource->width(), m_pSource->height());
    if (source.isEmpty()) return;
    const double sx = client.width() / shown.width();
    const double sy = client.height() / shown.height();
    const QRectF target(client.left() + (source.left() - wanted.left()) * sx,
                        client.top() + (source.top() - wanted.top()) * sy, source.width() * sx,
                        source.height() * sy);
    DrawDib(painter, target, *m_pSource, source);
}

void CSpreadPreview::mousePressEvent(QMouseEvent* event) {
    if (event->button() != Qt::LeftButton) return;
    m_bDragging = true;
    m_dragStart = event->position().toPoint();
    m_dragStartOrigin = m_origin;
}

void CSpreadPreview::mouseMoveEvent(QMouseEvent* event) {
    if (!m_bDragging || !(event->buttons() & Qt::LeftButton)) return;
    // The origin moves against the mouse, measured from where the drag began so that
    // slow moves at a high zoom still add up.
    const QPoint moved = event->position().toPoint() - m_dragStart;
    const QPoint limit = MaxOrigin();
    const QPoint origin(
        std::clamp(m_dragStartOrigin.x() - MulDiv(moved.x(), 100, m_nZoom), 0, limit.x()),
        std::clamp(m_dragStartOrigin.y() - MulDiv(moved.y(), 100, m_nZoom), 0, limit.y()));
    if (origin == m_origin) return;
    m_origin = origin;
    m_bShowSource = true;
    repaint();
}

void CSpreadPreview::mouseReleaseEvent(QMouseEvent* event) {
    if (event->button() != Qt::LeftButton || !m_bDragging) return;
    m_bDragging = false;
    m_bShowSource = false;
    Refilter();
}
