#include "ui/toolbar_icons.h"

#include <QPainter>
#include <QPixmap>

#include "ui/resource_ids.h"

namespace {

constexpr int kWidth = 16;
constexpr int kHeight = 15;

void DrawPage(QPainter& p, int x, int y) {
    p.setPen(QColor(60, 60, 60));
    p.setBrush(Qt::white);
    p.drawRect(x, y, 8, 10);
    p.drawLine(x + 2, y + 3, x + 6, y + 3);
    p.drawLine(x + 2, y + 5, x + 6, y + 5);
    p.drawLine(x + 2, y + 7, x + 5, y + 7);
}

void DrawGrayRamp(QPainter& p, const char* label) {
    QLinearGradient ramp(0, 0, kWidth, 0);
    ramp.setColorAt(0, Qt::black);
    ramp.setColorAt(1, Qt::white);
    p.fillRect(1, 1, kWidth - 2, kHeight - 2, ramp);
    p.setPen(QColor(200, 30, 30));
    QFont font = p.font();
    font.setPixelSize(10);
    font.setBold(true);
    p.setFont(font);
    p.drawText(QRect(0, 0, kWidth, kHeight), Qt::AlignCenter, QString::fromLatin1(label));
}

void DrawMagnifier(QPainter& p, bool plus) {
    p.setPen(QPen(QColor(40, 40, 40), 1.5));
    p.setBrush(QColor(210, 230, 255));
    p.drawEllipse(1, 1, 9, 9);
    p.drawLine(9, 9, 14, 14);
    p.drawLine(3, 6, 8, 6);
    if (plus) p.drawLine(5, 3, 5, 8);
}

void Draw(QPainter& p, int id) {
    switch (id) {
        case ID_FILE_OPEN:
            p.setPen(QColor(120, 90, 20));
            p.setBrush(QColor(240, 200, 80));
            p.drawRect(1, 4, 13, 9);
            p.drawRect(1, 2, 5, 2);
            break;
        case ID_FILE_SAVE:
            p.setPen(QColor(20, 40, 90));
            p.setBrush(QColor(60, 90, 170));
            p.drawRect(1, 1, 13, 12);
            p.fillRect(4, 2, 8, 4, Qt::white);
            p.fillRect(5, 9, 6, 4, QColor(200, 200, 200));
            break;
        case ID_EDIT_COPY:
            DrawPage(p, 1, 1);
            DrawPage(p, 6, 4);
            break;
        case ID_TRUE_COLOR:
            p.fillRect(1, 1, 5, 13, QColor(220, 40, 40));
            p.fillRect(6, 1, 4, 13, QColor(40, 180, 40));
            p.fillRect(10, 1, 5, 13, QColor(40, 70, 220));
            break;
        case ID_GRAY_1786:
            DrawGrayRamp(p, "2");
            break;
        case ID_GRAY_4336:
            DrawGrayRamp(p, "3");
            break;
        case ID_VIEW_FIT_SCREEN:
            p.setPen(QColor(40, 40, 40));
            p.drawRect(1, 1, 13, 12);
            p.fillRect(4, 4, 8, 7, QColor(120, 160, 220));
            break;
        case ID_VIEW_ZOOM_IN:
            DrawMagnifier(p, true);
            break;
        case ID_VIEW_ZOOM_OUT:
            DrawMagnifier(p, false);
            break;
        case ID_APP_ABOUT:
            p.setPen(Qt::NoPen);
            p.setBrush(QColor(40, 90, 200));
            p.drawEllipse(1, 0, 14, 14);
            p.setPen(Qt::white);
            p.drawText(QRect(1, 0, 14, 14), Qt::AlignCenter, QStringLiteral("?"));
            break;
        default:
            break;
    }
}

}  // namespace

QIcon ToolbarIcon(int commandId) {
    QPixmap pixmap(kWidth, kHeight);
    pixmap.fill(Qt::transparent);
    QPainter painter(&pixmap);
    painter.setRenderHint(QPainter::Antialiasing);
    Draw(painter, commandId);
    painter.end();
    return QIcon(pixmap);
}
