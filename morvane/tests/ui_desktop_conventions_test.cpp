// What a person meets first: opening files (and files that are not photos), the program
// icon, the status-bar indicators, cascading windows, and the picture on show while the
// noise filter runs.

#include <QLabel>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMessageBox>
#include <QProgressBar>
#include <QStatusBar>

#include "core/jpeg_file.h"
#include "support/temp_folder.h"
#include "ui/about_dlg.h"
#include "ui/even_spread_dlg.h"
#include "ui/lock_key_indicators.h"
#include "ui/resource_ids.h"
#include "ui_test_support.h"

namespace corvelle::testing {
namespace {

TEST_F(MainFrameTest, OpenedPhotoShowsTheFrameCursorAtOnce) {
    TempFolder folder;
    ASSERT_TRUE(SaveJpegFile(folder.file("wide.jpg"), MakeTestPhoto(600, 200), 90));
    frame->ExecuteCommand(ID_TRIM_NONE + 2);
    ASSERT_NE(frame->OpenDocumentFile(QString::fromStdString(folder.file("wide.jpg"))), nullptr);
    EXPECT_EQ(View()->viewport()->cursor().shape(), Qt::SizeHorCursor);
}

TEST_F(MainFrameTest, FileThatIsNotAJpegIsRefusedWithTheReason) {
    TempFolder folder;
    WriteFileBytes(folder.file("png.jpg"), {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n', 0, 0});
    WriteFileBytes(folder.file("empty.jpg"), {});
    WriteFileBytes(folder.file("notes.jpg"), {'h', 'e', 'l', 'l', 'o', '\n'});
    const qsizetype windows = frame->ChildFrames().size();
    for (const char* name : {"png.jpg", "empty.jpg", "notes.jpg"}) {
        const QString path = QString::fromStdString(folder.file(name));
        QString message;
        bool told = false;
        WhenModalOpens<QMessageBox>(
            [&message](QMessageBox* box) {
                message = box->text();
                box->accept();
            },
            &told);
        EXPECT_EQ(frame->OpenDocumentFile(path), nullptr) << name;
        ASSERT_TRUE(told) << name;
        const QStringList lines = message.split(u'\n');
        ASSERT_EQ(lines.size(), 3) << message.toStdString();
        EXPECT_EQ(lines[0], path);
        EXPECT_EQ(lines[1], "파일을 열 수 없습니다.");
        EXPECT_FALSE(lines[2].isEmpty()) << "the decoder's reason";
    }
    EXPECT_EQ(frame->ChildFrames().size(), windows);
}

TEST_F(MainFrameTest, WindowsAndAboutBoxCarryTheProgramIcon) {
    EXPECT_FALSE(frame->windowIcon().isNull());
    CAboutDlg about(frame.get());
    EXPECT_FALSE(about.windowIcon().isNull());
    const QLabel* icon = about.findChild<QLabel*>("icon");
    ASSERT_NE(icon, nullptr);
    EXPECT_FALSE(icon->pixmap().isNull());
}

TEST_F(MainFrameTest, LockIndicatorsFollowTheMessagePane) {
    CLockKeyIndicators* indicators = frame->Indicators();
    ASSERT_NE(indicators, nullptr);
    QStringList texts;
    int left = frame->statusBar()->width() / 2;
    for (int i = 0; i < 3; ++i) {
        texts << indicators->Pane(i)->text();
        EXPECT_GT(indicators->Pane(i)->x(), left) << "after the message pane, in order";
        left = indicators->Pane(i)->x();
    }
    EXPECT_EQ(texts, QStringList({"CAPS", "NUM", "SCRL"}));
    // Where the platform cannot tell (here: offscreen), all three stay dimmed.
    for (int i = 0; i < 3; ++i) EXPECT_FALSE(indicators->Pane(i)->isEnabled());
    indicators->Show(LockKeyStates{true, false, true});
    EXPECT_TRUE(indicators->Pane(0)->isEnabled());
    EXPECT_FALSE(indicators->Pane(1)->isEnabled());
    EXPECT_TRUE(indicators->Pane(2)->isEnabled());
}

TEST_F(MainFrameTest, CascadeGivesEachWindowALargeShareSteppedDownAndRight) {
    OpenPhoto(MakeTestPhoto(300, 200));
    OpenPhoto(MakeTestPhoto(200, 300));
    frame->ExecuteCommand(ID_WINDOW_CASCADE);
    QApplication::processEvents();
    QMdiArea* area = frame->findChild<QMdiArea*>();
    const QSize room = area->viewport()->size();
    const QList<QMdiSubWindow*> windows = area->subWindowList(QMdiArea::StackingOrder);
    ASSERT_EQ(windows.size(), 2);
    for (QMdiSubWindow* window : windows) {
        EXPECT_FALSE(window->isMaximized());
        EXPECT_GE(window->width(), room.width() * 2 / 3);
        EXPECT_GE(window->height(), room.height() * 2 / 3);
        EXPECT_TRUE(QRect(QPoint(0, 0), room).contains(window->geometry()));
    }
    EXPECT_GT(windows[1]->x(), windows[0]->x());
    EXPECT_GT(windows[1]->y(), windows[0]->y());
    EXPECT_EQ(area->activeSubWindow(), windows[1]) << "the front window stays active";
}

// Notes whether a window-system event that arrived after OK was handled by the time the
// filter starts (its progress bar is shown).
class FilterStartWatcher : public QObject {
  public:
    bool handledBeforeFilter = false;
    bool* handled = nullptr;
    bool eventFilter(QObject*, QEvent* event) override {
        if (event->type() == QEvent::ChildPolished &&
            qobject_cast<QProgressBar*>(static_cast<QChildEvent*>(event)->child()))
            handledBeforeFilter = *handled;
        return false;
    }
};

TEST_F(MainFrameTest, WindowRepaintsWhatTheDialogUncoveredBeforeFiltering) {
    OpenPhoto(MakeTestPhoto(300, 200));
    bool exposeHandled = false;
    FilterStartWatcher watcher;
    watcher.handled = &exposeHandled;
    frame->statusBar()->installEventFilter(&watcher);
    WhenModalOpens<CEvenSpreadDlg>([&exposeHandled](CEvenSpreadDlg* dialog) {
        // Closing the dialog makes the window system send the uncovered area as an event.
        QMetaObject::invokeMethod(
            dialog->parentWidget(), [&exposeHandled] { exposeHandled = true; },
            Qt::QueuedConnection);
        dialog->accept();
    });
    frame->ExecuteCommand(ID_TOOLS_DENOISE);
    EXPECT_TRUE(watcher.handledBeforeFilter);
    frame->statusBar()->removeEventFilter(&watcher);
}

}  // namespace
}  // namespace corvelle::testing
