#pragma once

#include <QDialog>
#include <QStringList>

class QListWidget;

// "Failures": the pictures of a run that were not converted, one line each with its reason,
// in the words the command line prints, and the picture types left out of the run.
class CFailureListDlg : public QDialog {
    Q_OBJECT
  public:
    CFailureListDlg(const QStringList& lines, QWidget* parent = nullptr);

    QListWidget* List() const { return m_pList; }

  private:
    QListWidget* m_pList = nullptr;
};
