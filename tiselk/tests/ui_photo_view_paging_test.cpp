// The photo view paging over a decoder the test holds: each picture is made only when the
// test releases it, so a held key, Esc and the close box are tried while a decode is still
// running, without depending on how fast anything is.
#include <QApplication>
#include <QElapsedTimer>
#include <QFileInfo>
#include <QKeyEvent>
#include <QListWidget>
#include <QPointer>
#include <QWheelEvent>
#include <QWindow>

#include <condition_variable>
#include <mutex>
#include <set>

#include "ui/photo_view_wnd.h"
#include "ui_test_support.h"

namespace corvelle::testing {
namespace {

// Decodes "pN.jpg" as a picture N x 10 pixels, once the test has released it. A decode
// that is abandoned before stops, as the real decoders stop at their next row.
class HeldDecoder {
  public:
    ~HeldDecoder() {
        std::unique_lock lock(m_mutex);
        m_releaseAll = true;
        m_changed.wait(lock, [&] { return m_running == 0; });
    }
    ViewDecoder decoder() {
        return [this](const QString& path, const std::atomic<bool>& abandoned, bool) {
            return decode(path, abandoned);
        };
    }
    void release(const QString& name) {
        const std::lock_guard lock(m_mutex);
        m_released.insert(name);
    }
    std::vector<QString> finished() const {
        const std::lock_guard lock(m_mutex);
        return m_finished;
    }
    std::vector<QString> started() const {
        const std::lock_guard lock(m_mutex);
        return m_started;
    }
    // Waits until no decode is running any more (all released or abandoned).
    void waitUntilIdle() {
        std::unique_lock lock(m_mutex);
        m_changed.wait(lock, [&] { return m_running == 0; });
    }

  private:
    DecodedPicture decode(const QString& path, const std::atomic<bool>& abandoned) {
        const QString name = QFileInfo(path).fileName();
        std::unique_lock lock(m_mutex);
        ++m_running;
        m_started.push_back(name);
        // Abandonment is a flag the view sets without this lock: look at it now and then.
        while (!m_releaseAll && !m_released.count(name) && !abandoned)
            m_changed.wait_for(lock, std::chrono::milliseconds(1));
        DecodedPicture result{path, nullptr, {}, {}, {}};
        if (!abandoned && !m_releaseAll) {
            m_finished.push_back(name);
            result.picture = std::make_shared<const PackedDib>(
                *PackedDib::create(name.mid(1).section('.', 0, 0).toInt(), 10, 24));
        }
        --m_running;
        m_changed.notify_all();
        return result;
    }

    mutable std::mutex m_mutex;
    std::condition_variable m_changed;
    std::set<QString> m_released;
    std::vector<QString> m_finished;
    std::vector<QString> m_started;
    int m_running = 0;
    bool m_releaseAll = false;
};

class PhotoViewPagingTest : public ::testing::Test {
  protected:
    void SetUp() override {
        for (int i = 1; i <= 9; ++i) list.addItem(QStringLiteral("p%1.jpg").arg(i));
        view = new CPhotoViewWnd(&list, QStringLiteral("/pictures"), {0, 0, 1024, 768}, nullptr,
                                 held.decoder());
        view->m_fnBeep = [this] { ++beeps; };
        view->grab();  // the first paint asks for the first picture
    }
    void TearDown() override { delete view; }

    void Press(int key) {
        QKeyEvent press(QEvent::KeyPress, key, Qt::NoModifier, QString(), /*autorep=*/true);
        QApplication::sendEvent(view, &press);
    }
    void Wheel(int delta) {
        QWheelEvent wheel(QPointF(10, 10), QPointF(10, 10), {}, QPoint(0, delta), Qt::NoButton,
                          Qt::NoModifier, Qt::NoScrollPhase, false);
        QApplication::sendEvent(view, &wheel);
    }
    // Releases a picture and lets the event loop deliver it.
    void Release(const QString& name) {
        held.release(name);
        view->WaitForPicture();
    }
    int ShownWidth() const { return view->Picture() ? view->Picture()->width() : 0; }

    HeldDecoder held;  // outlives the view and every decode it started
    QListWidget list;
    QPointer<CPhotoViewWnd> view;
    int beeps = 0;
};

TEST_F(PhotoViewPagingTest, HeldKeyCountsTowardOneTargetAndSettlesWithinOneDecode) {
    Release("p1.jpg");
    ASSERT_EQ(ShownWidth(), 1);

    // Six repeats while nothing else is made: the window answers each at once, the target
    // moves six places, and the list keeps showing the picture on the screen.
    for (int i = 0; i < 6; ++i) Press(Qt::Key_Space);
    EXPECT_EQ(view->TargetRow(), 6);
    EXPECT_EQ(ShownWidth(), 1);
    EXPECT_EQ(list.currentRow(), 0);

    // Released: the one decode of the picture stopped at shows it; those passed by were
    // abandoned or never begun.
    Release("p7.jpg");
    EXPECT_EQ(ShownWidth(), 7);
    EXPECT_EQ(list.currentRow(), 6) << "the list follows the shown picture";
    EXPECT_EQ(held.finished(), (std::vector<QString>{"p1.jpg", "p7.jpg"}));

    // The wheel pages the same way; toward the user is back.
    for (int i = 0; i < 3; ++i) Wheel(-120);
    EXPECT_EQ(view->TargetRow(), 3);
    EXPECT_EQ(ShownWidth(), 7);
    Release("p4.jpg");
    EXPECT_EQ(ShownWidth(), 4);
    EXPECT_EQ(list.currentRow(), 3);

    // The ends beep as before, counted from the target.
    Press(Qt::Key_End);
    Press(Qt::Key_Space);
    Wheel(120);
    EXPECT_EQ(beeps, 2);
    EXPECT_EQ(view->TargetRow(), 8);
    Release("p9.jpg");
    EXPECT_EQ(list.currentRow(), 8);
}

// The shown picture has the byte budget first: its neighbours are decoded once it is there.
TEST_F(PhotoViewPagingTest, NeighboursAreDecodedOnceTheShownPictureIsThere) {
    auto waitForStarts = [&](size_t count) {
        QElapsedTimer waited;
        waited.start();
        while (held.started().size() < count && waited.elapsed() < 5000)
            QApplication::processEvents(QEventLoop::AllEvents, 5);
    };
    waitForStarts(1);
    QElapsedTimer settle;
    settle.start();
    while (settle.elapsed() < 100) QApplication::processEvents(QEventLoop::AllEvents, 5);
    EXPECT_EQ(held.started(), std::vector<QString>{"p1.jpg"});
    Release("p1.jpg");
    waitForStarts(2);
    EXPECT_EQ(held.started(), (std::vector<QString>{"p1.jpg", "p2.jpg"}));
}

TEST_F(PhotoViewPagingTest, EscapeAndCloseBoxAnswerWhileAPictureIsBeingMade) {
    view->show();
    Press(Qt::Key_Space);  // p2 on its way, never released
    Press(Qt::Key_Escape);
    EXPECT_FALSE(view->isVisible()) << "closed at once, the decode still running";
    QApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_TRUE(view.isNull());
    held.waitUntilIdle();  // and the decode it started was abandoned
    EXPECT_TRUE(held.finished().empty());

    view = new CPhotoViewWnd(&list, QStringLiteral("/pictures"), {0, 0, 1024, 768}, nullptr,
                             held.decoder());
    view->show();
    view->grab();
    ASSERT_TRUE(view->windowHandle());
    view->windowHandle()->close();  // what the close box asks for
    QApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_TRUE(view.isNull());
    held.waitUntilIdle();
    EXPECT_TRUE(held.finished().empty());
}

}  // namespace
}  // namespace corvelle::testing
