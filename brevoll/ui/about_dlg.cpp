#include "ui/about_dlg.h"

#include <QApplication>

#include "ui/resource_ids.h"

namespace {

// String 103.
corvelle::AboutContent BrevollAbout() {
    corvelle::AboutContent about;
    about.dialogId = brevoll::IDD_ABOUTBOX;
    about.caption = QStringLiteral("Brevoll 정보");
    about.icon = QApplication::windowIcon();
    about.versionLine = QStringLiteral("Brevoll Ver 1.4(Build 14)");
    about.text =
        QStringLiteral(
            "사진 이미지를 원하는 비율 또는 원하는 크기로 한번에 줄여주는 프로그램입니다.\r\n"
            "크기로 줄일때에는 가로세로중 큰 쪽을 기준으로 줄입니다.\r\n"
            "\r\n") +
        corvelle::TermsOfUseSentence() +
        QStringLiteral("\r\n문의: %1\r\n만든이: Corvelle 사진 도구 개발팀\r\nV1.4 ")
            .arg(corvelle::ContactAddress());
    return about;
}

}  // namespace

CAboutDlg::CAboutDlg(QWidget* parent) : CAboutBox(parent, BrevollAbout()) {}
