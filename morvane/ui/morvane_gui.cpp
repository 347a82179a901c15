#include "ui/morvane_gui.h"

#include <QApplication>
#include <QIcon>
#include <QStringList>

#include "ui/desktop_application.h"
#include "ui/main_frame.h"

QIcon MorvaneIcon() {
    // The resources live in a static library: nothing pulls them in unless asked.
    static const bool initialised = [] {
        Q_INIT_RESOURCE(morvane);
        return true;
    }();
    (void)initialised;
    return QIcon(QStringLiteral(":/morvane/morvane.png"));
}

int RunMorvaneGui(int argc, char** argv) {
    QApplication app(argc, argv);
    corvelle::SetUpDesktopApplication(app, QStringLiteral("Morvane"), MorvaneIcon());
    CMainFrame frame;
    frame.show();
    QStringList files = QApplication::arguments().mid(1);
    files.removeIf([](const QString& argument) { return argument.startsWith(u'-'); });
    // Without a file the program starts with one empty document window.
    if (files.isEmpty()) frame.OnFileNew();
    for (const QString& file : files) frame.OpenDocumentFile(file);
    return app.exec();
}
