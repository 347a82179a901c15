#pragma once

#include <QDialog>
#include <QString>

#include <ctime>
#include <functional>
#include <optional>
#include <string>

#include "core/name_settings.h"
#include "core/rename_session.h"
#include "core/run_journals.h"
#include "core/undo_run.h"
#include "ui/wait_cursor.h"

class QAbstractButton;
class QCheckBox;
class QComboBox;
class QLineEdit;
class QMenu;
class QPushButton;
class QRadioButton;

namespace corvelle {
class SettingsStore;
}

// Quenset's main dialog: the folder, the file type and the name pattern. Every value is
// written to the settings the moment its control changes; "변경" hands the pattern to the
// preview dialog, which lists and renames.
class CQuensetDlg : public QDialog {
    Q_OBJECT
  public:
    using Clock = std::function<std::time_t()>;
    // Shows the separator popup with its top edge centred on `anchor` (screen coordinates);
    // gives the chosen command id, or 0 when the menu was dismissed.
    using TrackPopup = std::function<int(QMenu& menu, const QPoint& anchor)>;
    using RunPreview = std::function<void(const corvelle::RunInputs& inputs)>;
    // A message box with an OK button, and a question answered Yes (true) or No.
    using ShowMessage = std::function<void(QWidget* parent, const QString& text)>;
    using AskQuestion = std::function<bool(QWidget* parent, const QString& text)>;
    // The outcome of a retried undo that failed again, with the choice to skip the files
    // left (true) beside OK.
    using OfferSkip = std::function<bool(QWidget* parent, const QString& text)>;

    // `startFolder` (bytes, as given on the command line) is put into the folder edit as if
    // typed instead of "Recent Path"; it is not stored.
    explicit CQuensetDlg(corvelle::SettingsStore& store, std::string startFolder = {},
                         Clock clock = {}, QWidget* parent = nullptr);

    // The naming choices as the controls show them now.
    corvelle::NameSettings CurrentSettings() const;
    // What "변경" hands to the preview dialog.
    corvelle::RunInputs BuildRunInputs() const;
    // The folder of a run, as bytes: what was given at start when the edit still shows it.
    std::string FolderForRun() const;

    void SetTrackPopup(TrackPopup track) { m_fnTrackPopup = std::move(track); }
    void SetRunPreview(RunPreview run) { m_fnRunPreview = std::move(run); }
    void SetShowMessage(ShowMessage show) { m_fnShowMessage = std::move(show); }
    void SetAskQuestion(AskQuestion ask) { m_fnAskQuestion = std::move(ask); }
    void SetOfferSkip(OfferSkip offer) { m_fnOfferSkip = std::move(offer); }

    // The context menu's undo entry; enabled while the folder in the edit has a run to undo.
    QAction* UndoAction() const { return m_pUndo; }
    // True while the folder's runs are being looked up or a run is being reverted.
    bool IsBusy() const { return m_nUndoLookups > 0 || m_bUndoing; }

    void OnOK();
    void OnAbout();
    void OnUndo();

  protected:
    // The undo entry is looked up again each time the menu opens, so it is never stale.
    void contextMenuEvent(QContextMenuEvent* event) override;

  private:
    // Asks about the run, then reverts (or skips) exactly that run on a worker.
    void AskAndUndo(const corvelle::RunSummary& run, const std::string& preface);
    void StartUndo(const corvelle::UndoRequest& request);
    void OnUndone(const corvelle::UndoOutcome& outcome);
    void CreateControls();
    void OnInitDialog(const std::string& startFolder);
    void ConnectControls();
    void ApplyEnablingRules();
    void BuildSample();
    void OnSeparator(QPushButton* button, std::string_view valueName);
    void OnBrowse();
    void WriteInt(std::string_view name, int value);
    // Looks up, on a worker, whether the folder in the edit has a run to undo.
    void RefreshUndo();

    corvelle::SettingsStore& m_store;
    Clock m_fnClock;
    TrackPopup m_fnTrackPopup;
    RunPreview m_fnRunPreview;
    ShowMessage m_fnShowMessage;
    AskQuestion m_fnAskQuestion;
    OfferSkip m_fnOfferSkip;
    // Only the newest lookup counts; older answers arrive late and are dropped.
    int m_nUndoLookup = 0;
    int m_nUndoLookups = 0;
    bool m_bUndoing = false;
    std::optional<corvelle::RunSummary> m_undoableRun;
    QAction* m_pUndo = nullptr;
    std::optional<corvelle::WaitCursor> m_waitCursor;
    // A start folder whose bytes are not UTF-8 is shown in Latin-1; the run takes its bytes
    // while the edit still shows it.
    std::string m_strStartFolderBytes;
    QString m_strStartFolderShown;

    QLineEdit* m_pFolder = nullptr;
    QPushButton* m_pBrowse = nullptr;
    QComboBox* m_pFileType = nullptr;
    QLineEdit* m_pSample = nullptr;
    QLineEdit* m_pPrefix = nullptr;
    QRadioButton* m_pDateMode = nullptr;
    QComboBox* m_pYear = nullptr;
    QComboBox* m_pMonth = nullptr;
    QComboBox* m_pDay = nullptr;
    QPushButton* m_pSeparators[3] = {};
    QRadioButton* m_pSerialMode = nullptr;
    QComboBox* m_pSerialDigits = nullptr;
    QLineEdit* m_pPostfix = nullptr;
    QCheckBox* m_pUseExif = nullptr;
    QCheckBox* m_pModFileDate = nullptr;
    QCheckBox* m_pSidecars = nullptr;
    QPushButton* m_pOk = nullptr;
    QPushButton* m_pAbout = nullptr;
    QPushButton* m_pExit = nullptr;
};
