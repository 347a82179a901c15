#pragma once

#include "ui/about_box.h"

// "&Tiselk Info...": the program's icon, name and version, and the links.
class CAboutDlg : public corvelle::CAboutBox {
    Q_OBJECT
  public:
    explicit CAboutDlg(QWidget* parent = nullptr);
};
