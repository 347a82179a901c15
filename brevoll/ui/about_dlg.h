#pragma once

#include "ui/about_box.h"

class QPlainTextEdit;

// "Brevoll 정보": the icon, the version line, the program's description and "확인".
class CAboutDlg : public corvelle::CAboutBox {
    Q_OBJECT
  public:
    explicit CAboutDlg(QWidget* parent);

    QPlainTextEdit* DescriptionEdit() const { return TextEdit(); }
};
