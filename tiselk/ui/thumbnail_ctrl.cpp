#include "ui/thumbnail_ctrl.h"

#include <QMouseEvent>
#include <QPainter>
#include <QPaintEvent>

#include "core/view_geometry.h"
#include "ui/dib_drawing.h"

using corvelle::ViewRect;

CThumbnailCtrl::CThumbnailCtrl(QWidget* parent) : QWidget(parent) {
    setAccessibleName(QStringLiteral("Thumbnail"));
    setAttribute(Qt::WA_OpaquePaintEvent);
}

void CThumbnailCtrl::SetPicture(corvelle::PictureHandle picture, const QString& path) {
    m_hPicture = std::move(picture);
    m_strPath = path;
    if (m_strPath.isEmpty()) {
        unsetCursor();
    } else {
        setCursor(Qt::PointingHandCursor);
    }
    repaint();
}

QRect CThumbnailCtrl::PictureRect() const {
    if (!m_hPicture) return {};
    const ViewRect client{0, 0, width(), height()};
    const ViewRect natural = corvelle::CentredRect(m_hPicture->width(), m_hPicture->height(), client);
    const ViewRect shown = corvelle::FitDownInto(natural, client);
    return QRect(shown.left, shown.top, shown.width(), shown.height());
}

void CThumbnailCtrl::paintEvent(QPaintEvent* event) {
    QPainter painter(this);
    painter.fillRect(event->rect(), Qt::white);
    if (m_hPicture) corvelle::DrawDib(painter, *m_hPicture, PictureRect(), event->rect());
}

void CThumbnailCtrl::mousePressEvent(QMouseEvent* event) {
    if (event->button() == Qt::LeftButton && !m_strPath.isEmpty()) {
        emit ViewRequested();
        return;
    }
    QWidget::mousePressEvent(event);
}
