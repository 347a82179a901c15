#include "ui/main_frame.h"

#include <QAction>
#include <QCloseEvent>
#include <QComboBox>
#include <QCoreApplication>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QMdiArea>
#include <QMenu>
#include <QMenuBar>
#include <QMimeData>
#include <QProgressBar>
#include <QShortcut>
#include <QStatusBar>
#include <QTimer>

#include <algorithm>

#include "core/settings_store.h"
#include "core/trim_frame.h"
#include "ui/child_frame.h"
#include "ui/combo_toolbar.h"
#include "ui/lock_key_indicators.h"
#include "ui/morvane_doc.h"
#include "ui/morvane_gui.h"
#include "ui/morvane_resources.h"
#include "ui/morvane_view.h"
#include "ui/resource_ids.h"
#include "ui/toolbar_icons.h"
#include "ui/view_geometry.h"

namespace {

constexpr const char* kSettingsSection = "Settings";
constexpr const char* kRecentSection = "Recent File List";
constexpr int kProgressIndent = 80;
constexpr int kProgressId = IDC_PROGRESS;

QString Utf8(const char* text) { return QString::fromUtf8(text); }

}  // namespace

CMainFrame::CMainFrame(QWidget* parent) : QMainWindow(parent) {
    setWindowTitle(Utf8(kMainFrameTitle));
    setWindowIcon(MorvaneIcon());
    ReadSettings();

    m_pMdiArea = new QMdiArea(this);
    m_pMdiArea->setBackground(palette().color(QPalette::Dark));
    setCentralWidget(m_pMdiArea);
    connect(m_pMdiArea, &QMdiArea::subWindowActivated, this, &CMainFrame::OnChildActivated);

    CreateCommands();
    CreateMenus();
    CreateToolBar();
    CreateAccelerators();

    connect(statusBar(), &QStatusBar::messageChanged, this, [this](const QString& message) {
        if (message.isEmpty()) statusBar()->showMessage(Utf8(kIdleMessage));
    });
    statusBar()->showMessage(Utf8(kIdleMessage));
    m_pIndicators = new CLockKeyIndicators(statusBar());

    setAcceptDrops(true);
    resize(1024, 720);
    OnUpdateCommandUi();
}

CMainFrame::~CMainFrame() {
    // Nothing may reach the frame's slots once its own part is gone, and the child windows
    // go first, while the frame they report to is still whole.
    for (QObject* child : findChildren<QObject*>()) disconnect(child, nullptr, this, nullptr);
    delete m_pMdiArea;
    m_pMdiArea = nullptr;
    WriteSettings();
}

// ---- settings

void CMainFrame::ReadSettings() {
    m_settings = std::make_unique<corvelle::SettingsStore>(corvelle::kMorvaneSettings);
    m_nCompressRatio = m_settings->readInt(kSettingsSection, "Compress ratio", 100);
    // A value edited by hand must not index past the trimming sizes or divide by zero.
    m_nTrimSize = std::clamp(m_settings->readInt(kSettingsSection, "Trim Size", 0), 0,
                             int(corvelle::kTrimSizes.size()) - 1);
    m_bFitScreen = m_settings->readInt(kSettingsSection, "Fit Screen", 1) != 0 ? 1 : 0;
    m_nZoomRatio = LimitZoom(m_settings->readInt(kSettingsSection, "Zoom ratio", 100));
    m_nPrevZoom = m_nZoomRatio;
    for (int i = 1; i <= kRecentFileCount; ++i) {
        const std::string name = "File" + std::to_string(i);
        const std::string path = m_settings->readString(kRecentSection, name, "");
        if (!path.empty()) m_recentFiles.append(QString::fromStdString(path));
    }
}

void CMainFrame::WriteSettings() {
    m_settings->writeInt(kSettingsSection, "Compress ratio", m_nCompressRatio);
    m_settings->writeInt(kSettingsSection, "Trim Size", m_nTrimSize);
    m_settings->writeInt(kSettingsSection, "Fit Screen", m_bFitScreen);
    m_settings->writeInt(kSettingsSection, "Zoom ratio", m_nZoomRatio);
    for (int i = 1; i <= kRecentFileCount; ++i) {
        const std::string name = "File" + std::to_string(i);
        const QString path = i <= m_recentFiles.size() ? m_recentFiles[i - 1] : QString();
        m_settings->writeString(kRecentSection, name, path.toStdString());
    }
}

// ---- commands

void CMainFrame::AddCommand(int id, std::function<void()> run, std::function<bool()> enabled,
                            std::function<bool()> checked) {
    auto* action = new QAction(this);
    action->setObjectName(QStringLiteral("command%1").arg(id));
    action->setStatusTip(StatusPrompt(id));
    action->setToolTip(ToolTipPrompt(id).isEmpty() ? StatusPrompt(id) : ToolTipPrompt(id));
    action->setCheckable(bool(checked));
    if (std::ranges::find(ToolbarLayout(), id) != ToolbarLayout().end()) {
        action->setIcon(ToolbarIcon(id));
        action->setIconVisibleInMenu(false);
    }
    connect(action, &QAction::triggered, this, [this, id] { ExecuteCommand(id); });
    m_commands[id] = Command{action, std::move(run), std::move(enabled), std::move(checked)};
}

void CMainFrame::CreateCommands() {
    const auto hasDocument = [this] { return GetActiveDocument() != nullptr; };
    const auto hasChildren = [this] { return !m_pMdiArea->subWindowList().isEmpty(); };
    const auto viewMode = [this](int mode) {
        return [this, mode] {
            const CMorvaneDoc* document = GetActiveDocument();
            return document && document->m_nViewMode == mode;
        };
    };

    AddCommand(ID_FILE_NEW, [this] { OnFileNew(); });
    AddCommand(ID_FILE_OPEN, [this] { OnFileOpen(); });
    AddCommand(
        ID_FILE_CLOSE, [this] { ActiveChildFrame()->close(); }, hasDocument);
    AddCommand(
        ID_FILE_SAVE, [this] { DoFileSave(GetActiveDocument()); }, hasDocument);
    AddCommand(
        ID_FILE_SAVE_AS, [this] { DoSaveAs(GetActiveDocument()); }, hasDocument);
    AddCommand(ID_APP_EXIT, [this] { close(); });
    AddCommand(ID_APP_ABOUT, [this] { OnAppAbout(); });
    AddCommand(
        ID_EDIT_COPY, [this] { GetActiveDocument()->OnEditCopy(); }, hasDocument);

    AddCommand(
        ID_TRUE_COLOR, [this] { GetActiveDocument()->OnTrueColor(); }, hasDocument,
        viewMode(CMorvaneDoc::kTrueColor));
    AddCommand(
        ID_GRAY_1786, [this] { GetActiveDocument()->OnGray1786(); }, hasDocument,
        viewMode(CMorvaneDoc::kGray1786));
    AddCommand(
        ID_GRAY_4336, [this] { GetActiveDocument()->OnGray4336(); }, hasDocument,
        viewMode(CMorvaneDoc::kGray4336));

    for (int index = 0; index < int(corvelle::kTrimSizes.size()); ++index) {
        AddCommand(
            ID_TRIM_NONE + index, [this, index] { SetTrimSize(index); }, {},
            [this, index] { return m_nTrimSize == index; });
    }
    AddCommand(
        ID_TOOLS_DENOISE, [this] { GetActiveView()->OnToolsDenoise(); },
        [this] { return GetActiveView() != nullptr; });

    AddCommand(
        ID_VIEW_FIT_SCREEN,
        [this] {
            m_bFitScreen = m_bFitScreen ? 0 : 1;
            RefreshAllViews(true);
        },
        {}, [this] { return m_bFitScreen != 0; });
    AddCommand(
        ID_VIEW_ZOOM_IN,
        // A typed zoom outside the list stays, but the views are refreshed all the same.
        [this] { SetZoom(NextZoom(m_nZoomRatio)); },
        [this] { return !m_bFitScreen && m_nZoomRatio < kZoomList.back(); });
    AddCommand(
        ID_VIEW_ZOOM_OUT, [this] { SetZoom(PreviousZoom(m_nZoomRatio)); },
        [this] { return !m_bFitScreen && m_nZoomRatio > kZoomList.front(); });
    for (int i = 0; i < int(kZoomList.size()); ++i) {
        const int zoom = kZoomList[i];
        AddCommand(
            ID_VIEW_ZOOM_30 + i, [this, zoom] { SetZoom(zoom); }, {},
            [this, zoom] { return m_nZoomRatio == zoom; });
    }

    AddCommand(
        ID_VIEW_TOOLBAR, [this] { m_pToolBar->setVisible(!m_pToolBar->isVisible()); }, {},
        [this] { return m_pToolBar->isVisible(); });
    AddCommand(
        ID_VIEW_STATUS_BAR, [this] { statusBar()->setVisible(!statusBar()->isVisible()); }, {},
        [this] { return statusBar()->isVisible(); });

    AddCommand(
        ID_WINDOW_NEXT, [this] { m_pMdiArea->activateNextSubWindow(); }, hasChildren);
    AddCommand(
        ID_WINDOW_CASCADE, [this] { CascadeWindows(); }, hasChildren);
    AddCommand(
        ID_WINDOW_TILE, [this] { m_pMdiArea->tileSubWindows(); }, hasChildren);
    AddCommand(
        ID_WINDOW_ARRANGE, [this] { ArrangeIcons(); }, hasChildren);
    AddCommand(
        ID_NEXT_PANE, [this] { m_pMdiArea->activateNextSubWindow(); }, hasChildren);
    AddCommand(
        ID_PREV_PANE, [this] { m_pMdiArea->activatePreviousSubWindow(); }, hasChildren);

    for (int i = 0; i < kRecentFileCount; ++i) {
        auto* action = new QAction(this);
        action->setObjectName(QStringLiteral("command%1").arg(ID_FILE_MRU_FILE1 + i));
        connect(action, &QAction::triggered, this, [this, i] {
            if (i < m_recentFiles.size()) OpenDocumentFile(m_recentFiles[i]);
        });
        m_recentActions.append(action);
    }
    m_recentPlaceholder = new QAction(this);
    m_recentPlaceholder->setEnabled(false);
    UpdateRecentFileActions();
}

QAction* CMainFrame::CommandAction(int id) const {
    const auto it = m_commands.find(id);
    return it == m_commands.end() ? nullptr : it->second.action;
}

bool CMainFrame::ExecuteCommand(int id) {
    const auto it = m_commands.find(id);
    if (it == m_commands.end()) return false;
    const Command& command = it->second;
    if (command.enabled && !command.enabled()) {
        OnUpdateCommandUi();
        return false;
    }
    command.run();
    ScheduleUpdate();
    return true;
}

void CMainFrame::ScheduleUpdate() {
    if (m_bUpdateScheduled) return;
    m_bUpdateScheduled = true;
    QTimer::singleShot(0, this, [this] {
        m_bUpdateScheduled = false;
        OnUpdateCommandUi();
    });
}

void CMainFrame::OnUpdateCommandUi() {
    for (const auto& [id, command] : m_commands) {
        command.action->setEnabled(!command.enabled || command.enabled());
        if (command.checked) command.action->setChecked(command.checked());
    }
    m_pToolBar->SyncCombos(m_nZoomRatio, m_bFitScreen != 0, m_nTrimSize);
    const bool documentOpen = !m_pMdiArea->subWindowList().isEmpty();
    if (documentOpen != m_bDocumentMenuShown) ShowMenuFor(documentOpen);
    const CMorvaneDoc* document = GetActiveDocument();
    setWindowTitle(
        document ? QStringLiteral("%1 - [%2]").arg(Utf8(kMainFrameTitle), document->GetTitle())
                 : Utf8(kMainFrameTitle));
}

// ---- menus, toolbar, accelerators

void CMainFrame::CreateMenus() {
    const auto build = [this](std::span<const PopupDef> popups, QList<QMenu*>& menus) {
        for (const PopupDef& popup : popups) {
            auto* menu = new QMenu(Utf8(popup.title), this);
            connect(menu, &QMenu::aboutToShow, this, &CMainFrame::OnUpdateCommandUi);
            QMenu* target = menu;
            for (const MenuItemDef& item : popup.items) {
                if (item.id == kMenuSeparator) {
                    target->addSeparator();
                } else if (item.id == kSubmenuBegin) {
                    target = menu->addMenu(Utf8(item.text));
                    connect(target, &QMenu::aboutToShow, this, &CMainFrame::OnUpdateCommandUi);
                } else if (item.id == kSubmenuEnd) {
                    target = menu;
                } else if (item.id == ID_FILE_MRU_FILE1) {
                    m_recentPlaceholder->setText(Utf8(item.text));
                    target->addAction(m_recentPlaceholder);
                    target->addActions(m_recentActions);
                } else if (QAction* action = CommandAction(item.id)) {
                    action->setText(Utf8(item.text));
                    target->addAction(action);
                }
                if (item.id == ID_WINDOW_ARRANGE) {
                    connect(menu, &QMenu::aboutToShow, this,
                            [this, menu] { FillWindowList(menu); });
                }
            }
            menus.append(menu);
        }
    };
    build(MainFrameMenu(), m_mainFrameMenus);
    build(DocumentMenu(), m_documentMenus);
    ShowMenuFor(false);
}

void CMainFrame::ShowMenuFor(bool documentOpen) {
    m_bDocumentMenuShown = documentOpen;
    menuBar()->clear();
    for (QMenu* menu : documentOpen ? m_documentMenus : m_mainFrameMenus) {
        menuBar()->addMenu(menu);
    }
}

void CMainFrame::CreateToolBar() {
    m_pToolBar = new CComboToolBar(this);
    addToolBar(Qt::TopToolBarArea, m_pToolBar);
    for (int id : ToolbarLayout()) {
        if (id == kMenuSeparator) {
            m_pToolBar->addSeparator();
        } else if (QComboBox* combo = m_pToolBar->Combo(id)) {
            m_pToolBar->addWidget(combo);
        } else if (QAction* action = CommandAction(id)) {
            m_pToolBar->addAction(action);
        }
    }
    m_pToolBar->InitCombos(m_nCompressRatio, m_nTrimSize);
    connect(m_pToolBar, &CComboToolBar::zoomCommitted, this, &CMainFrame::OnZoomCommitted);
    connect(m_pToolBar, &CComboToolBar::compressCommitted, this, &CMainFrame::OnCompressCommitted);
    connect(m_pToolBar, &CComboToolBar::trimCommitted, this, &CMainFrame::OnTrimCommitted);
}

void CMainFrame::CreateAccelerators() {
    for (const AcceleratorDef& accelerator : Accelerators()) {
        auto* shortcut =
            new QShortcut(QKeySequence(Utf8(accelerator.keys), QKeySequence::PortableText), this);
        const int id = accelerator.id;
        connect(shortcut, &QShortcut::activated, this, [this, id] { ExecuteCommand(id); });
    }
}

// ---- settings commands

void CMainFrame::SetZoom(int zoom) {
    m_nZoomRatio = zoom;
    RefreshAllViews(true);
}

void CMainFrame::SetTrimSize(int index) {
    m_nTrimSize = index;
    RefreshAllViews(false);
}

void CMainFrame::RefreshAllViews(bool recalcScroll) {
    for (CChildFrame* child : ChildFrames()) {
        if (recalcScroll) child->View()->RecalcScroll();
        child->View()->OnUpdate();
        child->Document()->SetModifiedFlag(true);
    }
    ScheduleUpdate();
}

void CMainFrame::OnZoomCommitted(int value) {
    const int zoom = LimitZoom(value);
    if (zoom != m_nZoomRatio) SetZoom(zoom);
    // A typed value brought into range shows as what it became.
    m_pToolBar->SyncCombos(m_nZoomRatio, m_bFitScreen != 0, m_nTrimSize);
    ReturnFocusToView();
}

void CMainFrame::OnCompressCommitted(int value) {
    m_nCompressRatio = value;
    ReturnFocusToView();
}

void CMainFrame::OnTrimCommitted(int index) {
    if (index >= 0 && index < int(corvelle::kTrimSizes.size()) && index != m_nTrimSize) {
        SetTrimSize(index);
    }
    ReturnFocusToView();
}

void CMainFrame::ReturnFocusToView() {
    if (CMorvaneView* view = GetActiveView()) {
        view->setFocus(Qt::OtherFocusReason);
    } else {
        setFocus(Qt::OtherFocusReason);
    }
    ScheduleUpdate();
}

// ---- status bar

void CMainFrame::SetMessageText(const QString& text) { statusBar()->showMessage(text); }

QString CMainFrame::MessageText() const { return statusBar()->currentMessage(); }

void CMainFrame::BeginProgress(int stringId, int steps) {
    if (m_pProgress) return;
    statusBar()->showMessage(LoadString(stringId));
    m_pProgress = new QProgressBar(statusBar());
    m_pProgress->setObjectName(QStringLiteral("progress%1").arg(kProgressId));
    m_pProgress->setRange(0, std::max(steps, 1));
    m_pProgress->setValue(0);
    m_pProgress->setTextVisible(false);
    const QRect pane = statusBar()->rect();
    m_pProgress->setGeometry(pane.left() + kProgressIndent, pane.top() + 2,
                             std::max(1, pane.width() - kProgressIndent - 20),
                             std::max(1, pane.height() - 4));
    m_pProgress->show();
    statusBar()->repaint();
}

void CMainFrame::StepProgress() {
    if (!m_pProgress) return;
    const int before = m_pProgress->value() * 100 / m_pProgress->maximum();
    m_pProgress->setValue(std::min(m_pProgress->value() + 1, m_pProgress->maximum()));
    // The work runs on this thread: draw the bar now, but only when it visibly moved.
    // The work runs on this thread: draw the bar now, but only when it visibly moved, and
    // let the windows repaint what was uncovered meanwhile.
    if (m_pProgress->value() * 100 / m_pProgress->maximum() != before) {
        m_pProgress->repaint();
        QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
    }
}

void CMainFrame::EndProgress() {
    delete m_pProgress;
    m_pProgress = nullptr;
    statusBar()->clearMessage();
}

// ---- window events

void CMainFrame::closeEvent(QCloseEvent* event) {
    for (CChildFrame* child : ChildFrames()) {
        if (!child->close()) {
            event->ignore();
            return;
        }
    }
    QMainWindow::closeEvent(event);
}

void CMainFrame::dragEnterEvent(QDragEnterEvent* event) {
    const QList<QUrl> urls = event->mimeData()->urls();
    if (std::ranges::any_of(urls, [](const QUrl& url) { return url.isLocalFile(); })) {
        event->acceptProposedAction();
    }
}

void CMainFrame::dropEvent(QDropEvent* event) {
    for (const QUrl& url : event->mimeData()->urls()) {
        if (url.isLocalFile()) OpenDocumentFile(url.toLocalFile());
    }
    event->acceptProposedAction();
}
