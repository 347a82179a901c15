// The main frame as a user meets it: start-up state, menus and accelerators, the settings
// that outlive a run, and the program-wide view settings.

#include <QAction>
#include <QComboBox>
#include <QKeyEvent>
#include <QLineEdit>
#include <QMdiArea>
#include <QMenu>
#include <QMenuBar>
#include <QProgressBar>
#include <QScrollBar>
#include <QShortcut>
#include <QStatusBar>
#include <QToolBar>

#include <QAbstractButton>
#include <QLabel>
#include <QMessageBox>
#include <QPlainTextEdit>
#include <QTimer>

#include "ui/about_dlg.h"
#include "ui/combo_toolbar.h"
#include "ui/dib_image.h"
#include "ui/resource_ids.h"
#include "ui_test_support.h"

namespace corvelle::testing {
namespace {

QStringList MenuTitles(QMainWindow* window) {
    QStringList titles;
    for (QAction* action : window->menuBar()->actions()) titles << action->text();
    return titles;
}

// Item texts of one popup, submenus as "title>" followed by their items.
QStringList PopupItems(QMainWindow* window, const QString& title) {
    QStringList items;
    for (QAction* action : window->menuBar()->actions()) {
        if (action->text() != title) continue;
        for (QAction* item : action->menu()->actions()) {
            if (!item->isVisible()) continue;
            if (item->isSeparator()) {
                items << "-";
            } else if (item->menu()) {
                items << item->text() + ">";
                for (QAction* sub : item->menu()->actions()) items << sub->text();
            } else {
                items << item->text();
            }
        }
    }
    return items;
}

void PressKey(QWidget* target, int key, const QString& text = {}) {
    QKeyEvent press(QEvent::KeyPress, key, Qt::NoModifier, text);
    QApplication::sendEvent(target, &press);
}

void Type(QComboBox* combo, const QString& text) {
    combo->setFocus();
    combo->lineEdit()->setText(text);
    PressKey(combo->lineEdit(), Qt::Key_Return);
}

TEST_F(MainFrameTest, StartsWithDefaultsAndAnEmptyDocumentWindow) {
    EXPECT_EQ(frame->m_nCompressRatio, 100);
    EXPECT_EQ(frame->m_nTrimSize, 0);
    EXPECT_EQ(frame->m_bFitScreen, 1);
    EXPECT_EQ(frame->m_nZoomRatio, 100);
    EXPECT_EQ(frame->MessageText(), QStringLiteral("준비"));
    EXPECT_EQ(MenuTitles(frame.get()), QStringList({"파일(&F)", "보기(&V)", "도움말(&H)"}));
    EXPECT_EQ(frame->ToolBar()->CompressCombo()->currentText(), "100%");
    EXPECT_EQ(frame->ToolBar()->TrimCombo()->currentText(), "None");
    EXPECT_EQ(frame->ToolBar()->ZoomCombo()->currentText(), "100%");
    EXPECT_FALSE(frame->ToolBar()->ZoomCombo()->isEnabled()) << "fitting disables the zoom";

    CMorvaneDoc* document = frame->OnFileNew();
    QApplication::processEvents();
    EXPECT_EQ(document->GetTitle(), "Morvane1");
    EXPECT_EQ(frame->OnFileNew()->GetTitle(), "Morvane2");
    EXPECT_EQ(MenuTitles(frame.get()), QStringList({"파일(&F)", "편집(&E)", "도구(&T)", "보기(&V)",
                                                    "창(&W)", "도움말(&H)"}));
    // Nothing to show: the gray commands change nothing and nothing is copied or drawn.
    EXPECT_TRUE(frame->ExecuteCommand(ID_GRAY_1786));
    EXPECT_EQ(frame->GetActiveDocument()->m_nViewMode, 0);
    EXPECT_EQ(frame->GetActiveDocument()->GetDisplayImage(), nullptr);
}

TEST_F(MainFrameTest, DocumentMenuHasTheCommandsInOrder) {
    OpenPhoto(MakeTestPhoto(40, 30));
    EXPECT_EQ(PopupItems(frame.get(), "편집(&E)"),
              QStringList({"복사(&C)\tCtrl+C", "-", "원본보기(&1)\t1", "1768단계 그레이(&2)\t2",
                           "4336단계 그레이(&2)\t3", "-", "트리밍(&T)>", "없음(&N)",
                           "3\" x 5\"(&1)", "4\" x 6\"(&2)", "5\" x 7\"(&3)", "8\" x 10\"(&4)",
                           "10\" x 12\"(&5)", "10\" x 14\"(&6)"}));
    EXPECT_EQ(PopupItems(frame.get(), "파일(&F)"),
              QStringList({"열기(&O)...\tCtrl+O", "닫기(&C)", "저장(&S)\tCtrl+S",
                           "다른 이름으로 저장(&A)...", "최근 파일", "종료(&X)"}));
    EXPECT_EQ(PopupItems(frame.get(), "창(&W)"),
              QStringList({"다음 창(&N)", "계단식(&C)", "바둑판식(&T)", "아이콘 정렬(&A)"}));
    // Prompts become tool tips and status-line texts.
    EXPECT_EQ(frame->CommandAction(ID_FILE_SAVE)->toolTip(), "흑백으로 저장");
    EXPECT_EQ(frame->CommandAction(ID_FILE_SAVE)->statusTip(),
              "현재 흑백으로 변경된 사진을 저장합니다");
    EXPECT_EQ(frame->ToolBar()->TrimCombo()->toolTip(), "트리밍");
}

TEST_F(MainFrameTest, ToolbarCarriesButtonsAndCombosInTheirSlots) {
    QStringList placed;
    for (QAction* action : frame->ToolBar()->actions()) {
        if (action->isSeparator()) {
            placed << "|";
        } else if (QWidget* widget = frame->ToolBar()->widgetForAction(action);
                   widget && qobject_cast<QComboBox*>(widget)) {
            placed << widget->objectName();
        } else {
            placed << action->objectName();
        }
    }
    EXPECT_EQ(placed.join(' '),
              "command57601 | command57603 combo2010 combo2200 | command57634 | command2102 "
              "command2100 command2101 | command2000 combo2001 | command2002 command2003 | "
              "command57664");
}

TEST_F(MainFrameTest, AcceleratorsRunTheirCommands) {
    CMorvaneDoc* document = OpenPhoto(MakeTestPhoto(40, 30));
    const auto find = [&](const char* keys) -> QShortcut* {
        for (QShortcut* shortcut : frame->findChildren<QShortcut*>()) {
            if (shortcut->key() == QKeySequence(QString::fromUtf8(keys))) return shortcut;
        }
        return nullptr;
    };
    const auto press = [&](const char* keys) {
        QShortcut* shortcut = find(keys);
        if (shortcut) emit shortcut->activated();
        return shortcut != nullptr;
    };
    ASSERT_TRUE(press("3"));
    EXPECT_EQ(document->m_nViewMode, 2);
    ASSERT_TRUE(press("2"));
    EXPECT_EQ(document->m_nViewMode, 1);
    ASSERT_TRUE(press("1"));
    EXPECT_EQ(document->m_nViewMode, 0);
    ASSERT_TRUE(press("F"));
    EXPECT_EQ(frame->m_bFitScreen, 0);
    ASSERT_TRUE(press("+"));
    EXPECT_EQ(frame->m_nZoomRatio, 200);
    ASSERT_TRUE(press("-"));
    ASSERT_TRUE(press("-"));
    EXPECT_EQ(frame->m_nZoomRatio, 80);
    EXPECT_TRUE(press("F6") && press("Shift+F6"));
    // These open dialogs; they only need to be there.
    EXPECT_TRUE(find("Ctrl+C") && find("Ctrl+Ins") && find("Ctrl+O") && find("Ctrl+S"));
    frame->OnUpdateCommandUi();
    EXPECT_TRUE(frame->ToolBar()->ZoomCombo()->isEnabled());
    EXPECT_TRUE(frame->CommandAction(ID_TRUE_COLOR)->isChecked());
    EXPECT_FALSE(frame->CommandAction(ID_GRAY_1786)->isChecked());
}

TEST_F(MainFrameTest, SettingsAreWrittenOnExitAndReadAtTheNextStart) {
    frame->ExecuteCommand(ID_VIEW_FIT_SCREEN);
    frame->ExecuteCommand(ID_VIEW_ZOOM_30 + 4);  // 200 %
    frame->ExecuteCommand(ID_TRIM_NONE + 2);     // 4" x 6"
    Type(frame->ToolBar()->CompressCombo(), "85");
    EXPECT_EQ(frame->m_nCompressRatio, 85);
    StopFrame();

    SettingsStore store(kMorvaneSettings);
    EXPECT_EQ(store.readInt("Settings", "Compress ratio", -1), 85);
    EXPECT_EQ(store.readInt("Settings", "Trim Size", -1), 2);
    EXPECT_EQ(store.readInt("Settings", "Fit Screen", -1), 0);
    EXPECT_EQ(store.readInt("Settings", "Zoom ratio", -1), 200);

    StartFrame();
    EXPECT_EQ(frame->m_nCompressRatio, 85);
    EXPECT_EQ(frame->m_nTrimSize, 2);
    EXPECT_EQ(frame->m_bFitScreen, 0);
    EXPECT_EQ(frame->m_nZoomRatio, 200);
    EXPECT_EQ(frame->ToolBar()->CompressCombo()->currentText(), "85%");
    EXPECT_EQ(frame->ToolBar()->TrimCombo()->currentText(), "4\" x 6\"");
    EXPECT_TRUE(frame->CommandAction(ID_TRIM_NONE + 2)->isChecked());
}

TEST_F(MainFrameTest, HandEditedSettingsOutOfRangeAreBroughtBack) {
    StopFrame();
    {
        SettingsStore store(kMorvaneSettings);
        store.writeInt("Settings", "Trim Size", 99);
        store.writeInt("Settings", "Zoom ratio", 0);
        store.writeInt("Settings", "Compress ratio", 250);
    }
    StartFrame();
    EXPECT_EQ(frame->m_nTrimSize, 6);
    EXPECT_EQ(frame->m_nZoomRatio, 30);
    EXPECT_EQ(frame->m_nCompressRatio, 250) << "the writer limits the quality itself";
    EXPECT_EQ(frame->ToolBar()->CompressCombo()->currentText(), "100%");
}

TEST_F(MainFrameTest, ZoomStepsFollowTheListAndTypedValuesAreLimited) {
    frame->ExecuteCommand(ID_VIEW_FIT_SCREEN);
    QComboBox* zoom = frame->ToolBar()->ZoomCombo();
    Type(zoom, "150");
    EXPECT_EQ(frame->m_nZoomRatio, 150);
    frame->ExecuteCommand(ID_VIEW_ZOOM_IN);
    EXPECT_EQ(frame->m_nZoomRatio, 150) << "a typed zoom is not in the list";
    Type(zoom, "5000");
    EXPECT_EQ(frame->m_nZoomRatio, 1000);
    Type(zoom, "abc");
    EXPECT_EQ(frame->m_nZoomRatio, 30);
    frame->OnUpdateCommandUi();
    EXPECT_FALSE(frame->CommandAction(ID_VIEW_ZOOM_OUT)->isEnabled());
    EXPECT_FALSE(frame->ExecuteCommand(ID_VIEW_ZOOM_OUT));
    EXPECT_TRUE(frame->ExecuteCommand(ID_VIEW_ZOOM_IN));
    EXPECT_EQ(frame->m_nZoomRatio, 50);
    frame->ExecuteCommand(ID_VIEW_ZOOM_30 + 5);
    frame->OnUpdateCommandUi();
    EXPECT_FALSE(frame->CommandAction(ID_VIEW_ZOOM_IN)->isEnabled());
    EXPECT_TRUE(frame->CommandAction(ID_VIEW_ZOOM_30 + 5)->isChecked());
    EXPECT_EQ(zoom->currentText(), "400%");

    // In fit mode a zoom entry is stored while the picture stays fitted.
    frame->ExecuteCommand(ID_VIEW_FIT_SCREEN);
    frame->ExecuteCommand(ID_VIEW_ZOOM_30 + 4);
    EXPECT_EQ(frame->m_nZoomRatio, 200);
    EXPECT_EQ(frame->m_bFitScreen, 1);
    frame->OnUpdateCommandUi();
    EXPECT_FALSE(frame->CommandAction(ID_VIEW_ZOOM_IN)->isEnabled());
}

TEST_F(MainFrameTest, ViewSettingChangesMarkEveryOpenDocumentModified) {
    CMorvaneDoc* first = OpenPhoto(MakeTestPhoto(60, 40));
    CMorvaneDoc* second = OpenPhoto(MakeTestPhoto(40, 60));
    EXPECT_FALSE(first->IsModified());
    frame->ExecuteCommand(ID_GRAY_1786);
    Type(frame->ToolBar()->CompressCombo(), "60");
    EXPECT_FALSE(first->IsModified() || second->IsModified())
        << "neither the gray commands nor the compress ratio change a document";

    frame->ExecuteCommand(ID_VIEW_FIT_SCREEN);
    Type(frame->ToolBar()->ZoomCombo(), "100");
    EXPECT_TRUE(first->IsModified() && second->IsModified());

    first->SetModifiedFlag(false);
    second->SetModifiedFlag(false);
    Type(frame->ToolBar()->ZoomCombo(), "100");
    EXPECT_FALSE(first->IsModified()) << "a commit that keeps the zoom refreshes nothing";
    frame->ToolBar()->TrimCombo()->setCurrentIndex(3);
    emit frame->ToolBar()->TrimCombo()->activated(3);
    EXPECT_EQ(frame->m_nTrimSize, 3);
    EXPECT_TRUE(first->IsModified() && second->IsModified());

    // The menu commands refresh even when the zoom stays: zoom in and out from a typed zoom
    // outside the list keep it and still mark every document.
    Type(frame->ToolBar()->ZoomCombo(), "150");
    for (int command : {ID_VIEW_ZOOM_IN, ID_VIEW_ZOOM_OUT}) {
        first->SetModifiedFlag(false);
        second->SetModifiedFlag(false);
        EXPECT_TRUE(frame->ExecuteCommand(command));
        EXPECT_EQ(frame->m_nZoomRatio, 150);
        EXPECT_TRUE(first->IsModified() && second->IsModified()) << command;
    }
}

TEST_F(MainFrameTest, ZoomChangeKeepsThePictureCentre) {
    frame->ExecuteCommand(ID_VIEW_FIT_SCREEN);
    OpenPhoto(MakeTestPhoto(1600, 1200));
    CMorvaneView* view = View();
    const QSize client = view->viewport()->size();
    EXPECT_EQ(view->ScrollExtent(), QSize(1600, 1200));
    view->horizontalScrollBar()->setValue(300);
    view->verticalScrollBar()->setValue(200);
    frame->ExecuteCommand(ID_VIEW_ZOOM_30 + 4);
    EXPECT_EQ(view->ScrollExtent(), QSize(3200, 2400));
    EXPECT_TRUE(view->horizontalScrollBar()->isVisibleTo(view));
    const int cx = client.width() / 2, cy = client.height() / 2;
    EXPECT_EQ(view->ScrollPosition(), QPoint((300 + cx) * 2 - cx, (200 + cy) * 2 - cy));

    frame->ExecuteCommand(ID_VIEW_FIT_SCREEN);
    EXPECT_EQ(view->ScrollExtent(), QSize(100, 100));
    QApplication::processEvents();
    EXPECT_FALSE(view->horizontalScrollBar()->isVisibleTo(view));

    // Scroll bars come when a zoom makes a small picture larger than the window.
    frame->ExecuteCommand(ID_VIEW_FIT_SCREEN);
    frame->ExecuteCommand(ID_VIEW_ZOOM_30 + 3);
    OpenPhoto(MakeTestPhoto(300, 200));
    QApplication::processEvents();
    EXPECT_FALSE(View()->verticalScrollBar()->isVisibleTo(View()));
    frame->ExecuteCommand(ID_VIEW_ZOOM_30 + 5);
    QApplication::processEvents();
    EXPECT_TRUE(View()->verticalScrollBar()->isVisibleTo(View()));
    EXPECT_TRUE(View()->horizontalScrollBar()->isVisibleTo(View()));
}

TEST_F(MainFrameTest, ProgressSitsInTheMessagePane) {
    frame->BeginProgress(IDS_NOISE_REMOVING, 10);
    QProgressBar* bar = frame->ProgressBar();
    ASSERT_NE(bar, nullptr);
    EXPECT_EQ(frame->MessageText(), "노이즈 제거중...");
    EXPECT_EQ(bar->x(), 80);
    EXPECT_EQ(bar->maximum(), 10);
    frame->BeginProgress(IDS_NOISE_REMOVING, 99);
    EXPECT_EQ(frame->ProgressBar(), bar) << "a running progress is kept";
    for (int i = 0; i < 4; ++i) frame->StepProgress();
    EXPECT_EQ(bar->value(), 4);
    frame->EndProgress();
    EXPECT_EQ(frame->ProgressBar(), nullptr);
    EXPECT_EQ(frame->MessageText(), "준비");
}

}  // namespace
}  // namespace corvelle::testing

namespace corvelle::testing {
namespace {

// Answers the next message box with the button whose text is given.
void AnswerNextQuestion(const QString& buttonText, bool* asked) {
    auto* poll = new QTimer;
    poll->setInterval(5);
    QObject::connect(poll, &QTimer::timeout, [poll, buttonText, asked] {
        auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
        if (!box) return;
        poll->stop();
        poll->deleteLater();
        *asked = true;
        for (QAbstractButton* button : box->buttons()) {
            if (button->text() == buttonText) button->click();
        }
    });
    poll->start();
}

TEST_F(MainFrameTest, ClosingAModifiedDocumentAsksFirst) {
    OpenPhoto(MakeTestPhoto(60, 40));
    CChildFrame* child = frame->ActiveChildFrame();
    frame->ExecuteCommand(ID_VIEW_FIT_SCREEN);
    ASSERT_TRUE(child->Document()->IsModified());

    bool asked = false;
    AnswerNextQuestion("취소", &asked);
    frame->ExecuteCommand(ID_FILE_CLOSE);
    EXPECT_TRUE(asked);
    EXPECT_EQ(frame->ChildFrames().size(), 1) << "cancel keeps the window";

    asked = false;
    AnswerNextQuestion("저장 안 함", &asked);
    frame->ExecuteCommand(ID_FILE_CLOSE);
    QApplication::processEvents();
    EXPECT_TRUE(asked);
    EXPECT_TRUE(frame->ChildFrames().isEmpty());
    frame->OnUpdateCommandUi();
    EXPECT_EQ(MenuTitles(frame.get()), QStringList({"파일(&F)", "보기(&V)", "도움말(&H)"}));
}

TEST_F(MainFrameTest, AboutBoxShowsVersionAndDescription) {
    CAboutDlg about(frame.get());
    EXPECT_EQ(about.windowTitle(), "Morvane 정보");
    EXPECT_TRUE(about.DescriptionEdit()->isReadOnly());
    EXPECT_TRUE(about.DescriptionEdit()->toPlainText().startsWith(
        "컬러 사진을 흑백사진으로 바꾸는 프로그램으로 기존의 프로그램이 256단계의"));
    QStringList labels;
    for (QLabel* label : about.findChildren<QLabel*>()) labels << label->text();
    EXPECT_TRUE(labels.contains("Morvane 버전 1.1(build 18)"));
}

TEST(DibImage, WrapsThePictureRowsWithoutCopying) {
    const PackedDib colour = *PackedDib::create(5, 3, 24);
    EXPECT_EQ(WrapDibRows(colour).constBits(), colour.pixels());
    PackedDib gray = *PackedDib::create(5, 3, 8);
    gray.pictureRow(0)[4] = 200;
    const QImage wrapped = WrapDibRows(gray);
    EXPECT_EQ(wrapped.constBits(), gray.pixels());
    EXPECT_EQ(wrapped.bytesPerLine(), 8);
    EXPECT_EQ(DibToImage(gray).pixel(4, 0), qRgb(200, 200, 200)) << "row 0 is the top";
}

}  // namespace
}  // namespace corvelle::testing
