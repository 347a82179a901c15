#pragma once

#include <QDialog>
#include <QImage>
#include <QStringList>

#include <atomic>
#include <cstdint>
#include <functional>
#include <future>
#include <memory>

#include "core/run_settings.h"

class CPreviewWnd;
class QCheckBox;
class QLabel;
class QProgressBar;
class QPushButton;
class QTimer;

namespace corvelle {
class BatchRun;
class RunClock;
class SettingsStore;
class StepMarkerBoard;
struct PictureJob;
}  // namespace corvelle

// "Resize & Move": collects the pictures, then converts them one at a time when the user
// starts, with stop, continue and close. States: Loading (collecting; both buttons off) →
// Ready → Running ⇄ Stopped → Finished. The picture under way is converted on a worker
// thread while the window goes on answering; the next one starts on the first tick after
// it is done, so order, questions, counts and step records stay those of one picture at a
// time.
class CProgressDlg : public QDialog {
    Q_OBJECT
  public:
    using Clock = std::function<uint64_t()>;  // milliseconds, never 0

    CProgressDlg(corvelle::RunSettings settings, corvelle::SettingsStore& store,
                 QWidget* parent = nullptr);
    ~CProgressDlg() override;

    void SetClock(Clock clock) { m_clock = std::move(clock); }
    // The timers stay off; the caller calls the tick handlers itself.
    void DriveTicksManually();

    void OnStart();
    void OnCancel();
    // Timer 100 (collect the pictures) and timer 101 (take the next picture).
    void OnCollectTick();
    void OnConvertTick();

    // Whether a worker is still collecting or converting.
    bool IsBusy() const { return m_bCollecting || m_bConverting; }
    bool IsRunning() const { return m_bRunning; }
    const corvelle::BatchRun& Run() const { return *m_pRun; }
    CPreviewWnd* Preview() const { return m_pPreview; }
    // The lines "&Failures..." lists: each failed picture, then the types left out.
    QStringList FailureLines() const;
    void OnFailures();
    // The one-second clock: the elapsed and remaining time go on during a long picture.
    void OnClockTick();

  protected:
    void reject() override;

  private:
    void OnCollected(std::string sourceProblem);
    void ResizePicture();
    void OnPictureDone(std::shared_ptr<corvelle::PictureJob> job);
    void ShowTime();
    static void ShowPath(QLabel* label, const QString& path);
    void EndRun();
    void ShowListed();

    corvelle::RunSettings m_settings;
    std::unique_ptr<corvelle::StepMarkerBoard> m_pMarkers;
    std::unique_ptr<corvelle::BatchRun> m_pRun;
    Clock m_clock;
    std::unique_ptr<corvelle::RunClock> m_pRunClock;

    QLabel* m_pTimeText = nullptr;
    QLabel* m_pSourceText = nullptr;
    QLabel* m_pCounterText = nullptr;
    QLabel* m_pDestText = nullptr;
    QProgressBar* m_pProgress = nullptr;
    QPushButton* m_pStart = nullptr;
    QPushButton* m_pCancel = nullptr;
    QCheckBox* m_pPreviewCheck = nullptr;
    QPushButton* m_pFailures = nullptr;
    CPreviewWnd* m_pPreview = nullptr;
    QTimer* m_pCollectTimer = nullptr;
    QTimer* m_pConvertTimer = nullptr;
    QTimer* m_pClockTimer = nullptr;

    bool m_bRunning = false;
    bool m_bStarted = false;
    bool m_bPromptOpen = false;
    bool m_bCollecting = false;
    bool m_bConverting = false;
    bool m_bCloseWhenDone = false;
    bool m_bManualTicks = false;
    std::atomic<size_t> m_nListed{0};
    std::atomic<bool> m_bListedPosted{false};
    std::future<void> m_work;
};
