#pragma once

#include <QList>
#include <QMainWindow>
#include <QStringList>

#include <functional>
#include <map>
#include <memory>

#include "core/progress.h"

class CChildFrame;
class CComboToolBar;
class CMorvaneDoc;
class CMorvaneView;
class QAction;
class QMdiArea;
class QMenu;
class QProgressBar;
class CLockKeyIndicators;

namespace corvelle {
class SettingsStore;
}

// The main window: menus, accelerators, the toolbar with its combos, the status bar with
// its progress display, the child windows of the open photos, and the four settings that
// steer every view. Settings are read when the frame is made and written when it goes.
class CMainFrame : public QMainWindow {
    Q_OBJECT
  public:
    explicit CMainFrame(QWidget* parent = nullptr);
    ~CMainFrame() override;

    // Settings shared by all views.
    int m_nCompressRatio = 100;
    int m_nTrimSize = 0;
    int m_bFitScreen = 1;
    int m_nZoomRatio = 100;
    int m_nPrevZoom = 100;

    // The action of a command id (menu item, accelerator, toolbar button); null if unknown.
    QAction* CommandAction(int id) const;
    // Runs a command as the menu would; false when it is unknown or disabled.
    bool ExecuteCommand(int id);
    // Refreshes enabled states, check marks and the combos, as the idle loop would.
    void OnUpdateCommandUi();

    CMorvaneDoc* OnFileNew();
    // Opens a photo in a new maximised child window, or activates the one already open;
    // null when the file does not load.
    CMorvaneDoc* OpenDocumentFile(const QString& path);
    // Asks whether to save a modified document; false when the user cancels.
    bool SaveModified(CMorvaneDoc* document);
    bool DoFileSave(CMorvaneDoc* document);
    bool DoSaveAs(CMorvaneDoc* document);

    QMdiArea* MdiArea() const { return m_pMdiArea; }
    CComboToolBar* ToolBar() const { return m_pToolBar; }
    // Child frames, the active one first, then the others in window order.
    QList<CChildFrame*> ChildFrames() const;
    CChildFrame* ActiveChildFrame() const;
    CMorvaneView* GetActiveView() const;
    CMorvaneDoc* GetActiveDocument() const;
    int NextUntitledNumber() { return ++m_nUntitledCount; }
    QStringList RecentFiles() const { return m_recentFiles; }

    // Status-bar progress for long work: the string in the message pane and a smooth bar
    // from 80 pixels right of the pane's left edge.
    void BeginProgress(int stringId, int steps);
    void StepProgress();
    void EndProgress();
    QProgressBar* ProgressBar() const { return m_pProgress; }
    CLockKeyIndicators* Indicators() const { return m_pIndicators; }
    void SetMessageText(const QString& text);
    QString MessageText() const;

    // Settings commands and combo commits.
    void SetZoom(int zoom);
    void SetTrimSize(int index);
    void OnZoomCommitted(int value);
    void OnCompressCommitted(int value);
    void OnTrimCommitted(int index);
    // Repaints every view and marks every document modified; the zoom and fit changes also
    // recompute scroll sizes.
    void RefreshAllViews(bool recalcScroll);

  protected:
    void closeEvent(QCloseEvent* event) override;
    void dragEnterEvent(QDragEnterEvent* event) override;
    void dropEvent(QDropEvent* event) override;

  private:
    struct Command {
        QAction* action = nullptr;
        std::function<void()> run;
        std::function<bool()> enabled;
        std::function<bool()> checked;
    };

    void ReadSettings();
    void WriteSettings();
    void CreateCommands();
    void AddCommand(int id, std::function<void()> run, std::function<bool()> enabled = {},
                    std::function<bool()> checked = {});
    void CreateMenus();
    void CreateToolBar();
    void CreateAccelerators();
    void ShowMenuFor(bool documentOpen);
    void ScheduleUpdate();
    void AddChildFrame(CMorvaneDoc* document);
    void OnFileOpen();
    void OnAppAbout();
    void ArrangeIcons();
    void CascadeWindows();
    // The open windows listed at the end of the window menu, the active one checked.
    void FillWindowList(QMenu* menu);
    void AddRecentFile(const QString& path);
    void UpdateRecentFileActions();
    void ReturnFocusToView();
    void OnChildActivated();

    std::unique_ptr<corvelle::SettingsStore> m_settings;
    QMdiArea* m_pMdiArea = nullptr;
    CComboToolBar* m_pToolBar = nullptr;
    QProgressBar* m_pProgress = nullptr;
    CLockKeyIndicators* m_pIndicators = nullptr;
    std::map<int, Command> m_commands;
    QList<QMenu*> m_mainFrameMenus;
    QList<QMenu*> m_documentMenus;
    QList<QAction*> m_recentActions;
    QList<QAction*> m_windowListActions;
    QAction* m_recentPlaceholder = nullptr;
    QStringList m_recentFiles;
    bool m_bDocumentMenuShown = false;
    bool m_bUpdateScheduled = false;
    int m_nUntitledCount = 0;
};

// Status-bar progress for the core's long operations.
class CStatusBarProgress : public corvelle::ProgressReporter {
  public:
    CStatusBarProgress(CMainFrame* frame, int stringId) : m_pFrame(frame), m_nStringId(stringId) {}
    void begin(int steps) override { m_pFrame->BeginProgress(m_nStringId, steps); }
    void step() override { m_pFrame->StepProgress(); }
    void end() override { m_pFrame->EndProgress(); }

  private:
    CMainFrame* m_pFrame;
    int m_nStringId;
};
