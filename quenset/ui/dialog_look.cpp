#include "ui/dialog_look.h"

#include <QApplication>
#include <QPushButton>

// The icon lives in this static library's resources, which must be registered by hand
// (at global namespace, where the resource compiler defines its function).
static void InitQuensetResources() { Q_INIT_RESOURCE(quenset); }

namespace quenset {

QIcon ProgramIcon() {
    static const bool registered = (InitQuensetResources(), true);
    (void)registered;
    return QIcon(QStringLiteral(":/quenset/quenset.png"));
}

void ShowOkMessage(QWidget* parent, const QString& text, QMessageBox::Icon icon) {
    QMessageBox box(icon, QApplication::applicationName(), text, QMessageBox::Ok, parent);
    box.exec();
}

bool AskYesNo(QWidget* parent, const QString& text, QMessageBox::Icon icon) {
    QMessageBox box(icon, QApplication::applicationName(), text, QMessageBox::Yes | QMessageBox::No,
                    parent);
    box.setDefaultButton(QMessageBox::No);
    return box.exec() == QMessageBox::Yes;
}

bool ShowOkOr(QWidget* parent, const QString& text, const QString& other, QMessageBox::Icon icon) {
    QMessageBox box(icon, QApplication::applicationName(), text, QMessageBox::Ok, parent);
    QPushButton* choice = box.addButton(other, QMessageBox::ActionRole);
    box.setDefaultButton(QMessageBox::Ok);
    box.exec();
    return box.clickedButton() == static_cast<QAbstractButton*>(choice);
}

}  // namespace quenset
