#include "ui/about_dlg.h"

#include <QApplication>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>

#include "ui/control_id.h"
#include "ui/dialog_look.h"
#include "ui/resource_ids.h"

using namespace quenset;

const char* const kQuensetHistory =
    "1.09: bug fix\n"
    "1.08 : canon raw(tif)파일 지원\n"
    "1.07 : nikon nef파일지원,파일 생성날자변경\n"
    "1.06 : Win98SE에서 확장자가 사라지는 현상 해결\n"
    "1.05 : Win98SE/WinMe에서 죽는 현상 해결(01/07/03).\n"
    "1.04 : E-10등 새로운 타입 지원\n"
    "\n"
    "문의: Corvelle 사진 도구 개발팀 (프로그램과 함께 받은 README의 연락처)";

CQuensetAboutDlg::CQuensetAboutDlg(QWidget* parent) : QDialog(parent) {
    corvelle::SetControlId(this, IDD_ABOUTBOX);
    setWindowTitle(QStringLiteral("Quenset 정보"));
    setFont(DialogFont());
    setFixedSize(corvelle::DialogUnitsToPixels(QSize(236, 150), font()));

    auto* icon = new QLabel(this);
    setWindowIcon(ProgramIcon());
    icon->setPixmap(ProgramIcon().pixmap(32, 32));
    PlaceControl(icon, {11, 10, 21, 20});
    auto* version = new QLabel(QStringLiteral("Quenset Ver. 1.13(build 25)"), this);
    PlaceControl(version, {40, 10, 130, 8});
    auto* maker = new QLabel(QStringLiteral("만든이: Corvelle 사진 도구 개발팀"), this);
    PlaceControl(maker, {40, 22, 130, 8});

    auto* ok = new QPushButton(QStringLiteral("확인"), this);
    corvelle::SetControlId(ok, IDOK);
    ok->setDefault(true);
    PlaceControl(ok, {179, 7, 50, 14});
    connect(ok, &QPushButton::clicked, this, &QDialog::accept);

    m_pHistory = new QPlainTextEdit(this);
    corvelle::SetControlId(m_pHistory, IDC_ABOUT_HISTORY);
    m_pHistory->setReadOnly(true);
    m_pHistory->setPlainText(QString::fromUtf8(kQuensetHistory));
    PlaceControl(m_pHistory, {7, 36, 222, 66});

    m_pLinuxNote = new QLabel(
        QStringLiteral("Linux는 파일의 생성 시간을 바꿀 수 없으므로 촬영날자를 따르는 것은 "
                       "마지막 수정 시간뿐입니다. 잘못 바꾼 이름은 터미널에서 "
                       "quenset --undo 폴더 로 되돌릴 수 있습니다 (다시 실행하면 그 전의 "
                       "변경까지 되돌립니다)."),
        this);
    m_pLinuxNote->setWordWrap(true);
    m_pLinuxNote->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    PlaceControl(m_pLinuxNote, {7, 107, 222, 38});
}
