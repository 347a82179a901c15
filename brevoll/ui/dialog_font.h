#pragma once

#include <QFont>
#include <QRect>
#include <QWidget>

#include "ui/dialog_units.h"

namespace brevoll {

// Brevoll's dialogs use the system's Korean sans at 9 points and are laid out in dialog
// units of that font.
inline QFont DialogFont() { return corvelle::KoreanDialogFont(); }

inline void PlaceInDialogUnits(QWidget* widget, int x, int y, int width, int height) {
    widget->setGeometry(corvelle::DialogUnitsToPixels(QRect(x, y, width, height), DialogFont()));
}

}  // namespace brevoll
