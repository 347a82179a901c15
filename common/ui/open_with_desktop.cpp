#include "ui/open_with_desktop.h"

#include <QDesktopServices>
#include <QMessageBox>
#include <QUrl>
#include <QWidget>

#include "core/desktop_links.h"

namespace corvelle {

namespace {

QString NoOpenerMessage(const QUrl& url) {
    if (url.scheme() == QStringLiteral("mailto"))
        return QStringLiteral(
                   "메일 프로그램을 열 수 없습니다(xdg-utils 꾸러미를 설치하십시오).\n"
                   "주소: %1")
            .arg(url.path());
    if (url.isLocalFile())
        return QStringLiteral(
                   "이 파일을 열 프로그램이 없습니다(xdg-utils 꾸러미를 설치하십시오).\n"
                   "파일 위치: %1")
            .arg(url.toLocalFile());
    return QStringLiteral(
               "웹 브라우저를 열 수 없습니다(xdg-utils 꾸러미를 설치하십시오).\n"
               "주소: %1")
        .arg(url.toString());
}

}  // namespace

bool OpenWithDesktop(QWidget* parent, const QString& target) {
    const QUrl url(QString::fromStdString(LinkUrl(target.toStdString())));
    const bool haveOpener = IsProgramOnPath("xdg-open", qEnvironmentVariable("PATH").toStdString());
    if (haveOpener && QDesktopServices::openUrl(url)) return true;
    QMessageBox::information(parent, parent != nullptr ? parent->windowTitle() : QString(),
                             NoOpenerMessage(url));
    return false;
}

}  // namespace corvelle
