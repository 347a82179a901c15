#include "ui/preview_wnd.h"

#include <QApplication>
#include <QMenu>
#include <QPainter>

#include <algorithm>

CPreviewWnd::CPreviewWnd(QWidget* parent) : QWidget(parent) {
    setAccessibleName(QStringLiteral("Preview Image"));
    setAttribute(Qt::WA_OpaquePaintEvent);
}

void CPreviewWnd::SetShown(bool shown) {
    if (shown == m_bShown) return;
    m_bShown = shown;
    update();
}

void CPreviewWnd::SetCanvas(QImage canvas) {
    m_canvas = std::move(canvas);
    if (m_bShown) update();
}

QRect CPreviewWnd::DrawnRect(QSize control, QSize canvas) {
    if (canvas.isEmpty() || control.isEmpty()) return {};
    const double widthRatio = double(control.width()) / canvas.width();
    const float heightRatio = float(control.height()) / float(canvas.height());
    const double scale = std::min(widthRatio, double(heightRatio));
    const int width = int(canvas.width() * scale);
    const int height = int(canvas.height() * scale);
    return QRect((control.width() - width) / 2, (control.height() - height) / 2, width, height);
}

void CPreviewWnd::paintEvent(QPaintEvent*) {
    if (m_offscreen.size() != size())
        m_offscreen = QImage(size(), QImage::Format_ARGB32_Premultiplied);
    if (m_offscreen.isNull()) return;
    {
        QPainter painter(&m_offscreen);
        painter.fillRect(m_offscreen.rect(), QApplication::palette("QMenu").color(QPalette::Window));
        if (m_bShown && !m_canvas.isNull()) {
            painter.setRenderHint(QPainter::SmoothPixmapTransform);
            painter.drawImage(DrawnRect(size(), m_canvas.size()), m_canvas);
        }
    }
    QPainter(this).drawImage(0, 0, m_offscreen);
}
