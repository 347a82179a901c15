#pragma once

#include <QFont>
#include <QRect>

namespace corvelle {

// Dialog templates give positions and sizes in dialog units: a quarter of the font's
// average character width across, an eighth of its height down. Converting with the
// dialog's own font keeps the proportions whatever font and screen are in use.
QRect DialogUnitsToPixels(const QRect& dialogUnits, const QFont& font);
QSize DialogUnitsToPixels(const QSize& dialogUnits, const QFont& font);

// The font every dialog of the programs is laid out in: the system's Korean sans at
// 9 points.
QFont KoreanDialogFont();

}  // namespace corvelle
