// Responsiveness figures for bench/tiselk.sh, on a folder of large photos named in
// TISELK_BENCH_FOLDER. Disabled in the ordinary run (the benchmark passes
// --gtest_also_run_disabled_tests); it prints figures and asserts nothing about time.
#include <QApplication>
#include <QListWidget>

#include <sys/resource.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <thread>

#include "core/decoding/decode_budget.h"
#include "ui/histogram_ctrl.h"
#include "ui/photo_view_wnd.h"
#include "ui/resource_ids.h"
#include "ui_test_support.h"

namespace corvelle::testing {
namespace {

using Clock = std::chrono::steady_clock;

double Milliseconds(Clock::time_point since) {
    return std::chrono::duration<double, std::milli>(Clock::now() - since).count();
}

TEST_F(DialogTest, DISABLED_SelectionAndPhotoViewTimes) {
    const char* bench = std::getenv("TISELK_BENCH_FOLDER");
    ASSERT_NE(bench, nullptr) << "TISELK_BENCH_FOLDER names a folder of photos";
    SettingsStore(kTiselkSettings).writeString("Config", "Recent Path", bench);
    Start();
    dialog->show();
    ASSERT_GE(List()->count(), 3);
    auto* histogram = FindControl<CHistogramCtrl>(dialog.get(), IDC_HISTOGRAM);

    for (int row = 0; row < 3; ++row) {
        const Clock::time_point start = Clock::now();
        List()->setCurrentRow(row);
        const double blocked = Milliseconds(start);
        while (!histogram->Picture()) {
            QApplication::processEvents();
            std::this_thread::sleep_for(std::chrono::milliseconds(1));
        }
        histogram->repaint();
        std::printf("selection to histogram painted: %.0f ms (window busy %.0f ms of it)\n",
                    Milliseconds(start), blocked);
    }

    for (bool readAhead : {true, false}) {
        List()->setCurrentRow(0);
        dialog->WaitForPicture();
        dialog->OnView();
        CPhotoViewWnd* view = dialog->PhotoView();
        ASSERT_NE(view, nullptr);
        view->Loader().SetReadAhead(readAhead);
        // Shown and painted as the event loop does it: the first paint loads the picture.
        while (!view->Picture()) {
            QApplication::processEvents();
            std::this_thread::sleep_for(std::chrono::milliseconds(1));
        }
        // Time for the read-ahead to finish its work, as a user looking at the photo gives it.
        std::this_thread::sleep_for(std::chrono::seconds(3));
        const Clock::time_point start = Clock::now();
        view->Next();
        view->WaitForPicture();
        const double stepped = Milliseconds(start);
        view->repaint();
        std::printf(
            "Space step in the photo view %s read-ahead: %.0f ms (%.0f ms of it painting)\n",
            readAhead ? "with" : "without", Milliseconds(start), Milliseconds(start) - stepped);
        view->close();
        QApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    }
}

// The photo view paged over every picture of the folder, each left time to read ahead: the
// peak resident memory of the whole run, for bench/tiselk_memory.sh.
TEST_F(DialogTest, DISABLED_PhotoViewPeakMemory) {
    const char* bench = std::getenv("TISELK_BENCH_FOLDER");
    ASSERT_NE(bench, nullptr) << "TISELK_BENCH_FOLDER names a folder of pictures";
    SettingsStore(kTiselkSettings).writeString("Config", "Recent Path", bench);
    Start();
    ASSERT_GE(List()->count(), 1);
    List()->setCurrentRow(0);
    dialog->WaitForPicture();
    dialog->OnView();
    CPhotoViewWnd* view = dialog->PhotoView();
    ASSERT_NE(view, nullptr);
    view->grab();
    for (int row = 0; row < List()->count(); ++row) {
        if (row > 0) view->Next();
        view->WaitForPicture();
        const Clock::time_point start = Clock::now();
        while (Milliseconds(start) < 3000) QApplication::processEvents(QEventLoop::AllEvents, 10);
        std::printf("picture %d: %s, %.0f MB of the budget held\n", row + 1,
                    view->Picture() ? "shown" : view->Problem().toUtf8().constData(),
                    double(DecodeBudget::Process().held()) / (1 << 20));
    }
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    std::printf("photo view peak memory: %.0f MB\n", double(usage.ru_maxrss) / 1024);
    view->close();
}

}  // namespace
}  // namespace corvelle::testing
