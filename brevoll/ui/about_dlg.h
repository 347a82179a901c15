#pragma once

#include <QDialog>

class QPlainTextEdit;

// "Brevoll 정보": the icon, the version line, the program's description and "확인".
class CAboutDlg : public QDialog {
    Q_OBJECT
  public:
    explicit CAboutDlg(QWidget* parent);

    QPlainTextEdit* DescriptionEdit() const { return m_pDescription; }

  private:
    QPlainTextEdit* m_pDescription;
};
