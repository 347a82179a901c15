#include "ui/brevoll_gui.h"

#include <QApplication>
#include <QIcon>

#include <clocale>
#include <cstdio>

#include "core/settings_store.h"
#include "imaging/imaging.h"
#include "ui/desktop_application.h"
#include "ui/main_dlg.h"

void InitBrevollResources() { Q_INIT_RESOURCE(brevoll); }

int RunBrevollGui(int argc, char** argv) {
    QApplication app(argc, argv);
    // The stamp's dates follow the user's locale; numbers stay plain.
    std::setlocale(LC_NUMERIC, "C");
    InitBrevollResources();
    corvelle::SetUpDesktopApplication(app, QStringLiteral("Brevoll"),
                                      QIcon(QStringLiteral(":/brevoll/brevoll.png")));
    if (!corvelle::StartImaging(argv[0])) {
        std::fputs("brevoll: cannot start the imaging library\n", stderr);
        return 1;
    }
    corvelle::SettingsStore store(corvelle::kBrevollSettings);
    CMainDlg dialog(store);
    dialog.show();
    return app.exec();
}
