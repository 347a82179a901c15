#pragma once

#include <QDialog>

class QLabel;
class QPlainTextEdit;

// "Quenset 정보": the program icon, the version and maker lines, the version history and
// what renaming does on Linux.
class CQuensetAboutDlg : public QDialog {
    Q_OBJECT
  public:
    explicit CQuensetAboutDlg(QWidget* parent = nullptr);

    QPlainTextEdit* HistoryEdit() const { return m_pHistory; }
    QLabel* LinuxNote() const { return m_pLinuxNote; }

  private:
    QPlainTextEdit* m_pHistory = nullptr;
    QLabel* m_pLinuxNote = nullptr;
};

// String 115: the version history, one line a version, then the maker's contact line.
extern const char* const kQuensetHistory;
