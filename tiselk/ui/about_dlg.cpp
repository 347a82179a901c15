#include "ui/about_dlg.h"

#include <QApplication>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

#include "ui/resource_ids.h"

CAboutDlg::CAboutDlg(QWidget* parent) : QDialog(parent) {
    setObjectName(QStringLiteral("dialog%1").arg(IDD_ABOUTBOX));
    setWindowTitle(QStringLiteral("Tiselk 정보"));

    auto* icon = new QLabel(this);
    icon->setObjectName(QStringLiteral("aboutIcon"));
    icon->setPixmap(QApplication::windowIcon().pixmap(64, 64));
    auto* name = new QLabel(QStringLiteral("Tiselk Ver 1.4(Build 25)"), this);
    name->setObjectName(QStringLiteral("aboutVersion"));
    auto* maker = new QLabel(QStringLiteral("EXIF 정보 보기 — Corvelle"), this);

    auto* ok = new QPushButton(QStringLiteral("확인"), this);
    ok->setDefault(true);
    connect(ok, &QPushButton::clicked, this, &QDialog::accept);

    auto* texts = new QVBoxLayout;
    texts->addWidget(name);
    texts->addWidget(maker);
    auto* top = new QHBoxLayout(this);
    top->addWidget(icon);
    top->addLayout(texts, 1);
    top->addWidget(ok, 0, Qt::AlignTop);
}
