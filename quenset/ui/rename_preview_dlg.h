#pragma once

#include <QDialog>

#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "core/rename_session.h"
#include "ui/wait_cursor.h"

class QLabel;
class QListWidget;
class QProgressBar;
class QPushButton;
class CTabbedLineDelegate;

// "그림 이름 변경 내용": every file of the run beside its new name. The changeable entries
// start selected; "이름 변경" renames the selected ones through the rename session and
// reports the outcome. Files that fail stay listed, and can be selected and tried again.
//
// Listing (which reads every picture's date) and renaming run on a worker thread so the
// window keeps painting; the progress bar steps once per attempted entry, in order. The
// dialog can be closed while it lists, not while it renames.
class CRenamePreviewDlg : public QDialog {
    Q_OBJECT
  public:
    // Shows one of the run's messages in a message box with an OK button.
    using ShowMessage = std::function<void(QWidget* parent, const QString& text)>;
    // A question answered Yes (true) or No.
    using AskQuestion = std::function<bool(QWidget* parent, const QString& text)>;

    explicit CRenamePreviewDlg(corvelle::RunInputs inputs, QWidget* parent = nullptr);
    ~CRenamePreviewDlg() override;

    void SetShowMessage(ShowMessage show) { m_fnShowMessage = std::move(show); }
    void SetAskQuestion(AskQuestion ask) { m_fnAskQuestion = std::move(ask); }
    // Where the run's undo record goes (the user's journal folder unless set).
    void SetJournalFolder(std::string folder) { m_strJournalFolder = std::move(folder); }
    // True while the folder is being listed or files are being renamed.
    bool IsBusy() const { return m_bBusy; }

    QListWidget* List() const { return m_pList; }
    QPushButton* RenameButton() const { return m_pRename; }
    QPushButton* CancelButton() const { return m_pCancel; }
    QProgressBar* Progress() const { return m_pProgress; }
    QLabel* Summary() const { return m_pSummary; }
    const CTabbedLineDelegate* LineDelegate() const { return m_pDelegate; }

    void OnRename();
    // Closing is refused while files are being renamed.
    void reject() override;

  private:
    void OnInitDialog();
    void OnListed();
    void FillList();
    void OnSelChange();
    void OnStep();
    void OnRenamed(const corvelle::RenameOutcome& outcome);
    void SetBusy(bool busy);
    // Asked from the renaming thread; waits for the user's answer on the window's thread.
    bool AskToGoOnWithoutUndo(const std::string& problem);

    corvelle::RunInputs m_inputs;
    std::shared_ptr<corvelle::RenameSession> m_pSession;
    ShowMessage m_fnShowMessage;
    AskQuestion m_fnAskQuestion;
    std::optional<std::string> m_strJournalFolder;
    // The entry each list row shows; sidecar rows under their picture show it too.
    std::vector<size_t> m_rowEntry;
    bool m_bBusy = false;
    bool m_bFilling = false;
    int m_nProgressPos = 0;
    std::optional<corvelle::WaitCursor> m_waitCursor;

    QListWidget* m_pList = nullptr;
    CTabbedLineDelegate* m_pDelegate = nullptr;
    QProgressBar* m_pProgress = nullptr;
    QLabel* m_pSummary = nullptr;
    QPushButton* m_pRename = nullptr;
    QPushButton* m_pCancel = nullptr;
};
