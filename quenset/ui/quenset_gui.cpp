#include "ui/quenset_gui.h"

#include <QApplication>
#include <QIcon>

#include "core/settings_store.h"
#include "ui/desktop_application.h"
#include "ui/dialog_look.h"
#include "ui/quenset_dlg.h"

int RunQuensetGui(int argc, char** argv, const std::string& startFolder) {
    QApplication app(argc, argv);
    corvelle::SetUpDesktopApplication(app, QStringLiteral("Quenset"),
                                      quenset::ProgramIcon());
    corvelle::SettingsStore store(corvelle::kQuensetSettings);
    CQuensetDlg dialog(store, startFolder);
    dialog.show();
    dialog.exec();
    // Closing the dialog ends the program, whichever way it was closed.
    return 0;
}
