#include "ui/about_dlg.h"

#include <QApplication>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>

#include "ui/control_id.h"
#include "ui/dialog_font.h"
#include "ui/resource_ids.h"

using namespace brevoll;

namespace {

constexpr const char* kAboutText =
    "사진 이미지를 원하는 비율 또는 원하는 크기로 한번에 줄여주는 프로그램입니다.\r\n"
    "크기로 줄일때에는 가로세로중 큰 쪽을 기준으로 줄입니다.\r\n"
    "\r\n"
    "이 프로그램은 누구나 자유롭게 사용하고 나누어 줄 수 있습니다. 다만 프로그램을 고쳐서 "
    "배포하거나 판매할 수는 없으며, 사용으로 생긴 결과에 대한 책임은 사용자에게 있습니다.\r\n"
    "문의: corvelle@users.noreply.example\r\n"
    "만든이: Corvelle 사진 도구 개발팀\r\n"
    "V1.4 ";

}  // namespace

CAboutDlg::CAboutDlg(QWidget* parent) : QDialog(parent) {
    corvelle::SetControlId(this, IDD_ABOUTBOX);
    setWindowTitle(QStringLiteral("Brevoll 정보"));
    setFont(DialogFont());

    auto* icon = new QLabel(this);
    icon->setPixmap(QApplication::windowIcon().pixmap(32, 32));
    PlaceInDialogUnits(icon, 7, 7, 21, 20);
    auto* version = new QLabel(QStringLiteral("Brevoll Ver 1.4(Build 14)"), this);
    PlaceInDialogUnits(version, 36, 10, 130, 10);
    auto* ok = new QPushButton(QStringLiteral("확인"), this);
    corvelle::SetControlId(ok, IDOK);
    ok->setDefault(true);
    PlaceInDialogUnits(ok, 178, 7, 50, 14);

    m_pDescription = new QPlainTextEdit(this);
    m_pDescription->setReadOnly(true);
    m_pDescription->setPlainText(
        QString::fromUtf8(kAboutText).replace(QStringLiteral("\r\n"), QStringLiteral("\n")));
    PlaceInDialogUnits(m_pDescription, 7, 30, 221, 84);

    connect(ok, &QPushButton::clicked, this, &QDialog::accept);
    setFixedSize(corvelle::DialogUnitsToPixels(QSize(235, 121), DialogFont()));
}
