#include "ui/quenset_gui.h"

#include <QApplication>
#include <QIcon>

#include "core/settings_store.h"
#include "ui/desktop_application.h"
#include "ui/quenset_dlg.h"

int RunQuensetGui(int argc, char** argv, const std::string& startFolder) {
    Q_INIT_RESOURCE(quenset);
    QApplication app(argc, argv);
    corvelle::SetUpDesktopApplication(app, QStringLiteral("Quenset"),
                                      QIcon(QStringLiteral(":/quenset/quenset.png")));
    corvelle::SettingsStore store(corvelle::kQuensetSettings);
    CQuensetDlg dialog(store, startFolder);
    dialog.show();
    dialog.exec();
    // Closing the dialog ends the program, whichever way it was closed.
    return 0;
}
