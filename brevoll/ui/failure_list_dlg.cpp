#include "ui/failure_list_dlg.h"

#include <QDialogButtonBox>
#include <QListWidget>
#include <QPushButton>
#include <QVBoxLayout>

#include "ui/dialog_font.h"

CFailureListDlg::CFailureListDlg(const QStringList& lines, QWidget* parent) : QDialog(parent) {
    setWindowTitle(QStringLiteral("Failures"));
    setFont(brevoll::DialogFont());
    m_pList = new QListWidget(this);
    m_pList->addItems(lines);
    // Long paths scroll sideways rather than being cut.
    m_pList->setHorizontalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok, this);
    buttons->button(QDialogButtonBox::Ok)->setText(QStringLiteral("OK"));
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(m_pList);
    layout->addWidget(buttons);
    resize(corvelle::DialogUnitsToPixels(QSize(300, 160), brevoll::DialogFont()));
}
