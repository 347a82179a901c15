#include "ui/open_with_desktop.h"

#include <QDesktopServices>
#include <QMessageBox>
#include <QUrl>
#include <QWidget>

#include "core/desktop_links.h"

namespace corvelle {

namespace {

QString CannotOpenMessage(const QUrl& url) {
    if (url.scheme() == QStringLiteral("mailto"))
        return QStringLiteral("메일 프로그램을 열 수 없습니다.\n주소: %1").arg(url.path());
    if (url.isLocalFile())
        return QStringLiteral("이 파일을 열 프로그램이 없습니다.\n파일 위치: %1")
            .arg(url.toLocalFile());
    return QStringLiteral("웹 브라우저를 열 수 없습니다.\n주소: %1").arg(url.toString());
}

}  // namespace

bool OpenWithDesktop(QWidget* parent, const QString& target) {
    // A path keeps its spaces and non-ASCII letters as they are; other targets follow the
    // link rules.
    const QUrl url = target.startsWith(QLatin1Char('/'))
                         ? QUrl::fromLocalFile(target)
                         : QUrl(QString::fromStdString(LinkUrl(target.toStdString())));
    const bool haveOpener = IsProgramOnPath("xdg-open", qEnvironmentVariable("PATH").toStdString());
    if (haveOpener && QDesktopServices::openUrl(url)) return true;
    QString message = CannotOpenMessage(url);
    if (!haveOpener) message += QStringLiteral("\n(xdg-utils 꾸러미를 설치하면 바로 열립니다.)");
    QMessageBox::information(parent, parent != nullptr ? parent->windowTitle() : QString(),
                             message);
    return false;
}

}  // namespace corvelle
