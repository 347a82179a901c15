#include "ui/overwrite_dlg.h"

#include <QLabel>
#include <QPushButton>

#include "core/batch_run.h"
#include "ui/control_id.h"
#include "ui/dialog_font.h"
#include "ui/resource_ids.h"

using namespace brevoll;

COverwriteDlg::COverwriteDlg(const QString& destinationPath, QWidget* parent) : QDialog(parent) {
    corvelle::SetControlId(this, IDD_OVERWRITE);
    setWindowTitle(QStringLiteral("Overwrite"));
    setFont(DialogFont());

    auto* question = new QLabel(QStringLiteral("This file exists already. Overwrite?"), this);
    PlaceInDialogUnits(question, 7, 7, 236, 10);
    auto* path = new QLabel(this);
    corvelle::SetControlId(path, IDC_OVERWRITE_PATH);
    path->setTextInteractionFlags(Qt::TextSelectableByMouse);
    PlaceInDialogUnits(path, 7, 19, 236, 24);
    // A long path loses its middle, so the file name at its end stays readable.
    path->setText(path->fontMetrics().elidedText(destinationPath, Qt::ElideMiddle, path->width()));
    path->setToolTip(destinationPath);

    struct AnswerButton {
        int id;
        const char* text;
    };
    const AnswerButton buttons[] = {{IDC_YES_ALL, "&Yes All"},
                                    {IDC_SKIP_ALL, "&Skip All"},
                                    {IDOK, "Yes"},
                                    {IDC_NO, "&No"},
                                    {IDCANCEL, "&Cancel"}};
    int x = 7;
    for (const AnswerButton& answer : buttons) {
        auto* button = new QPushButton(QString::fromUtf8(answer.text), this);
        corvelle::SetControlId(button, answer.id);
        button->setAutoDefault(false);
        button->setDefault(answer.id == IDC_YES_ALL);
        PlaceInDialogUnits(button, x, 48, 44, 14);
        x += 48;
        const int id = answer.id;
        connect(button, &QPushButton::clicked, this, [this, id] { done(id); });
    }
    setFixedSize(corvelle::DialogUnitsToPixels(QSize(250, 69), DialogFont()));
}

void COverwriteDlg::reject() { done(IDCANCEL); }

corvelle::OverwriteAnswer COverwriteDlg::ask() { return answerOfButton(exec()); }

corvelle::OverwriteAnswer COverwriteDlg::answerOfButton(int buttonId) {
    using corvelle::OverwriteAnswer;
    switch (buttonId) {
        case IDOK:
            return OverwriteAnswer::Yes;
        case IDC_YES_ALL:
            return OverwriteAnswer::YesAll;
        case IDC_SKIP_ALL:
            return OverwriteAnswer::SkipAll;
        case IDC_NO:
            return OverwriteAnswer::No;
        default:
            return OverwriteAnswer::Cancel;
    }
}
