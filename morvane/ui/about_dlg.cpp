#include "ui/about_dlg.h"

#include "corvelle/build_info.h"
#include "ui/morvane_gui.h"
#include "ui/resource_ids.h"

namespace {

corvelle::AboutContent MorvaneAbout() {
    corvelle::AboutContent about;
    about.dialogId = IDD_ABOUTBOX;
    about.caption = QStringLiteral("Morvane 정보");
    about.icon = MorvaneIcon();
    about.versionLine = QStringLiteral("Morvane 버전 ") + QString::fromUtf8(corvelle::kMorvaneVersion);
    about.textId = IDC_ABOUT_TEXT;
    about.text =
        QStringLiteral(
            "컬러 사진을 흑백사진으로 바꾸는 프로그램으로 기존의 프로그램이 256단계의 그레이 "
            "스케일으로 밖에 변경하지못했는데 이 프로그램은 1786/4336단계의 그레이 스케일을 "
            "지원합니다. 또한 필름풀 사진인화시 잘려나가는 부분을 미리 트리밍하여저장할 수 "
            "있습니다.\r\n") +
        corvelle::TermsOfUseSentence() +
        QStringLiteral("\r\n만든이: Corvelle 사진 도구 개발팀 (문의: %1)")
            .arg(corvelle::ContactAddress());
    return about;
}

}  // namespace

CAboutDlg::CAboutDlg(QWidget* parent) : CAboutBox(parent, MorvaneAbout()) {}
