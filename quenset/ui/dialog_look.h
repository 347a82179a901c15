#pragma once

#include <QFont>
#include <QIcon>
#include <QMessageBox>
#include <QRect>
#include <QWidget>

#include "ui/dialog_units.h"

namespace quenset {

// The font every Quenset dialog is laid out in: the system's Korean sans at 9 points.
inline QFont DialogFont() { return corvelle::KoreanDialogFont(); }

// Puts a control where the dialog template has it, in the dialog's own dialog units.
inline void PlaceControl(QWidget* control, const QRect& dialogUnits) {
    control->setGeometry(corvelle::DialogUnitsToPixels(dialogUnits, control->parentWidget()->font()));
}

// The program icon, which every Quenset window shows.
QIcon ProgramIcon();

// The program's message boxes: one with an OK button, and a question whose default answer is
// No (true when the user answers Yes).
void ShowOkMessage(QWidget* parent, const QString& text, QMessageBox::Icon icon);
bool AskYesNo(QWidget* parent, const QString& text, QMessageBox::Icon icon);
// A message with an OK button and one more choice beside it; true when that was chosen.
bool ShowOkOr(QWidget* parent, const QString& text, const QString& other, QMessageBox::Icon icon);

}  // namespace quenset
