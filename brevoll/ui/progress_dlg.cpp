#include "ui/progress_dlg.h"

#include <QApplication>
#include <QCheckBox>
#include <QElapsedTimer>
#include <QLabel>
#include <QProgressBar>
#include <QPushButton>
#include <QTimer>

#include "core/batch_run.h"
#include "core/format_seconds.h"
#include "core/picture_list.h"
#include "core/settings_store.h"
#include "core/step_record.h"
#include "ui/canvas_image.h"
#include "ui/control_id.h"
#include "ui/dialog_font.h"
#include "ui/failure_list_dlg.h"
#include "ui/overwrite_dlg.h"
#include "ui/preview_wnd.h"
#include "ui/resource_ids.h"

using namespace brevoll;
using corvelle::OverwriteAnswer;
using corvelle::PictureJob;
using corvelle::PictureOutcome;

namespace {

QString qt(const std::string& text) { return QString::fromStdString(text); }

uint64_t monotonicMs() {
    static QElapsedTimer started = [] {
        QElapsedTimer timer;
        timer.start();
        return timer;
    }();
    return uint64_t(started.elapsed()) + 1;
}

}  // namespace

CProgressDlg::CProgressDlg(corvelle::RunSettings settings, corvelle::SettingsStore& store,
                           QWidget* parent)
    : QDialog(parent),
      m_settings(std::move(settings)),
      m_clock(monotonicMs),
      m_pRunClock(std::make_unique<corvelle::RunClock>()) {
    corvelle::SetControlId(this, IDD_PROGRESS);
    setWindowTitle(QStringLiteral("Resize & Move"));
    setFont(DialogFont());
    m_pMarkers =
        std::make_unique<corvelle::StepMarkerBoard>(corvelle::StepRecordPath(store.filePath()));
    m_pRun = std::make_unique<corvelle::BatchRun>(m_settings, *m_pMarkers,
                                                  [this](const std::string& destination) {
                                                      m_bPromptOpen = true;
                                                      COverwriteDlg prompt(qt(destination), this);
                                                      const OverwriteAnswer answer = prompt.ask();
                                                      m_bPromptOpen = false;
                                                      return answer;
                                                  });

    auto label = [this](int id, const QString& text, int x, int y, int w, int h = 10) {
        auto* l = new QLabel(text, this);
        if (id) corvelle::SetControlId(l, id);
        PlaceInDialogUnits(l, x, y, w, h);
        return l;
    };
    label(0, QStringLiteral("Org. : "), 7, 7, 26);
    m_pSourceText = label(IDC_SOURCE_TEXT, QString(), 34, 7, 219);
    label(0, QStringLiteral("Dest. : "), 7, 19, 26);
    m_pDestText = label(IDC_DEST_TEXT, QString(), 34, 19, 219);
    m_pCounterText = label(IDC_COUNTER_TEXT, QStringLiteral("10000 of 10000"), 7, 34, 62);
    m_pProgress = new QProgressBar(this);
    corvelle::SetControlId(m_pProgress, IDC_PROGRESS_BAR);
    m_pProgress->setTextVisible(false);
    m_pProgress->setRange(0, 1);
    m_pProgress->setValue(0);
    PlaceInDialogUnits(m_pProgress, 72, 33, 181, 11);
    m_pTimeText = label(IDC_TIME_TEXT, QString(), 7, 53, 134);
    m_pStart = new QPushButton(QStringLiteral("&Start"), this);
    corvelle::SetControlId(m_pStart, IDOK);
    m_pStart->setDefault(true);
    PlaceInDialogUnits(m_pStart, 146, 50, 50, 14);
    m_pCancel = new QPushButton(QStringLiteral("Cancel"), this);
    corvelle::SetControlId(m_pCancel, IDCANCEL);
    m_pCancel->setAutoDefault(false);
    PlaceInDialogUnits(m_pCancel, 203, 50, 50, 14);
    m_pPreviewCheck = new QCheckBox(QStringLiteral("&Preview Image"), this);
    corvelle::SetControlId(m_pPreviewCheck, IDC_PREVIEW_CHECK);
    PlaceInDialogUnits(m_pPreviewCheck, 7, 68, 90, 10);
    // Shown when a run ends with pictures it could not convert.
    m_pFailures = new QPushButton(QStringLiteral("&Failures..."), this);
    corvelle::SetControlId(m_pFailures, IDC_FAILURES);
    m_pFailures->setAutoDefault(false);
    m_pFailures->hide();
    PlaceInDialogUnits(m_pFailures, 203, 66, 50, 14);
    m_pPreview = new CPreviewWnd(this);
    corvelle::SetControlId(m_pPreview, IDC_PREVIEW);
    PlaceInDialogUnits(m_pPreview, 7, 81, 246, 142);
    setFixedSize(corvelle::DialogUnitsToPixels(QSize(260, 230), DialogFont()));

    connect(m_pStart, &QPushButton::clicked, this, &CProgressDlg::OnStart);
    connect(m_pCancel, &QPushButton::clicked, this, &CProgressDlg::OnCancel);
    connect(m_pFailures, &QPushButton::clicked, this, &CProgressDlg::OnFailures);

    // OnInitDialog: both buttons off, the preview box checked, the collection in 100 ms.
    m_pStart->setEnabled(false);
    m_pCancel->setEnabled(false);
    m_pPreviewCheck->setChecked(true);
    m_pCollectTimer = new QTimer(this);
    m_pCollectTimer->setSingleShot(true);
    m_pCollectTimer->setInterval(kTimerPeriodMs);
    connect(m_pCollectTimer, &QTimer::timeout, this, &CProgressDlg::OnCollectTick);
    m_pCollectTimer->start();
    m_pConvertTimer = new QTimer(this);
    m_pConvertTimer->setInterval(kTimerPeriodMs);
    connect(m_pConvertTimer, &QTimer::timeout, this, &CProgressDlg::OnConvertTick);
    m_pClockTimer = new QTimer(this);
    m_pClockTimer->setInterval(1000);
    connect(m_pClockTimer, &QTimer::timeout, this, &CProgressDlg::OnClockTick);
}

CProgressDlg::~CProgressDlg() {
    // The worker reports to this dialog; it finishes before the dialog goes.
    if (m_work.valid()) m_work.wait();
    if (m_bCollecting) QApplication::restoreOverrideCursor();
}

void CProgressDlg::DriveTicksManually() {
    m_bManualTicks = true;
    m_pCollectTimer->stop();
    m_pConvertTimer->stop();
    m_pClockTimer->stop();
}

void CProgressDlg::OnCollectTick() {
    m_pCollectTimer->stop();
    if (m_bCollecting || m_bStarted) return;
    m_bCollecting = true;
    QApplication::setOverrideCursor(QCursor(Qt::WaitCursor));
    m_work = std::async(std::launch::async, [this] {
        std::string problem = corvelle::SourceFolderProblem(m_settings.sourceFolder);
        m_pRun->collect([this](size_t count) {
            m_nListed = count;
            if (!m_bListedPosted.exchange(true))
                QMetaObject::invokeMethod(this, &CProgressDlg::ShowListed, Qt::QueuedConnection);
        });
        QMetaObject::invokeMethod(
            this, [this, problem] { OnCollected(problem); }, Qt::QueuedConnection);
    });
}

void CProgressDlg::ShowListed() {
    m_bListedPosted = false;
    if (m_bCollecting)
        m_pCounterText->setText(QStringLiteral("Load Tree(%1)").arg(m_nListed.load()));
}

void CProgressDlg::OnCollected(std::string sourceProblem) {
    m_bCollecting = false;
    if (m_work.valid()) m_work.get();
    QApplication::restoreOverrideCursor();
    m_pCounterText->setText(QStringLiteral("0 / %1").arg(m_pRun->total()));
    // A folder that cannot be walked says why instead of looking empty.
    QString source = qt(m_settings.sourceFolder);
    if (!sourceProblem.empty()) source += QStringLiteral(" (%1)").arg(qt(sourceProblem));
    m_pSourceText->setText(source);
    m_pDestText->setText(qt(m_settings.destinationFolder));
    if (m_bCloseWhenDone) {
        QDialog::reject();
        return;
    }
    m_pStart->setEnabled(true);
    m_pCancel->setEnabled(true);
    m_pStart->setFocus();
}

void CProgressDlg::OnStart() {
    if (m_bRunning || m_bCollecting || !m_pStart->isEnabled()) return;
    m_bRunning = true;
    if (!m_bManualTicks) {
        m_pConvertTimer->start();
        m_pClockTimer->start();
    }
    m_pStart->setEnabled(false);
    m_pCancel->setText(QStringLiteral("Stop"));
    m_pCancel->setFocus();
    const uint64_t now = m_clock();
    if (!m_bStarted) {
        m_bStarted = true;
        m_pProgress->setRange(1, std::max(m_pRun->total(), 1));
        m_pProgress->setValue(1);
        m_pProgress->reset();
        m_pRunClock->start(now);
    } else if (!m_bConverting) {
        // The time spent stopped does not count; a picture still under way never stopped.
        m_pRunClock->start(now);
    }
}

void CProgressDlg::OnCancel() {
    if (m_bRunning) {
        m_pConvertTimer->stop();
        m_pClockTimer->stop();
        m_bRunning = false;
        m_pCancel->setText(QStringLiteral("&Close"));
        m_pStart->setText(QStringLiteral("C&ontinue"));
        m_pStart->setEnabled(true);
        m_pStart->setFocus();
        return;
    }
    if (m_bCollecting || m_bConverting) {
        // Closed as soon as the work under way is done.
        m_bCloseWhenDone = true;
        m_pStart->setEnabled(false);
        m_pCancel->setEnabled(false);
        return;
    }
    QDialog::reject();
}

void CProgressDlg::reject() { OnCancel(); }

void CProgressDlg::OnConvertTick() {
    if (m_bPromptOpen || m_bConverting || !m_bRunning) return;
    if (!m_pRun->finished()) {
        ResizePicture();
        return;
    }
    EndRun();
}

void CProgressDlg::ResizePicture() {
    const int index = m_pRun->taken();
    const int total = m_pRun->total();
    const std::string& source = m_pRun->pictures()[size_t(index)];
    m_pCounterText->setText(QStringLiteral("%1 / %2").arg(index + 1).arg(total));
    m_pProgress->setValue(index + 1);
    m_pSourceText->setText(qt(source));
    m_pDestText->setText(qt(corvelle::DestinationPathFor(m_settings, source)));

    // The preview box is read at each picture: a change shows from the next one on.
    const bool preview = m_pPreviewCheck->isChecked();
    auto job = std::make_shared<PictureJob>(*m_pRun->takeNext());
    if (job->outcome == PictureOutcome::Cancelled) {
        EndRun();
        return;
    }
    if (job->outcome != PictureOutcome::Convert) {
        ShowTime();
        return;
    }
    m_bConverting = true;
    m_work = std::async(std::launch::async, [this, job, preview] {
        m_pRun->convert(*job, preview);
        const bool resized = job->outcome == PictureOutcome::Resized;
        QImage canvas = preview && resized ? CanvasToImage(job->preview) : QImage();
        job->preview = vips::VImage();
        QMetaObject::invokeMethod(
            this,
            [this, job, preview, resized, canvas] {
                m_pPreview->SetShown(preview);
                // A picture that failed leaves the preview as it was.
                if (preview && resized) m_pPreview->SetCanvas(canvas);
                OnPictureDone(job);
            },
            Qt::QueuedConnection);
    });
}

void CProgressDlg::OnPictureDone(std::shared_ptr<PictureJob> job) {
    m_bConverting = false;
    if (m_work.valid()) m_work.get();
    m_pRun->finish(*job);
    ShowTime();
    if (m_bCloseWhenDone) QDialog::reject();
}

void CProgressDlg::ShowTime() {
    const uint64_t now = m_clock();
    m_pRunClock->pictureDone(now);
    m_pTimeText->setText(qt(corvelle::FormatProgressTime(m_pRunClock->elapsedMs(now),
                                                         m_pRun->taken(), m_pRun->total())));
}

void CProgressDlg::OnClockTick() {
    // Between pictures the time is shown when each one is done.
    if (!m_bConverting || !m_bRunning) return;
    const uint64_t now = m_clock();
    m_pTimeText->setText(qt(corvelle::FormatProgressTime(m_pRunClock->elapsedMs(now),
                                                         m_pRun->taken(), m_pRun->total())));
}

QStringList CProgressDlg::FailureLines() const {
    QStringList lines;
    for (const corvelle::PictureFailure& failure : m_pRun->failures())
        lines << qt(corvelle::DescribeFailure(failure));
    for (const std::string& line : m_pRun->leftOutTypes()) lines << qt(line);
    return lines;
}

void CProgressDlg::OnFailures() {
    CFailureListDlg list(FailureLines(), this);
    list.exec();
}

void CProgressDlg::EndRun() {
    m_pConvertTimer->stop();
    m_pClockTimer->stop();
    m_bRunning = false;
    if (m_pRun->cancelled()) m_pTimeText->setText(QStringLiteral("User canceled"));
    const int failed = int(m_pRun->failures().size());
    m_pCounterText->setText(
        failed > 0 ? QStringLiteral("%1 Resized, %2 failed").arg(m_pRun->resized()).arg(failed)
                   : QStringLiteral("%1 Resized").arg(m_pRun->resized()));
    m_pFailures->setVisible(!FailureLines().isEmpty());
    m_pCancel->setText(QStringLiteral("Close"));
    m_pStart->setEnabled(false);
    m_pPreview->SetCanvas(QImage());
    m_pCancel->setFocus();
}
