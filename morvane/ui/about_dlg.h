#pragma once

#include "ui/about_box.h"

class QPlainTextEdit;

// "Morvane 정보": icon, version line, the program description and an OK button.
class CAboutDlg : public corvelle::CAboutBox {
    Q_OBJECT
  public:
    explicit CAboutDlg(QWidget* parent);

    QPlainTextEdit* DescriptionEdit() const { return TextEdit(); }
};
