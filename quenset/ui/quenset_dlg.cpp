#include "ui/quenset_dlg.h"

#include <QAction>
#include <QApplication>
#include <QButtonGroup>
#include <QCheckBox>
#include <QComboBox>
#include <QContextMenuEvent>
#include <QDir>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMessageBox>
#include <QPointer>
#include <QPushButton>
#include <QRadioButton>
#include <QShortcut>
#include <QThreadPool>

#include <cstdio>

#include "core/rename_texts.h"
#include "core/settings_store.h"
#include "core/text.h"
#include "core/undo_journal.h"
#include "core/undo_run.h"
#include "ui/about_dlg.h"
#include "ui/control_id.h"
#include "ui/dialog_look.h"
#include "ui/folder_pick_dlg.h"
#include "ui/rename_preview_dlg.h"
#include "ui/resource_ids.h"
#include "ui/wait_cursor.h"

using namespace quenset;
using corvelle::kSeparators;

namespace {

QString Text(std::string_view utf8) { return QString::fromUtf8(utf8.data(), qsizetype(utf8.size())); }

// Bytes of a file name or folder made fit for the screen: UTF-8 as it is, anything else as
// Latin-1.
QString ShownName(const std::string& bytes) {
    return QString::fromStdString(corvelle::FileTextToUtf8(bytes));
}

template <size_t N>
void FillCombo(QComboBox* combo, const std::array<std::string_view, N>& items) {
    for (std::string_view item : items) combo->addItem(Text(item));
}

// The separator index a button caption stands for; an unknown caption counts as none.
int SeparatorIndexOfCaption(const QString& caption) {
    for (size_t i = 0; i < kSeparators.size(); ++i)
        if (caption == Text(kSeparators[i].caption)) return int(i);
    return 0;
}

QString SeparatorCaption(int index) {
    if (index < 0 || index >= int(kSeparators.size())) index = 0;
    return Text(kSeparators[size_t(index)].caption);
}

void DefaultShowMessage(QWidget* parent, const QString& text) {
    ShowOkMessage(parent, text, QMessageBox::Information);
}

bool DefaultAskQuestion(QWidget* parent, const QString& text) {
    return AskYesNo(parent, text, QMessageBox::Question);
}

bool DefaultOfferSkip(QWidget* parent, const QString& text) {
    return ShowOkOr(parent, text, Text(corvelle::kUndoSkipButton), QMessageBox::Warning);
}

int DefaultTrackPopup(QMenu& menu, const QPoint& anchor) {
    // Centred under the button: the menu's middle on the anchor's x.
    const QPoint at(anchor.x() - menu.sizeHint().width() / 2, anchor.y());
    const QAction* chosen = menu.exec(at);
    return chosen ? chosen->data().toInt() : 0;
}

QLabel* Label(const QString& text, QWidget* parent, const QRect& rect) {
    auto* label = new QLabel(text, parent);
    PlaceControl(label, rect);
    return label;
}

template <typename Widget>
Widget* Control(Widget* widget, int id, const QRect& rect) {
    corvelle::SetControlId(widget, id);
    PlaceControl(widget, rect);
    return widget;
}

}  // namespace

CQuensetDlg::CQuensetDlg(corvelle::SettingsStore& store, std::string startFolder, Clock clock,
                         QWidget* parent)
    : QDialog(parent),
      m_store(store),
      m_fnClock(clock ? std::move(clock) : Clock([] { return std::time(nullptr); })),
      m_fnTrackPopup(DefaultTrackPopup),
      m_fnShowMessage(DefaultShowMessage),
      m_fnAskQuestion(DefaultAskQuestion),
      m_fnOfferSkip(DefaultOfferSkip) {
    corvelle::SetControlId(this, IDD_QUENSET_DIALOG);
    setWindowTitle(QStringLiteral("Quenset 1.13 Corvelle"));
    setFont(DialogFont());
    CreateControls();
    OnInitDialog(startFolder);
    ConnectControls();
}

void CQuensetDlg::CreateControls() {
    setFixedSize(corvelle::DialogUnitsToPixels(QSize(250, 220), font()));

    auto* folderLabel = Label(QStringLiteral("변경할 그림 경로(&P):"), this, {7, 7, 120, 8});
    m_pFolder = Control(new QLineEdit(this), IDC_FOLDER_EDIT, {7, 17, 209, 13});
    folderLabel->setBuddy(m_pFolder);
    m_pBrowse = Control(new QPushButton(QStringLiteral("..."), this), IDC_BROWSE, {220, 17, 23, 13});

    auto* typeLabel = Label(QStringLiteral("변경할 파일 종류(&X) : "), this, {7, 38, 84, 8});
    m_pFileType = Control(new QComboBox(this), IDC_FILE_TYPE, {92, 36, 60, 13});
    FillCombo(m_pFileType, corvelle::kFileTypes);
    typeLabel->setBuddy(m_pFileType);
    m_pSidecars = Control(new QCheckBox(Text(corvelle::kSidecarsCheckBox), this),
                          IDC_RENAME_SIDECARS, {7, 52, 236, 10});

    auto* group = new QGroupBox(QStringLiteral("변경할 이름 조정"), this);
    PlaceControl(group, {7, 68, 236, 106});

    auto* prefixLabel = Label(QStringLiteral("앞 (&F):"), this, {16, 84, 40, 8});
    m_pPrefix = Control(new QLineEdit(this), IDC_PREFIX_EDIT, {60, 82, 90, 13});
    prefixLabel->setBuddy(m_pPrefix);

    m_pDateMode = Control(new QRadioButton(QStringLiteral("날자(&D):"), this), IDC_DATE_MODE,
                          {16, 101, 42, 10});
    m_pYear = Control(new QComboBox(this), IDC_YEAR, {60, 99, 36, 13});
    FillCombo(m_pYear, corvelle::kYearChoices);
    m_pSeparators[0] = Control(new QPushButton(this), IDC_FIRST_SEPARATOR, {97, 99, 12, 13});
    m_pMonth = Control(new QComboBox(this), IDC_MONTH, {110, 99, 32, 13});
    FillCombo(m_pMonth, corvelle::kMonthChoices);
    m_pSeparators[1] = Control(new QPushButton(this), IDC_SECOND_SEPARATOR, {143, 99, 12, 13});
    m_pDay = Control(new QComboBox(this), IDC_DAY, {156, 99, 32, 13});
    FillCombo(m_pDay, corvelle::kDayChoices);
    m_pSeparators[2] = Control(new QPushButton(this), IDC_LAST_SEPARATOR, {189, 99, 12, 13});
    Label(QStringLiteral("hhmmss-tt"), this, {203, 101, 38, 8});
    static const char* const kSeparatorNames[] = {"첫째 구분자", "둘째 구분자", "시간 앞 구분자"};
    for (int i = 0; i < 3; ++i)
        m_pSeparators[i]->setAccessibleName(QString::fromUtf8(kSeparatorNames[i]));

    m_pSerialMode = Control(new QRadioButton(QStringLiteral("일렬 번호(&N):"), this),
                            IDC_SERIAL_MODE, {16, 120, 58, 10});
    m_pSerialDigits = Control(new QComboBox(this), IDC_SERIAL_DIGITS, {76, 118, 44, 13});
    for (int digits = corvelle::kMinSerialDigits; digits <= corvelle::kMaxSerialDigits; ++digits)
        m_pSerialDigits->addItem(QStringLiteral("%1자리").arg(digits));
    auto* modes = new QButtonGroup(this);
    modes->addButton(m_pDateMode);
    modes->addButton(m_pSerialMode);

    auto* postfixLabel = Label(QStringLiteral("뒤(&E) :"), this, {16, 139, 40, 8});
    m_pPostfix = Control(new QLineEdit(this), IDC_POSTFIX_EDIT, {60, 137, 90, 13});
    postfixLabel->setBuddy(m_pPostfix);

    m_pUseExif = Control(new QCheckBox(QStringLiteral("E&xif 형식내의 촬영날자 사용"), this),
                         IDC_USE_EXIF, {16, 157, 118, 10});
    m_pModFileDate = Control(new QCheckBox(QStringLiteral("파일 날자도 변경(&D)"), this),
                             IDC_MOD_FILE_DATE, {140, 157, 98, 10});

    Label(QStringLiteral("완성 이름 예제 : "), this, {7, 183, 62, 8});
    m_pSample = Control(new QLineEdit(this), IDC_SAMPLE_EDIT, {70, 181, 173, 13});
    m_pSample->setReadOnly(true);

    m_pOk = Control(new QPushButton(QStringLiteral("변경"), this), IDOK, {7, 200, 50, 14});
    m_pOk->setDefault(true);
    m_pOk->setAutoDefault(true);
    m_pAbout = Control(new QPushButton(QStringLiteral("정보 보기"), this), IDM_ABOUTBOX,
                       {100, 200, 50, 14});
    m_pAbout->setAutoDefault(false);
    m_pExit = Control(new QPushButton(QStringLiteral("종료"), this), IDCANCEL, {193, 200, 50, 14});
    m_pExit->setAutoDefault(false);
    for (QPushButton* button : m_pSeparators) button->setAutoDefault(false);
    m_pBrowse->setAutoDefault(false);

    // Tab order follows the dialog from top to bottom.
    QWidget* order[] = {m_pFolder,      m_pBrowse,        m_pFileType, m_pSidecars,
                        m_pPrefix,      m_pDateMode,      m_pYear,     m_pSeparators[0],
                        m_pMonth,       m_pSeparators[1], m_pDay,      m_pSeparators[2],
                        m_pSerialMode,  m_pSerialDigits,  m_pPostfix,  m_pUseExif,
                        m_pModFileDate, m_pSample,        m_pOk,       m_pAbout,
                        m_pExit};
    for (size_t i = 1; i < std::size(order); ++i) setTabOrder(order[i - 1], order[i]);
}

void CQuensetDlg::OnInitDialog(const std::string& startFolder) {
    // No system menu here: the about entry lives in the dialog's context menu.
    auto* about = new QAction(QStringLiteral("&Quenset 정보..."), this);
    about->setData(IDM_ABOUTBOX);
    connect(about, &QAction::triggered, this, &CQuensetDlg::OnAbout);
    addAction(about);
    m_pUndo = new QAction(Text(corvelle::kUndoMenuEntry), this);
    m_pUndo->setData(IDM_UNDO_LAST_RUN);
    m_pUndo->setEnabled(false);
    connect(m_pUndo, &QAction::triggered, this, &CQuensetDlg::OnUndo);
    addAction(m_pUndo);
    setContextMenuPolicy(Qt::DefaultContextMenu);
    // F1 stands in for the system menu's about entry.
    auto* help = new QShortcut(QKeySequence(Qt::Key_F1), this);
    connect(help, &QShortcut::activated, this, &CQuensetDlg::OnAbout);
    setWindowIcon(ProgramIcon());

    using namespace corvelle;
    const NameSettings settings = LoadNameSettings(m_store);
    if (startFolder.empty()) {
        // The user's home folder stands where a Windows program would start at "c:\".
        const std::string home = QDir::homePath().toStdString();
        m_pFolder->setText(Text(m_store.readString(kConfigSection, kRecentPathValue, home)));
    } else {
        m_strStartFolderBytes = startFolder;
        m_strStartFolderShown = ShownName(startFolder);
        m_pFolder->setText(m_strStartFolderShown);
    }
    m_pFileType->setCurrentIndex(settings.extensionIndex);
    m_pPrefix->setText(Text(settings.prefix));
    m_pYear->setCurrentIndex(settings.yearIndex);
    m_pMonth->setCurrentIndex(settings.monthIndex);
    m_pDay->setCurrentIndex(settings.dayIndex);
    m_pSeparators[0]->setText(SeparatorCaption(settings.firstIndex));
    m_pSeparators[1]->setText(SeparatorCaption(settings.secondIndex));
    m_pSeparators[2]->setText(SeparatorCaption(settings.lastIndex));
    m_pSerialDigits->setCurrentIndex(settings.serialIndex);
    (settings.serialMode() ? m_pSerialMode : m_pDateMode)->setChecked(true);
    ApplyEnablingRules();
    m_pPostfix->setText(Text(settings.postfix));
    m_pUseExif->setChecked(settings.useExif);
    m_pModFileDate->setChecked(settings.modifyFileDate);
    m_pModFileDate->setEnabled(settings.useExif);
    m_pSidecars->setChecked(settings.renameSidecars);
    BuildSample();
    RefreshUndo();
}

void CQuensetDlg::ConnectControls() {
    using namespace corvelle;
    auto writeText = [this](std::string_view name, QLineEdit* edit) {
        connect(edit, &QLineEdit::textChanged, this, [this, name](const QString& text) {
            m_store.writeString(kConfigSection, name, text.toStdString());
            BuildSample();
        });
    };
    writeText(kPrefixValue, m_pPrefix);
    writeText(kPostfixValue, m_pPostfix);

    auto writeIndex = [this](std::string_view name, QComboBox* combo) {
        connect(combo, &QComboBox::currentIndexChanged, this, [this, name](int index) {
            if (index >= 0) WriteInt(name, index);  // a box emptied by code stores nothing
            BuildSample();
        });
    };
    writeIndex(kExtensionIndexValue, m_pFileType);
    writeIndex(kYearIndexValue, m_pYear);
    writeIndex(kMonthIndexValue, m_pMonth);
    writeIndex(kDayIndexValue, m_pDay);
    writeIndex(kSerialIndexValue, m_pSerialDigits);

    auto onMode = [this](int nameType) {
        WriteInt(kNameTypeValue, nameType);
        ApplyEnablingRules();
        BuildSample();
    };
    connect(m_pDateMode, &QRadioButton::clicked, this, [onMode] { onMode(0); });
    connect(m_pSerialMode, &QRadioButton::clicked, this, [onMode] { onMode(1); });

    const std::string_view separatorValues[] = {kFirstIndexValue, kSecondIndexValue,
                                                kLastIndexValue};
    for (int i = 0; i < 3; ++i) {
        QPushButton* button = m_pSeparators[i];
        const std::string_view name = separatorValues[i];
        connect(button, &QPushButton::clicked, this, [this, button, name] { OnSeparator(button, name); });
    }

    connect(m_pUseExif, &QCheckBox::clicked, this, [this](bool checked) {
        WriteInt(kUseExifValue, checked ? 1 : 0);
        m_pModFileDate->setEnabled(checked);
    });
    connect(m_pModFileDate, &QCheckBox::clicked, this,
            [this](bool checked) { WriteInt(kModFileDateValue, checked ? 1 : 0); });
    connect(m_pSidecars, &QCheckBox::clicked, this,
            [this](bool checked) { WriteInt(kRenameSidecarsValue, checked ? 1 : 0); });
    connect(m_pFolder, &QLineEdit::textChanged, this, &CQuensetDlg::RefreshUndo);

    connect(m_pBrowse, &QPushButton::clicked, this, &CQuensetDlg::OnBrowse);
    connect(m_pOk, &QPushButton::clicked, this, &CQuensetDlg::OnOK);
    connect(m_pAbout, &QPushButton::clicked, this, &CQuensetDlg::OnAbout);
    connect(m_pExit, &QPushButton::clicked, this, &QDialog::reject);
}

void CQuensetDlg::WriteInt(std::string_view name, int value) {
    m_store.writeInt(corvelle::kConfigSection, name, value);
}

void CQuensetDlg::ApplyEnablingRules() {
    const bool dateMode = m_pDateMode->isChecked();
    for (QWidget* control : {static_cast<QWidget*>(m_pYear), static_cast<QWidget*>(m_pMonth),
                             static_cast<QWidget*>(m_pDay)})
        control->setEnabled(dateMode);
    for (QPushButton* button : m_pSeparators) button->setEnabled(dateMode);
    m_pSerialDigits->setEnabled(!dateMode);
}

corvelle::NameSettings CQuensetDlg::CurrentSettings() const {
    corvelle::NameSettings settings;
    settings.extensionIndex = m_pFileType->currentIndex();
    settings.prefix = m_pPrefix->text().toStdString();
    settings.postfix = m_pPostfix->text().toStdString();
    settings.nameType = m_pSerialMode->isChecked() ? 1 : 0;
    settings.yearIndex = m_pYear->currentIndex();
    settings.monthIndex = m_pMonth->currentIndex();
    settings.dayIndex = m_pDay->currentIndex();
    settings.firstIndex = SeparatorIndexOfCaption(m_pSeparators[0]->text());
    settings.secondIndex = SeparatorIndexOfCaption(m_pSeparators[1]->text());
    settings.lastIndex = SeparatorIndexOfCaption(m_pSeparators[2]->text());
    settings.serialIndex = m_pSerialDigits->currentIndex();
    settings.useExif = m_pUseExif->isChecked();
    settings.modifyFileDate = m_pModFileDate->isChecked();
    settings.renameSidecars = m_pSidecars->isChecked();
    return settings;
}

void CQuensetDlg::BuildSample() {
    const std::optional<std::string> sample = corvelle::BuildSampleName(CurrentSettings(), m_fnClock());
    // Serial mode without a digits entry leaves the sample as it was.
    if (sample) m_pSample->setText(Text(*sample));
}

void CQuensetDlg::OnSeparator(QPushButton* button, std::string_view valueName) {
    QMenu menu(this);
    corvelle::SetControlId(&menu, IDR_SEPARATOR_MENU);
    // The popup lists the table in its order: none first, then the four separator texts.
    for (const corvelle::Separator& separator : kSeparators)
        menu.addAction(Text(separator.menuText))->setData(separator.commandId);
    const QPoint anchor = button->mapToGlobal(QPoint(button->width() / 2, button->height()));
    const int command = m_fnTrackPopup(menu, anchor);
    for (size_t index = 0; index < kSeparators.size(); ++index) {
        if (kSeparators[index].commandId != command) continue;
        button->setText(SeparatorCaption(int(index)));
        BuildSample();
        WriteInt(valueName, int(index));
        return;
    }
    // Dismissed: nothing changes and nothing is written.
}

void CQuensetDlg::OnBrowse() {
    using namespace corvelle;
    CFolderPickDlg dialog(FolderPickStyle::Quenset(), m_store, std::string(kConfigSection),
                          std::string(kRecentPathValue), this);
    if (dialog.exec() != QDialog::Accepted) return;
    const std::string folder = m_store.readString(kConfigSection, kRecentPathValue, "");
    if (folder.empty()) return;
    m_pFolder->setText(Text(folder));
    m_store.writeString(kConfigSection, kRecentPathValue, folder);
}

std::string CQuensetDlg::FolderForRun() const {
    const QString shown = m_pFolder->text();
    if (!m_strStartFolderBytes.empty() && shown == m_strStartFolderShown)
        return m_strStartFolderBytes;
    return shown.toStdString();
}

corvelle::RunInputs CQuensetDlg::BuildRunInputs() const {
    return corvelle::RunInputsFromSettings(CurrentSettings(), FolderForRun());
}

void CQuensetDlg::OnOK() {
    const corvelle::RunInputs inputs = BuildRunInputs();
    // A folder that is not there shows why, rather than an empty list.
    const std::string problem = corvelle::FolderProblemText(inputs.folder);
    if (!problem.empty()) {
        m_fnShowMessage(this, QString::fromStdString(corvelle::FileTextToUtf8(problem)));
        return;
    }
    if (m_fnRunPreview) {
        m_fnRunPreview(inputs);
    } else {
        CRenamePreviewDlg preview(inputs, this);
        preview.exec();
    }
    RefreshUndo();
}

void CQuensetDlg::RefreshUndo() {
    const int lookup = ++m_nUndoLookup;
    ++m_nUndoLookups;
    m_pUndo->setEnabled(false);
    QThreadPool::globalInstance()->start([self = QPointer(this), lookup, folder = FolderForRun()] {
        auto run = corvelle::UndoableRun(folder, corvelle::JournalFolder(), std::time(nullptr));
        QMetaObject::invokeMethod(
            qApp,
            [self, lookup, run = std::move(run)] {
                if (!self) return;
                --self->m_nUndoLookups;
                if (lookup != self->m_nUndoLookup) return;  // the folder changed since
                self->m_undoableRun = run;
                self->m_pUndo->setEnabled(run.has_value() && !self->m_bUndoing);
            },
            Qt::QueuedConnection);
    });
}

void CQuensetDlg::contextMenuEvent(QContextMenuEvent* event) {
    // A run made meanwhile from a terminal changes what there is to undo.
    RefreshUndo();
    QMenu menu(this);
    menu.addActions(actions());
    menu.exec(event->globalPos());
}

void CQuensetDlg::OnUndo() {
    if (!m_undoableRun || m_bUndoing) return;
    AskAndUndo(*m_undoableRun, {});
}

void CQuensetDlg::AskAndUndo(const corvelle::RunSummary& run, const std::string& preface) {
    using namespace corvelle;
    const std::string question = preface.empty() ? UndoQuestion(run)
                                                 : preface + "\n\n" + UndoQuestion(run);
    if (!m_fnAskQuestion(this, Text(question))) return;
    // The undo reverts the very run the question named, or comes back to ask again.
    UndoRequest request;
    request.journalPath = run.journalPath;
    request.openPictures = run.open.sets;
    StartUndo(request);
}

void CQuensetDlg::StartUndo(const corvelle::UndoRequest& request) {
    m_bUndoing = true;
    m_pUndo->setEnabled(false);
    m_waitCursor.emplace();
    QThreadPool::globalInstance()->start([self = QPointer(this), folder = FolderForRun(), request] {
        const corvelle::UndoOutcome outcome =
            corvelle::UndoLastRun(folder, corvelle::JournalFolder(), request);
        QMetaObject::invokeMethod(
            qApp,
            [self, outcome] {
                if (self) self->OnUndone(outcome);
            },
            Qt::QueuedConnection);
    });
}

void CQuensetDlg::OnUndone(const corvelle::UndoOutcome& outcome) {
    using namespace corvelle;
    m_bUndoing = false;
    m_waitCursor.reset();
    for (const std::string& note : outcome.notes)
        std::fprintf(stderr, "quenset: note: %s\n", note.c_str());
    if (outcome.runChanged) {
        m_undoableRun = outcome.currentRun;
        if (outcome.currentRun) {
            AskAndUndo(*outcome.currentRun, std::string(kRunChangedText));
        } else {
            m_fnShowMessage(this, Text(std::string(kRunChangedText) + "\n" +
                                       std::string(kNothingToUndoText)));
        }
        if (!m_bUndoing) RefreshUndo();
        return;
    }
    const QString text = QString::fromStdString(FileTextToUtf8(UndoMessage(outcome, 20)));
    // A retry that failed again may give up the files left, so older runs can be reached.
    if (outcome.retried > 0 && !outcome.failureLines.empty() && !outcome.refused()) {
        if (m_fnOfferSkip(this, text)) {
            UndoRequest request;
            request.journalPath = outcome.journalPath;
            request.skip = true;
            StartUndo(request);
            return;
        }
    } else {
        m_fnShowMessage(this, text);
    }
    RefreshUndo();
}

void CQuensetDlg::OnAbout() {
    CQuensetAboutDlg about(this);
    about.exec();
}
