#include "ui/tiselk_gui.h"

#include <QApplication>
#include <QIcon>

#include "ui/desktop_application.h"
#include "ui/tiselk_dlg.h"

void InitTiselkResources() { Q_INIT_RESOURCE(tiselk); }

int RunTiselkGui(int argc, char** argv, const QString& path) {
    QApplication app(argc, argv);
    InitTiselkResources();
    corvelle::SetUpDesktopApplication(app, QStringLiteral("Tiselk"),
                                      QIcon(QStringLiteral(":/tiselk/tiselk.png")));
    CTiselkDlg dialog;
    dialog.show();
    if (!path.isEmpty()) dialog.OpenPath(path);
    dialog.exec();
    return 0;
}
