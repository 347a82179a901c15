#include "ui/about_dlg.h"

#include <QApplication>

#include "ui/resource_ids.h"

namespace {

corvelle::AboutContent TiselkAbout() {
    corvelle::AboutContent about;
    about.dialogId = IDD_ABOUTBOX;
    about.caption = QStringLiteral("Tiselk 정보");
    about.icon = QApplication::windowIcon();
    about.versionLine = QStringLiteral("Tiselk Ver 1.4(Build 25)");
    about.makerLine = QStringLiteral("EXIF 정보 보기 — Corvelle");
    about.note = corvelle::TermsOfUseSentence();
    return about;
}

}  // namespace

CAboutDlg::CAboutDlg(QWidget* parent) : CAboutBox(parent, TiselkAbout()) {}
