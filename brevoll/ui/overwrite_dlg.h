#pragma once

#include <QDialog>
#include <QString>

namespace corvelle {
enum class OverwriteAnswer;
}

// "Overwrite": asks what to do with a file that is already at the destination. exec()
// returns the id of the button chosen; Esc and the close box count as "&Cancel".
class COverwriteDlg : public QDialog {
    Q_OBJECT
  public:
    COverwriteDlg(const QString& destinationPath, QWidget* parent);

    // Runs the question and gives the run's answer for the button chosen.
    corvelle::OverwriteAnswer ask();
    static corvelle::OverwriteAnswer answerOfButton(int buttonId);

  protected:
    void reject() override;
};
