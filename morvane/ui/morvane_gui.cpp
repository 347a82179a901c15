#include "ui/morvane_gui.h"

#include <QApplication>
#include <QStringList>

#include "ui/main_frame.h"

int RunMorvaneGui(int argc, char** argv) {
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Morvane"));
    QApplication::setWindowIcon(QIcon(QStringLiteral(":/morvane/morvane.png")));
    CMainFrame frame;
    frame.show();
    QStringList files = QApplication::arguments().mid(1);
    files.removeIf([](const QString& argument) { return argument.startsWith(u'-'); });
    // Without a file the program starts with one empty document window.
    if (files.isEmpty()) frame.OnFileNew();
    for (const QString& file : files) frame.OpenDocumentFile(file);
    return app.exec();
}
