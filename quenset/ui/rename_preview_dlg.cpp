#include "ui/rename_preview_dlg.h"

#include <QApplication>
#include <QColor>
#include <QLabel>
#include <QListWidget>
#include <QMessageBox>
#include <QPointer>
#include <QThreadPool>
#include <QProgressBar>
#include <QPushButton>

#include <algorithm>
#include <cstdio>

#include "core/rename_texts.h"
#include "core/text.h"
#include "ui/control_id.h"
#include "ui/dialog_look.h"
#include "ui/resource_ids.h"
#include "ui/tabbed_line_delegate.h"

using namespace quenset;

namespace {

QString Text(std::string_view utf8) { return QString::fromUtf8(utf8.data(), qsizetype(utf8.size())); }

// Work done on a worker thread reports back through the application object, which outlives
// every dialog; the dialog itself may be gone by then.
template <typename Function>
void OnUiThread(Function function) {
    QMetaObject::invokeMethod(qApp, std::move(function), Qt::QueuedConnection);
}

void DefaultShowMessage(QWidget* parent, const QString& text) {
    ShowOkMessage(parent, text, QMessageBox::Warning);
}

bool DefaultAskQuestion(QWidget* parent, const QString& text) {
    return AskYesNo(parent, text, QMessageBox::Warning);
}

QString ShownText(const std::string& bytes) {
    return QString::fromStdString(corvelle::FileTextToUtf8(bytes));
}

}  // namespace

CRenamePreviewDlg::CRenamePreviewDlg(corvelle::RunInputs inputs, QWidget* parent)
    : QDialog(parent),
      m_inputs(std::move(inputs)),
      m_fnShowMessage(DefaultShowMessage),
      m_fnAskQuestion(DefaultAskQuestion) {
    corvelle::SetControlId(this, IDD_RENAME_PREVIEW);
    setWindowTitle(Text(corvelle::kPreviewCaption));
    setFont(DialogFont());
    setWindowIcon(ProgramIcon());
    setFixedSize(corvelle::DialogUnitsToPixels(QSize(300, 210), font()));

    m_pList = new QListWidget(this);
    corvelle::SetControlId(m_pList, IDC_PREVIEW_LIST);
    m_pList->setSelectionMode(QAbstractItemView::ExtendedSelection);
    m_pList->setHorizontalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    m_pList->setVerticalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    m_pList->setTextElideMode(Qt::ElideNone);
    m_pList->setWordWrap(false);
    m_pDelegate = new CTabbedLineDelegate(m_pList);
    m_pList->setItemDelegate(m_pDelegate);
    m_pList->setAccessibleName(Text(corvelle::kPreviewCaption));
    PlaceControl(m_pList, {7, 7, 286, 170});

    m_pProgress = new QProgressBar(this);
    corvelle::SetControlId(m_pProgress, IDC_PREVIEW_PROGRESS);
    m_pProgress->setTextVisible(false);
    PlaceControl(m_pProgress, {7, 186, 170, 12});
    m_pSummary = new QLabel(this);
    corvelle::SetControlId(m_pSummary, IDC_PREVIEW_SUMMARY);
    PlaceControl(m_pSummary, {7, 188, 170, 10});

    m_pRename = new QPushButton(Text(corvelle::kRenameButton), this);
    corvelle::SetControlId(m_pRename, IDOK);
    m_pRename->setDefault(true);
    PlaceControl(m_pRename, {186, 185, 50, 14});
    m_pCancel = new QPushButton(Text(corvelle::kCancelButton), this);
    corvelle::SetControlId(m_pCancel, IDCANCEL);
    m_pCancel->setAutoDefault(false);
    PlaceControl(m_pCancel, {243, 185, 50, 14});

    connect(m_pList, &QListWidget::itemSelectionChanged, this, &CRenamePreviewDlg::OnSelChange);
    connect(m_pRename, &QPushButton::clicked, this, &CRenamePreviewDlg::OnRename);
    connect(m_pCancel, &QPushButton::clicked, this, &CRenamePreviewDlg::reject);
    OnInitDialog();
}

CRenamePreviewDlg::~CRenamePreviewDlg() = default;

void CRenamePreviewDlg::SetBusy(bool busy) {
    m_bBusy = busy;
    m_pList->setEnabled(!busy);
    m_pCancel->setEnabled(!busy);
    if (busy) m_pRename->setEnabled(false);
}

void CRenamePreviewDlg::OnInitDialog() {
    // One tab stop, given in dialog units as the list's width over the horizontal base unit:
    // a quarter of the list's width in pixels, repeated along the line.
    const QFont listFont = m_pList->font();
    const int baseX = std::max(1, corvelle::DialogUnitsToPixels(QSize(4, 0), listFont).width());
    const int tabStop = m_pList->contentsRect().width() / baseX;
    m_pDelegate->SetTabInterval(corvelle::DialogUnitsToPixels(QSize(tabStop, 0), listFont).width());

    m_waitCursor.emplace();
    SetBusy(true);
    m_pProgress->hide();
    QThreadPool::globalInstance()->start([self = QPointer(this), inputs = m_inputs] {
        // The session lists through the folder's own descriptor: a folder that cannot be
        // opened gives an empty list, never the files of another folder.
        auto session = std::make_shared<corvelle::RenameSession>(inputs);
        OnUiThread([self, session] {
            // A dialog closed while listing is simply gone.
            if (!self) return;
            self->m_pSession = session;
            self->OnListed();
        });
    });
}

void CRenamePreviewDlg::OnListed() {
    m_waitCursor.reset();
    SetBusy(false);
    FillList();
    if (m_pList->count() == 0) {
        m_pRename->setEnabled(false);
        m_pProgress->hide();
        return;
    }
    {
        m_bFilling = true;
        const std::vector<size_t> changeable = m_pSession->changeablePositions();
        for (int row = 0; row < m_pList->count(); ++row)
            if (std::binary_search(changeable.begin(), changeable.end(), m_rowEntry[size_t(row)]) &&
                (m_pList->item(row)->flags() & Qt::ItemIsSelectable))
                m_pList->item(row)->setSelected(true);
        m_bFilling = false;
    }
    m_pSummary->setText(Text(m_pSession->summaryText()));
    m_pSummary->show();
    m_pProgress->hide();
    // Building the preview enables the button whenever there are entries, selected or not.
    m_pRename->setEnabled(true);
}

void CRenamePreviewDlg::FillList() {
    m_bFilling = true;
    m_pList->clear();
    m_rowEntry.clear();
    const std::vector<corvelle::RenameEntry>& entries = m_pSession->entries();
    for (size_t position = 0; position < entries.size(); ++position) {
        const corvelle::RenameEntry& entry = entries[position];
        m_pList->addItem(ShownText(corvelle::EntryLine(entry)));
        m_rowEntry.push_back(position);
        if (!entry.problem.korean.empty()) {
            // Marked as failing now, with the reason the rename would give.
            QListWidgetItem* item = m_pList->item(m_pList->count() - 1);
            item->setText(item->text() + QStringLiteral("  ") + ShownText(entry.problem.korean));
            item->setForeground(QColor(Qt::red));
            item->setToolTip(ShownText(entry.problem.korean));
        }
        // A sidecar goes with its picture: shown under it, never chosen on its own.
        for (const std::string& line : corvelle::SidecarLines(entry)) {
            auto* item = new QListWidgetItem(ShownText(line), m_pList);
            item->setFlags(Qt::ItemIsEnabled);
            item->setForeground(palette().brush(QPalette::Disabled, QPalette::Text));
            m_rowEntry.push_back(position);
        }
    }
    m_bFilling = false;
}

void CRenamePreviewDlg::OnSelChange() {
    if (m_bFilling || m_bBusy) return;
    m_pRename->setEnabled(!m_pList->selectedItems().isEmpty());
}

void CRenamePreviewDlg::OnRename() {
    if (m_bBusy || !m_pSession) return;
    std::vector<size_t> positions;
    for (int row = 0; row < m_pList->count(); ++row)
        if (m_pList->item(row)->isSelected()) positions.push_back(m_rowEntry[size_t(row)]);

    const int k = int(positions.size());
    m_pSummary->hide();
    // A range of 0..0 would show Qt's busy bar; an empty run shows an empty bar instead.
    m_pProgress->setRange(0, std::max(k, 1));
    m_nProgressPos = 0;
    m_pProgress->setValue(0);
    m_pProgress->show();

    SetBusy(true);
    if (m_strJournalFolder) m_pSession->setJournalFolder(*m_strJournalFolder);
    m_pSession->setUndoQuestion([self = QPointer(this)](const std::string& problem) {
        bool goOn = false;
        // The dialog refuses to close while renaming, so it is still there to ask.
        QMetaObject::invokeMethod(
            qApp, [self, &goOn, &problem] { goOn = self && self->AskToGoOnWithoutUndo(problem); },
            Qt::BlockingQueuedConnection);
        return goOn;
    });
    QThreadPool::globalInstance()->start(
        [self = QPointer(this), session = m_pSession, positions = std::move(positions)] {
            const corvelle::RenameOutcome outcome = session->rename(positions, [self] {
                OnUiThread([self] {
                    if (self) self->OnStep();
                });
            });
            OnUiThread([self, outcome] {
                if (self) self->OnRenamed(outcome);
            });
        });
}

void CRenamePreviewDlg::OnStep() { m_pProgress->setValue(++m_nProgressPos); }

bool CRenamePreviewDlg::AskToGoOnWithoutUndo(const std::string& problem) {
    return m_fnAskQuestion(
        this, ShownText(corvelle::FormatTexts(corvelle::kNoJournalQuestionFormat, {problem})));
}

void CRenamePreviewDlg::OnRenamed(const corvelle::RenameOutcome& outcome) {
    SetBusy(false);
    if (outcome.stopped) {
        // Nothing was renamed: the preview stands as it was.
        m_pProgress->hide();
        m_pSummary->show();
        OnSelChange();
        return;
    }
    if (!outcome.refusal.korean.empty()) {
        // Another quenset holds the folder: nothing was renamed, the preview stands.
        m_pProgress->hide();
        m_pSummary->show();
        m_fnShowMessage(this, ShownText(outcome.refusal.korean));
        OnSelChange();
        return;
    }
    if (!outcome.journalProblem.empty())
        std::fprintf(stderr, "quenset: note: this run cannot be undone: %s\n",
                     outcome.journalProblem.c_str());
    // Message 113 asks to check for existing files; the reasons say what really happened.
    m_fnShowMessage(this, ShownText(corvelle::FailureMessage(outcome, 20)));
    if (!outcome.failed()) {
        accept();
        return;
    }
    // The failed entries stay for the user to look at and, once selected, to try again.
    FillList();
    setWindowTitle(Text(corvelle::kFailedCaption));
    m_pRename->setEnabled(false);
}

void CRenamePreviewDlg::reject() {
    if (m_bBusy && m_pSession) return;  // renaming: the run finishes first
    QDialog::reject();
}
