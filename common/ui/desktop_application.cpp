#include "ui/desktop_application.h"

#include <QApplication>
#include <QIcon>
#include <QLibraryInfo>
#include <QLocale>
#include <QTranslator>

namespace corvelle {

QTranslator* LoadKoreanQtTranslation(QCoreApplication& app) {
    // Owned by the application, so the texts stay translated for its whole life.
    auto* translator = new QTranslator(&app);
    const QString folder = QLibraryInfo::path(QLibraryInfo::TranslationsPath);
    if (!translator->load(QLocale(QLocale::Korean, QLocale::SouthKorea), QStringLiteral("qtbase"),
                          QStringLiteral("_"), folder)) {
        delete translator;
        return nullptr;
    }
    QCoreApplication::installTranslator(translator);
    return translator;
}

void SetUpDesktopApplication(QApplication& app, const QString& name, const QIcon& icon) {
    QApplication::setApplicationName(name);
    QApplication::setWindowIcon(icon);
    // A missing translation leaves Qt's English texts; the program still works.
    LoadKoreanQtTranslation(app);
}

}  // namespace corvelle
