#pragma once

#include "ui/about_box.h"

class QLabel;
class QPlainTextEdit;

// "Quenset 정보": the program icon, the version and maker lines, the version history and
// what renaming does on Linux.
class CQuensetAboutDlg : public corvelle::CAboutBox {
    Q_OBJECT
  public:
    explicit CQuensetAboutDlg(QWidget* parent = nullptr);

    QPlainTextEdit* HistoryEdit() const { return TextEdit(); }
    QLabel* LinuxNote() const { return NoteLabel(); }
};
