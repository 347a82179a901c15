#pragma once

#include <QDialog>

class QPlainTextEdit;

// "Morvane 정보": icon, version line, the program description and an OK button.
class CAboutDlg : public QDialog {
    Q_OBJECT
  public:
    explicit CAboutDlg(QWidget* parent);

    QPlainTextEdit* DescriptionEdit() const { return m_pDescription; }

  private:
    QPlainTextEdit* m_pDescription;
};
