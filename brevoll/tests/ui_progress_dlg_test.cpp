// The progress dialog over real pictures: its states and texts, the overwrite question's
// buttons, stop and continue with a clock the test sets, and the preview.
#include <gtest/gtest.h>

#include <QCheckBox>
#include <QLabel>
#include <QListWidget>
#include <QProgressBar>
#include <QPushButton>

#include <filesystem>
#include <memory>
#include <vector>

#include "core/batch_run.h"
#include "support/temp_folder.h"
#include "support/test_pictures.h"
#include "ui/control_id.h"
#include "ui/failure_list_dlg.h"
#include "ui/overwrite_dlg.h"
#include "ui/preview_wnd.h"
#include "ui/progress_dlg.h"
#include "ui/resource_ids.h"
#include "ui_test_support.h"

namespace corvelle {
namespace {

using namespace brevoll;
using testing::ReadFileBytes;
using testing::WriteTestPicture;
namespace fs = std::filesystem;

const std::vector<uint8_t> kOld = {'o', 'l', 'd'};

class ProgressDlgTest : public ::testing::Test {
  protected:
    void SetUp() override {
        settings.sourceFolder = temp.file("src");
        settings.destinationFolder = temp.file("dst");
        settings.method = kMethodRatio;
        settings.sizeValue = 50;
        settings.copyExif = false;
        settings.allPictureTypes = false;
    }
    void TearDown() override { testing::ForgetModalAnswers(); }

    void AddPictures(std::initializer_list<const char*> names, bool existing) {
        for (const char* name : names) {
            WriteTestPicture(temp.file(std::string("src/") + name));
            if (!existing) continue;
            fs::create_directories(fs::path(temp.file(std::string("dst/") + name)).parent_path());
            testing::WriteFileBytes(temp.file(std::string("dst/") + name), kOld);
        }
    }
    bool Replaced(const char* name) {
        return ReadFileBytes(temp.file(std::string("dst/") + name)) != kOld;
    }

    // Opens the dialog and lets it collect the pictures (the state "Ready").
    void Open() {
        dialog = std::make_unique<CProgressDlg>(settings, store);
        dialog->DriveTicksManually();
        dialog->SetClock([this] { return now; });
        dialog->show();
        dialog->OnCollectTick();
        testing::WaitForWorker(*dialog);
    }
    // One tick of the conversion timer, and the picture it started brought to its end.
    void Tick() {
        dialog->OnConvertTick();
        testing::WaitForWorker(*dialog);
    }
    void RunToEnd() {
        for (int guard = 0; guard < 100 && dialog->IsRunning(); ++guard) Tick();
    }
    // Answers every overwrite question with the given buttons in turn (then "&Cancel").
    void Answer(std::vector<int> buttons) {
        answers = std::move(buttons);
        AnswerNext();
    }
    void AnswerNext() {
        testing::OnNextModal([this](QWidget* w) {
            ASSERT_EQ(w->windowTitle(), "Overwrite");
            asked.push_back(FindControl<QLabel>(w, IDC_OVERWRITE_PATH)->text().toStdString());
            const int id = asked.size() <= answers.size() ? answers[asked.size() - 1] : IDCANCEL;
            AnswerNext();
            FindControl<QPushButton>(w, id)->click();
        });
    }

    QString Text(int id) { return FindControl<QLabel>(dialog.get(), id)->text(); }
    QPushButton* Button(int id) { return FindControl<QPushButton>(dialog.get(), id); }

    testing::TempFolder temp;
    bool fresh = (testing::RemoveStoredSettings(), true);
    SettingsStore store{kBrevollSettings};
    RunSettings settings;
    uint64_t now = 1000;
    std::unique_ptr<CProgressDlg> dialog;
    std::vector<int> answers;
    std::vector<std::string> asked;
};

TEST_F(ProgressDlgTest, RunsThroughTheStatesToTheResizedCount) {
    AddPictures({"a.jpg", "s/b.JPG", "s/t/c.jpg", "s/d.jpeg"}, false);
    testing::WriteFileBytes(temp.file("src/bad.jpg"), {'n', 'o'});
    dialog = std::make_unique<CProgressDlg>(settings, store);
    dialog->DriveTicksManually();
    EXPECT_EQ(dialog->windowTitle(), "Resize & Move");
    EXPECT_FALSE(Button(IDOK)->isEnabled());  // Loading
    EXPECT_FALSE(Button(IDCANCEL)->isEnabled());
    dialog->SetClock([this] { return now; });
    dialog->OnCollectTick();
    testing::WaitForWorker(*dialog);

    EXPECT_EQ(Text(IDC_COUNTER_TEXT), "0 / 4");  // Ready
    EXPECT_EQ(Text(IDC_SOURCE_TEXT).toStdString(), settings.sourceFolder);
    EXPECT_TRUE(Button(IDOK)->isEnabled());
    EXPECT_TRUE(Button(IDOK)->isDefault());
    Button(IDOK)->click();
    EXPECT_EQ(Button(IDCANCEL)->text(), "Stop");  // Running
    EXPECT_FALSE(Button(IDOK)->isEnabled());
    Tick();
    EXPECT_EQ(Text(IDC_COUNTER_TEXT), "1 / 4");
    EXPECT_EQ(FindControl<QProgressBar>(dialog.get(), IDC_PROGRESS_BAR)->value(), 1);
    EXPECT_EQ(Text(IDC_DEST_TEXT).toStdString(), temp.file("dst/a.jpg"));
    EXPECT_TRUE(Button(IDC_FAILURES)->isHidden());
    RunToEnd();
    // Finished; bad.jpg is not counted but shown, with the reason the command line gives.
    EXPECT_EQ(Text(IDC_COUNTER_TEXT), "3 Resized, 1 failed");
    EXPECT_EQ(Button(IDC_FAILURES)->text(), "&Failures...");
    ASSERT_FALSE(Button(IDC_FAILURES)->isHidden());
    QStringList listed;
    testing::OnNextModal([&](QWidget* w) {
        auto* list = static_cast<CFailureListDlg*>(w)->List();
        for (int i = 0; i < list->count(); ++i) listed << list->item(i)->text();
        static_cast<QDialog*>(w)->accept();
    });
    Button(IDC_FAILURES)->click();
    ASSERT_EQ(listed.size(), 1);
    EXPECT_TRUE(listed[0].startsWith(
        QString::fromStdString("cannot convert " + temp.file("src/bad.jpg") + ": ")));
    EXPECT_EQ(Button(IDCANCEL)->text(), "Close");
    EXPECT_FALSE(Button(IDOK)->isEnabled());
    for (const char* name : {"dst/a.jpg", "dst/s/b.JPG", "dst/s/t/c.jpg"})
        EXPECT_TRUE(fs::exists(temp.file(name))) << name;
    EXPECT_FALSE(fs::exists(temp.file("dst/bad.jpg")));
    Button(IDCANCEL)->click();
    EXPECT_FALSE(dialog->isVisible());
}

TEST_F(ProgressDlgTest, AMissingSourceSaysSoAndEndsAtZero) {
    settings.sourceFolder = temp.file("gone");
    Open();
    EXPECT_EQ(Text(IDC_COUNTER_TEXT), "0 / 0");
    EXPECT_EQ(Text(IDC_SOURCE_TEXT).toStdString(), temp.file("gone") + " (not found)");
    Button(IDOK)->click();
    Tick();
    EXPECT_EQ(Text(IDC_COUNTER_TEXT), "0 Resized");
}

TEST_F(ProgressDlgTest, StopAndContinueKeepTheAnswerAndLeaveTheStoppedTimeOut) {
    AddPictures({"p1.jpg", "p2.jpg", "p3.jpg", "p4.jpg"}, true);
    Open();
    Answer({IDC_YES_ALL});
    Button(IDOK)->click();
    now = 3000;
    Tick();
    EXPECT_EQ(Text(IDC_TIME_TEXT), "2초 경과 6초 남음");

    dialog->close();  // the close box stops a run like "Stop"
    EXPECT_TRUE(dialog->isVisible());
    EXPECT_EQ(Button(IDCANCEL)->text(), "&Close");
    EXPECT_EQ(Button(IDOK)->text(), "C&ontinue");
    EXPECT_TRUE(Button(IDOK)->isEnabled());
    Tick();  // a tick while stopped takes nothing
    EXPECT_EQ(dialog->Run().taken(), 1);

    now = 63000;
    Button(IDOK)->click();  // Continue
    EXPECT_EQ(Button(IDCANCEL)->text(), "Stop");
    now = 64000;
    Tick();
    EXPECT_EQ(Text(IDC_TIME_TEXT), "3초 경과 3초 남음");
    RunToEnd();
    EXPECT_EQ(asked.size(), 1u);  // "&Yes All" was kept over the stop
    EXPECT_EQ(Text(IDC_COUNTER_TEXT), "4 Resized");
    for (const char* name : {"p1.jpg", "p2.jpg", "p3.jpg", "p4.jpg"}) EXPECT_TRUE(Replaced(name));
}

TEST_F(ProgressDlgTest, EachOverwriteButtonDoesWhatItSays) {
    struct Case {
        std::vector<int> buttons;
        size_t questions;
        std::vector<bool> replaced;
        const char* counter;
        bool cancelled;
    };
    const Case cases[] = {
        {{IDOK, IDC_NO, IDOK}, 3, {true, false, true}, "2 Resized", false},
        {{IDC_NO, IDC_YES_ALL}, 2, {false, true, true}, "2 Resized", false},
        {{IDOK, IDC_SKIP_ALL}, 2, {true, false, false}, "1 Resized", false},
        {{IDOK, IDCANCEL}, 2, {true, false, false}, "1 Resized", true},
    };
    for (const Case& c : cases) {
        fs::remove_all(temp.file("dst"));
        AddPictures({"p1.jpg", "p2.jpg", "p3.jpg"}, true);
        asked.clear();
        Open();
        Answer(c.buttons);
        Button(IDOK)->click();
        RunToEnd();
        EXPECT_EQ(asked.size(), c.questions);
        ASSERT_FALSE(asked.empty());
        EXPECT_EQ(asked[0], temp.file("dst/p1.jpg"));
        const char* names[] = {"p1.jpg", "p2.jpg", "p3.jpg"};
        for (size_t i = 0; i < 3; ++i) EXPECT_EQ(Replaced(names[i]), c.replaced[i]) << names[i];
        EXPECT_EQ(Text(IDC_COUNTER_TEXT), c.counter);
        EXPECT_EQ(Text(IDC_TIME_TEXT) == "User canceled", c.cancelled);
        dialog.reset();
    }
}

TEST_F(ProgressDlgTest, TheQuestionsDefaultAndEscapeAreYesAllAndCancel) {
    COverwriteDlg prompt(QStringLiteral("/x/y.jpg"), nullptr);
    testing::OnNextModal([](QWidget* w) { testing::PressKey(w, Qt::Key_Return); });
    EXPECT_EQ(prompt.exec(), IDC_YES_ALL);
    testing::OnNextModal([](QWidget* w) { testing::PressKey(w, Qt::Key_Escape); });
    EXPECT_EQ(prompt.exec(), IDCANCEL);
}

TEST_F(ProgressDlgTest, TheTimeGoesOnDuringALongPicture) {
    AddPictures({"p1.jpg", "p2.jpg"}, false);
    Open();
    Button(IDOK)->click();
    dialog->OnConvertTick();  // the first picture is under way until its result is handled
    now = 4000;
    dialog->OnClockTick();
    EXPECT_EQ(Text(IDC_TIME_TEXT), "3초 경과 3초 남음");
    testing::WaitForWorker(*dialog);
}

TEST_F(ProgressDlgTest, TheOverwriteQuestionKeepsTheFileNameOfALongPath) {
    const QString path = "/" + QString("folder/").repeated(40) + "the picture.jpg";
    COverwriteDlg prompt(path, nullptr);
    const QString shown = FindControl<QLabel>(&prompt, IDC_OVERWRITE_PATH)->text();
    EXPECT_TRUE(shown.startsWith("/folder/")) << shown.toStdString();
    EXPECT_TRUE(shown.endsWith("the picture.jpg")) << shown.toStdString();
    EXPECT_LT(shown.size(), path.size());
}

TEST_F(ProgressDlgTest, ThePreviewGetsACanvasOnlyWhileItsBoxIsChecked) {
    AddPictures({"p1.jpg", "p2.jpg", "p3.jpg"}, false);
    testing::WriteFileBytes(temp.file("src/p2b.jpg"), {'n', 'o'});
    Open();
    auto* box = FindControl<QCheckBox>(dialog.get(), IDC_PREVIEW_CHECK);
    EXPECT_TRUE(box->isChecked());
    box->setChecked(false);
    Button(IDOK)->click();
    Tick();
    EXPECT_FALSE(dialog->Preview()->IsShown());
    EXPECT_TRUE(dialog->Preview()->Canvas().isNull());
    box->setChecked(true);
    Tick();
    EXPECT_TRUE(dialog->Preview()->IsShown());
    EXPECT_EQ(dialog->Preview()->Canvas().size(), QSize(32, 24));
    Tick();  // p2b.jpg fails: the preview keeps the last canvas
    EXPECT_EQ(dialog->Preview()->Canvas().size(), QSize(32, 24));
    RunToEnd();
    EXPECT_TRUE(dialog->Preview()->Canvas().isNull());  // dropped when the run ends

    // Scaled by the smaller ratio (the height ratio in single precision), sizes truncated,
    // and centred.
    EXPECT_EQ(CPreviewWnd::DrawnRect(QSize(200, 100), QSize(32, 24)), QRect(33, 0, 133, 99));
    EXPECT_EQ(CPreviewWnd::DrawnRect(QSize(100, 200), QSize(40, 20)), QRect(0, 75, 100, 50));
}

}  // namespace
}  // namespace corvelle
