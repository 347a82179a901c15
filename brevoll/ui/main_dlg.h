#pragma once

#include <QDialog>
#include <QString>

#include <functional>
#include <string>

#include "core/run_settings.h"

class QButtonGroup;
class QCheckBox;
class QComboBox;
class QLineEdit;
class QPushButton;
class QRadioButton;

namespace corvelle {
class SettingsStore;
}

// Brevoll's main dialog: every setting of a batch resize run, read from the settings when
// it opens and written when it closes; "&Go resize " captures them and opens the run.
class CMainDlg : public QDialog {
    Q_OBJECT
  public:
    // What "&Go resize " does with the captured settings (by default: the progress dialog).
    using Runner = std::function<void(const corvelle::RunSettings&)>;
    // Opens a file with the desktop's program for it; false when that failed.
    using FileOpener = std::function<bool(const QString& path)>;

    explicit CMainDlg(corvelle::SettingsStore& store, QWidget* parent = nullptr);

    void SetRunner(Runner runner) { m_runner = std::move(runner); }
    void SetFileOpener(FileOpener opener) { m_fileOpener = std::move(opener); }
    void SetReadMePath(std::string path) { m_strReadMePath = std::move(path); }

    // The fields as the user left them, and the run settings "&Go resize " would capture.
    corvelle::DialogFields GatherFields() const;
    corvelle::RunSettings CaptureRunSettings() const;

    void OnGoResize();
    void OnCancel();
    void OnAbout();
    void OnReadMe();
    void OnBrowse(bool source);

  protected:
    void reject() override;
    void contextMenuEvent(QContextMenuEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;

  private:
    void CreateControls();
    void OnInitDialog();
    void ReportAbnormalEnd();
    void FillFontList();
    void ApplyMethodRule();
    void OnNaming();
    void OnColorBorder();
    void OnStampPos();
    void OnInterpolationChanged(int index);

    corvelle::SettingsStore& m_store;
    Runner m_runner;
    FileOpener m_fileOpener;
    std::string m_strReadMePath;

    QButtonGroup* m_pMethodGroup = nullptr;
    QRadioButton* m_pRatio = nullptr;
    QRadioButton* m_pPixel = nullptr;
    QRadioButton* m_pBound = nullptr;
    QLineEdit* m_pSizeRatio = nullptr;
    QLineEdit* m_pFixSize = nullptr;
    QLineEdit* m_pBoundWidth = nullptr;
    QLineEdit* m_pBoundHeight = nullptr;
    QCheckBox* m_pFitBound = nullptr;
    QLineEdit* m_pSourcePath = nullptr;
    QLineEdit* m_pDestPath = nullptr;
    QCheckBox* m_pNaming = nullptr;
    QLineEdit* m_pPrefix = nullptr;
    QLineEdit* m_pPostfix = nullptr;
    QCheckBox* m_pColorBorder = nullptr;
    QLineEdit* m_pBorderColor = nullptr;
    QLineEdit* m_pBorderMargin = nullptr;
    QComboBox* m_pStampPos = nullptr;
    QComboBox* m_pStampMethod = nullptr;
    QLineEdit* m_pStampColor = nullptr;
    QCheckBox* m_pStampEmboss = nullptr;
    QComboBox* m_pStampFont = nullptr;
    QComboBox* m_pStampFontSize = nullptr;
    QCheckBox* m_pRecursive = nullptr;
    QComboBox* m_pInterpolation = nullptr;
    QCheckBox* m_pExifInfo = nullptr;
    QLineEdit* m_pCompressRatio = nullptr;
    QCheckBox* m_pAllPictureTypes = nullptr;
    int64_t m_maxPixels = corvelle::kDefaultMaxPixels;  // stored only, no field shows it
    int m_maxMemoryMb = corvelle::kDefaultMaxMemoryMb;  // stored only, no field shows it
    bool m_bInitialising = true;
};
