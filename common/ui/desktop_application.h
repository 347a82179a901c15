#pragma once

#include <QString>

class QApplication;
class QCoreApplication;
class QIcon;
class QTranslator;

namespace corvelle {

// What every Corvelle window program sets up before its first window: Qt's own dialogs and
// buttons in Korean whatever the system locale (the programs' own texts are Korean), the
// program's name, and the icon that every top-level window and the About box show.
void SetUpDesktopApplication(QApplication& app, const QString& name, const QIcon& icon);

// Installs Qt's Korean translation of its own texts and returns it (owned by the
// application); none when the translation is not installed.
QTranslator* LoadKoreanQtTranslation(QCoreApplication& app);

}  // namespace corvelle
