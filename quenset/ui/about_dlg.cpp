#include "ui/about_dlg.h"

#include "ui/dialog_look.h"
#include "ui/resource_ids.h"

using namespace quenset;

namespace {

// String 115: the version history, one line a version; the maker's contact line follows.
constexpr const char* kQuensetHistory =
    "1.09: bug fix\n"
    "1.08 : canon raw(tif)파일 지원\n"
    "1.07 : nikon nef파일지원,파일 생성날자변경\n"
    "1.06 : Win98SE에서 확장자가 사라지는 현상 해결\n"
    "1.05 : Win98SE/WinMe에서 죽는 현상 해결(01/07/03).\n"
    "1.04 : E-10등 새로운 타입 지원\n";

corvelle::AboutContent QuensetAbout() {
    corvelle::AboutContent about;
    about.dialogId = IDD_ABOUTBOX;
    about.caption = QStringLiteral("Quenset 정보");
    about.icon = ProgramIcon();
    about.versionLine = QStringLiteral("Quenset Ver. 1.13(build 25)");
    about.makerLine = QStringLiteral("만든이: Corvelle 사진 도구 개발팀");
    about.textId = IDC_ABOUT_HISTORY;
    about.text =
        QString::fromUtf8(kQuensetHistory) +
        QStringLiteral("\n문의: Corvelle 사진 도구 개발팀 <%1>").arg(corvelle::ContactAddress());
    about.note = corvelle::TermsOfUseSentence() +
                 QStringLiteral(
                     "\nLinux는 파일의 생성 시간을 바꿀 수 없으므로 촬영날자를 따르는 것은 "
                     "마지막 수정 시간뿐입니다. 잘못 바꾼 이름은 터미널에서 "
                     "quenset --undo 폴더 로 되돌릴 수 있습니다 (다시 실행하면 그 전의 "
                     "변경까지 되돌립니다).");
    return about;
}

}  // namespace

CQuensetAboutDlg::CQuensetAboutDlg(QWidget* parent) : CAboutBox(parent, QuensetAbout()) {}
