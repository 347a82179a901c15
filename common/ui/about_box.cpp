#include "ui/about_box.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QVBoxLayout>

#include "corvelle/build_info.h"
#include "ui/control_id.h"
#include "ui/dialog_units.h"
#include "ui/folder_resource_ids.h"
#include "ui/open_with_desktop.h"

namespace corvelle {

namespace {

QLabel* LinkLabel(QWidget* parent, const QString& lead, const QString& visible,
                  const QString& target) {
    auto* label =
        new QLabel(QStringLiteral("%1<a href=\"%2\">%3</a>")
                       .arg(lead.toHtmlEscaped(), target.toHtmlEscaped(), visible.toHtmlEscaped()),
                   parent);
    label->setTextFormat(Qt::RichText);
    label->setTextInteractionFlags(Qt::LinksAccessibleByMouse | Qt::LinksAccessibleByKeyboard);
    QObject::connect(label, &QLabel::linkActivated, parent,
                     [parent](const QString& link) { OpenWithDesktop(parent, link); });
    return label;
}

}  // namespace

QString TermsOfUseSentence() {
    return QStringLiteral(
        "이 프로그램은 자유 소프트웨어입니다. 누구나 자유 소프트웨어 재단의 GNU 일반 공중 사용 "
        "허가서(GPL) 버전 3 또는 그 이후 버전의 조건에 따라 사용하고, 고치고, 다시 배포할 수 "
        "있습니다. 이 프로그램은 아무런 보증 없이 제공되며, 사용으로 생긴 결과에 대한 책임은 "
        "사용자에게 있습니다.");
}

QString ContactAddress() { return QString::fromUtf8(kContactEmail); }

CAboutBox::CAboutBox(QWidget* parent, const AboutContent& content) : QDialog(parent) {
    SetControlId(this, content.dialogId);
    setWindowTitle(content.caption);
    setWindowIcon(content.icon);
    setFont(KoreanDialogFont());

    auto* icon = new QLabel(this);
    icon->setObjectName(QStringLiteral("icon"));
    icon->setPixmap(content.icon.pixmap(32, 32));
    auto* version = new QLabel(content.versionLine, this);
    version->setObjectName(QStringLiteral("version"));
    auto* ok = new QPushButton(QStringLiteral("확인"), this);
    SetControlId(ok, IDOK);
    ok->setDefault(true);
    connect(ok, &QPushButton::clicked, this, &QDialog::accept);

    auto* lines = new QVBoxLayout;
    lines->addWidget(version);
    if (!content.makerLine.isEmpty()) lines->addWidget(new QLabel(content.makerLine, this));
    auto* top = new QHBoxLayout;
    top->addWidget(icon, 0, Qt::AlignTop);
    top->addLayout(lines, 1);
    top->addWidget(ok, 0, Qt::AlignTop);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(top);

    if (!content.text.isEmpty()) {
        m_pText = new QPlainTextEdit(this);
        if (content.textId != 0) SetControlId(m_pText, content.textId);
        m_pText->setReadOnly(true);
        m_pText->setPlainText(
            QString(content.text).replace(QStringLiteral("\r\n"), QStringLiteral("\n")));
        m_pText->setMinimumSize(DialogUnitsToPixels(QSize(221, 110), font()));
        layout->addWidget(m_pText, 1);
    }
    if (!content.note.isEmpty()) {
        m_pNote = new QLabel(content.note, this);
        m_pNote->setWordWrap(true);
        layout->addWidget(m_pNote);
    }
    m_links << LinkLabel(this, QStringLiteral("문의: "), ContactAddress(), ContactAddress());
    m_links << LinkLabel(this, QStringLiteral("사용 조건: "),
                         QStringLiteral("GNU GPL 버전 3 이상 (GPL-3.0-or-later)"),
                         QString::fromUtf8(kLicenceFile));
    for (QLabel* link : m_links) layout->addWidget(link);
}

}  // namespace corvelle
