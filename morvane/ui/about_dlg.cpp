#include "ui/about_dlg.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QVBoxLayout>

#include "ui/morvane_gui.h"
#include "ui/resource_ids.h"

namespace {

constexpr const char* kDescription =
    "컬러 사진을 흑백사진으로 바꾸는 프로그램으로 기존의 프로그램이 256단계의 그레이 스케일으로 "
    "밖에 변경하지못했는데 이 프로그램은 1786/4336단계의 그레이 스케일을 지원합니다. 또한 "
    "필름풀 사진인화시 잘려나가는 부분을 미리 트리밍하여저장할 수 있습니다.\r\n"
    "이 프로그램은 누구나 자유롭게 사용하고 나누어 줄 수 있습니다. 다만 프로그램을 고쳐서 "
    "배포하거나 판매할 수는 없으며, 사용으로 생긴 결과에 대한 책임은 사용자에게 있습니다.\r\n"
    "만든이: Corvelle 사진 도구 개발팀 (문의는 프로그램과 함께 받은 README의 연락처로 보내 "
    "주십시오.)";

}  // namespace

CAboutDlg::CAboutDlg(QWidget* parent) : QDialog(parent) {
    setObjectName(QStringLiteral("dialog%1").arg(IDD_ABOUTBOX));
    setWindowTitle(QStringLiteral("Morvane 정보"));

    auto* icon = new QLabel(this);
    icon->setObjectName(QStringLiteral("icon"));
    icon->setPixmap(MorvaneIcon().pixmap(32, 32));
    setWindowIcon(MorvaneIcon());
    auto* version = new QLabel(QStringLiteral("Morvane 버전 1.1(build 18)"), this);

    m_pDescription = new QPlainTextEdit(this);
    m_pDescription->setObjectName(QStringLiteral("edit%1").arg(IDC_ABOUT_TEXT));
    m_pDescription->setReadOnly(true);
    m_pDescription->setPlainText(
        QString::fromUtf8(kDescription).replace(QStringLiteral("\r\n"), QStringLiteral("\n")));
    m_pDescription->setMinimumSize(360, 140);

    auto* ok = new QPushButton(QStringLiteral("확인"), this);
    ok->setDefault(true);
    connect(ok, &QPushButton::clicked, this, &QDialog::accept);

    auto* top = new QHBoxLayout;
    top->addWidget(icon);
    top->addWidget(version, 1);
    top->addWidget(ok);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(top);
    layout->addWidget(m_pDescription);
}
