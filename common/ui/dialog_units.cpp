#include "ui/dialog_units.h"

#include <QFontMetrics>

#include "core/mul_div.h"

namespace corvelle {

namespace {

struct BaseUnits {
    int x;
    int y;
};

// The average width of the 52 Latin letters, rounded, and the font height: the measure the
// dialog templates were laid out in.
BaseUnits DialogBaseUnits(const QFont& font) {
    const QFontMetrics metrics(font);
    const int letters = metrics.horizontalAdvance(
        QStringLiteral("ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz"));
    return {(letters / 26 + 1) / 2, metrics.height()};
}

}  // namespace

QRect DialogUnitsToPixels(const QRect& dialogUnits, const QFont& font) {
    const BaseUnits base = DialogBaseUnits(font);
    return QRect(MulDiv(dialogUnits.x(), base.x, 4), MulDiv(dialogUnits.y(), base.y, 8),
                 MulDiv(dialogUnits.width(), base.x, 4), MulDiv(dialogUnits.height(), base.y, 8));
}

QSize DialogUnitsToPixels(const QSize& dialogUnits, const QFont& font) {
    return DialogUnitsToPixels(QRect(QPoint(0, 0), dialogUnits), font).size();
}

QFont KoreanDialogFont() { return QFont(QStringLiteral("Noto Sans CJK KR"), 9); }

}  // namespace corvelle
