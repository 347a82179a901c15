// The full-screen photo view on a 1024 x 768 screen: fitting, natural size and panning,
// stepping through the dialog's list, the menu and closing.
#include <QApplication>
#include <QKeyEvent>
#include <QListWidget>
#include <QMenu>
#include <QPointer>

#include "ui/photo_view_wnd.h"
#include "ui/resource_ids.h"
#include "ui_test_support.h"

namespace corvelle::testing {
namespace {

constexpr ViewRect kScreen{0, 0, 1024, 768};

class PhotoViewTest : public DialogTest {
  protected:
    void SetUp() override {
        DialogTest::SetUp();
        list.addItems({"big.jpg", "one.jpg", "two.jpg"});
    }
    void TearDown() override {
        delete view;
        DialogTest::TearDown();
    }
    void Open(int fitMode) {
        SettingsStore(kTiselkSettings).writeInt("Config", "Fit to Window", fitMode);
        view = new CPhotoViewWnd(&list, QString::fromStdString(folder.path().string()), kScreen,
                                 nullptr);
        view->m_fnBeep = [this] { ++beeps; };
        view->grab();  // the first paint asks for the current picture
        view->WaitForPicture();
    }
    void Key(int key) {
        QKeyEvent press(QEvent::KeyPress, key, Qt::NoModifier);
        QApplication::sendEvent(view, &press);
    }
    // A key press, and the picture it leads to shown.
    void Step(int key) {
        Key(key);
        view->WaitForPicture();
    }

    QListWidget list;
    QPointer<CPhotoViewWnd> view;
    int beeps = 0;
};

TEST_F(PhotoViewTest, LargePictureIsFittedToTheScreen) {
    Write("big.jpg", EncodeTestJpeg(3000, 2000));
    Open(1);
    EXPECT_EQ(list.currentRow(), 0) << "without a selection the first entry is shown";
    ASSERT_TRUE(view->Picture());
    EXPECT_EQ(view->ShownRect(), (ViewRect{0, 43, 1024, 725}));
    Key(Qt::Key_Left);
    EXPECT_EQ(view->ShownRect(), (ViewRect{0, 43, 1024, 725})) << "no panning while fitted";
}

TEST_F(PhotoViewTest, NaturalSizePansOnlyAsFarAsThePictureReaches) {
    Write("big.jpg", EncodeTestJpeg(3000, 2000));
    Open(0);
    EXPECT_EQ(view->WindowRect(), (ViewRect{-988, -616, 2012, 1384}));
    EXPECT_EQ(view->ShownRect(), view->WindowRect());
    Key(Qt::Key_Left);
    EXPECT_EQ(view->WindowRect().left, -978);
    Key(Qt::Key_Up);
    EXPECT_EQ(view->WindowRect().top, -606);
    view->Pan(978, 0);
    EXPECT_EQ(view->WindowRect().left, 0);
    view->Pan(1, 0);
    EXPECT_EQ(view->WindowRect().left, 0) << "the screen's left edge would be uncovered";
    view->Pan(-3000, -3000);
    EXPECT_EQ(view->WindowRect().left, 0);
    view->Pan(-1976, -768);
    EXPECT_EQ(view->WindowRect(), (ViewRect{-1976, -606, 1024, 1394}))
        << "down by 768 would uncover the bottom; left by 1976 just reaches the edge";
}

TEST_F(PhotoViewTest, SteppingMovesTheSelectionAndBeepsAtTheEnds) {
    Write("big.jpg", EncodeTestJpeg(30, 20));
    Write("one.jpg", EncodeTestJpeg(40, 20));
    Write("two.jpg", EncodeTestJpeg(50, 20));
    int notified = 0;
    QObject::connect(&list, &QListWidget::currentRowChanged, [&] { ++notified; });
    Open(1);
    Step(Qt::Key_Space);
    EXPECT_EQ(list.currentRow(), 1);
    EXPECT_EQ(view->Picture()->width(), 40);
    Step(Qt::Key_End);
    EXPECT_EQ(list.currentRow(), 2);
    EXPECT_EQ(view->Picture()->width(), 50);
    Step(Qt::Key_Space);
    EXPECT_EQ(beeps, 1);
    EXPECT_EQ(list.currentRow(), 2);
    Step(Qt::Key_End);
    EXPECT_EQ(beeps, 1) << "Last at the last entry does nothing, silently";
    Step(Qt::Key_Home);
    EXPECT_EQ(list.currentRow(), 0);
    Step(Qt::Key_Backspace);
    EXPECT_EQ(beeps, 2);
    EXPECT_EQ(view->Picture()->width(), 30);
    EXPECT_EQ(notified, 0) << "the dialog is not told about the view's stepping";
}

TEST_F(PhotoViewTest, MenuShowsTheFitModeAndEscapeCloses) {
    Write("big.jpg", EncodeTestJpeg(30, 20));
    Open(1);
    QMenu* menu = view->CreateContextMenu();
    QStringList texts;
    QAction* fit = nullptr;
    for (QAction* action : menu->actions()) {
        texts << action->text();
        if (action->data().toInt() == ID_VIEW_FIT_WINDOW) fit = action;
    }
    EXPECT_EQ(texts, (QStringList{"&Next Photo", "&Prev Photo", "To &Start", "To &End", "",
                                  "&Fit to Window", "E&xit View"}));
    ASSERT_TRUE(fit);
    EXPECT_TRUE(fit->isChecked());
    delete menu;
    view->OnCommand(ID_VIEW_FIT_WINDOW);
    menu = view->CreateContextMenu();
    EXPECT_FALSE(menu->actions()[5]->isChecked());
    delete menu;
    EXPECT_EQ(SettingsStore(kTiselkSettings).readInt("Config", "Fit to Window", 7), 1)
        << "the toggle lasts only while the view is open";

    view->show();
    Key(Qt::Key_Escape);
    EXPECT_FALSE(view->isVisible());
    QApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_TRUE(view.isNull());
}

TEST_F(PhotoViewTest, DialogPanelStaysWhileTheViewSteps) {
    Write("a.jpg", ExifPicture(16, 16, "First Cam"));
    Write("b.jpg", ExifPicture(16, 16, "Second Cam"));
    Start();
    Select("a.jpg");
    dialog->OnView();
    CPhotoViewWnd* shown = dialog->PhotoView();
    ASSERT_NE(shown, nullptr);
    EXPECT_EQ(shown->windowTitle(), "View Image");
    dialog->OnView();
    EXPECT_EQ(dialog->PhotoView(), shown) << "one view at a time";
    shown->grab();
    shown->WaitForPicture();
    shown->Next();
    shown->WaitForPicture();
    EXPECT_EQ(List()->currentRow(), 1);
    EXPECT_EQ(Value(IDC_MODEL), "First Cam");
}

}  // namespace
}  // namespace corvelle::testing
