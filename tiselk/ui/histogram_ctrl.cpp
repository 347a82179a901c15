#include "ui/histogram_ctrl.h"

#include <QPainter>
#include <QPolygon>

#include "core/histogram/histogram_plot.h"

namespace {

QColor ToColor(corvelle::Rgb rgb) { return QColor(rgb.red, rgb.green, rgb.blue); }

}  // namespace

CHistogramCtrl::CHistogramCtrl(QWidget* parent) : QFrame(parent) {
    setFrameStyle(QFrame::Box | QFrame::Sunken);
    setAccessibleName(QStringLiteral("Histogram"));
}

void CHistogramCtrl::SetPicture(corvelle::PictureHandle picture) {
    const corvelle::HistogramCounts counts = corvelle::CountHistogram(picture.get());
    SetPicture(std::move(picture), counts);
}

void CHistogramCtrl::SetPicture(corvelle::PictureHandle picture,
                                const corvelle::HistogramCounts& counts) {
    m_hPicture = std::move(picture);
    m_counts = m_hPicture ? counts : corvelle::HistogramCounts{};
}

void CHistogramCtrl::SetChannel(int channel) {
    if (channel == m_nChannel) return;
    m_nChannel = channel;
    update();
}

void CHistogramCtrl::paintEvent(QPaintEvent* event) {
    QFrame::paintEvent(event);
    QPainter painter(this);
    const QRect client = contentsRect();
    const int left = client.left();
    const int top = client.top();
    const int bottom = client.bottom() + 1;
    const corvelle::Rgb colour = corvelle::ChannelColour(m_nChannel);

    for (const corvelle::GradientStrip& strip :
         corvelle::GradientStrips(colour, left, corvelle::kHistogramWidth)) {
        painter.fillRect(QRect(strip.left, top, strip.right - strip.left, 20),
                         ToColor(strip.colour));
    }
    for (int zone = 0; zone < corvelle::kZoneCount; ++zone) {
        const int grey = corvelle::ZoneGrey(zone);
        painter.fillRect(QRect(left + corvelle::ZoneLeft(zone), top + 22, corvelle::ZoneWidth(zone),
                               (bottom - 20) - (top + 22)),
                         QColor(grey, grey, grey));
    }
    if (!m_hPicture) return;

    const corvelle::HistogramTable& table = m_counts.tables[size_t(m_nChannel)];
    QPolygon polygon;
    for (const corvelle::PlotPoint& point : corvelle::HistogramPolygon(table, left, top, bottom))
        polygon << QPoint(point.x, point.y);
    painter.setPen(Qt::black);
    painter.setBrush(ToColor(colour));
    painter.drawPolygon(polygon);

    const int mean = corvelle::HistogramMean(table);
    painter.fillRect(QRect(QPoint(left - 6, bottom - 18), QPoint(left + 255, bottom - 1)),
                     palette().color(QPalette::Button));
    const QPoint triangle[3] = {QPoint(left + mean, bottom - 18),
                                QPoint(left + mean - 6, bottom - 8),
                                QPoint(left + mean + 6, bottom - 8)};
    painter.drawPolygon(triangle, 3);
}
