#pragma once

#include <QDialog>
#include <QString>

// "Overwrite": asks what to do with a file that is already at the destination. exec()
// returns the id of the button chosen (the number of an OverwriteAnswer); Esc and the close
// box count as "&Cancel".
class COverwriteDlg : public QDialog {
    Q_OBJECT
  public:
    COverwriteDlg(const QString& destinationPath, QWidget* parent);

  protected:
    void reject() override;
};
