// The preview dialog over built folders: what it lists and selects, what "이름 변경" renames
// and reports, the failures state and a retry, and folders it must not touch.
#include <gtest/gtest.h>
#include <sys/stat.h>

#include <QApplication>
#include <QLabel>
#include <QListWidget>
#include <QProgressBar>
#include <QPushButton>
#include <QThreadPool>

#include <filesystem>
#include <memory>

#include "test_pictures.h"
#include "ui/rename_preview_dlg.h"
#include "ui/tabbed_line_delegate.h"

namespace corvelle {
namespace {

using namespace corvelle::testing;
namespace fs = std::filesystem;

class RenamePreviewTest : public ::testing::Test {
  protected:
    FixedTimeZone zone{"KST-9"};
    TempFolder folder;
    QStringList messages;
    std::unique_ptr<CRenamePreviewDlg> dialog;

    void Picture(const std::string& name, const std::string& original) {
        WriteFileBytes(folder.file(name), JpegWithDates(original, ""));
    }
    // Opens the dialog on the folder and waits until its list is built.
    void Open(const std::string& path = {}) {
        NameSettings settings;
        dialog = std::make_unique<CRenamePreviewDlg>(
            RunInputsFromSettings(settings, path.empty() ? folder.path().string() : path));
        dialog->SetShowMessage([this](QWidget*, const QString& text) { messages << text; });
        dialog->show();
        Settle();
    }
    void Settle() {
        while (dialog->IsBusy()) QApplication::processEvents(QEventLoop::WaitForMoreEvents);
        QApplication::processEvents();
    }
    void Rename() {
        dialog->RenameButton()->click();
        Settle();
    }
    QStringList Lines() const {
        QStringList lines;
        for (int row = 0; row < dialog->List()->count(); ++row)
            lines << dialog->List()->item(row)->text();
        return lines;
    }
    std::vector<int> SelectedRows() const {
        std::vector<int> rows;
        for (int row = 0; row < dialog->List()->count(); ++row)
            if (dialog->List()->item(row)->isSelected()) rows.push_back(row);
        return rows;
    }
    void Select(int row, bool selected = true) {
        dialog->List()->item(row)->setSelected(selected);
    }
};

TEST_F(RenamePreviewTest, ListsNumbersAndSelectsOnlyWhatCanChange) {
    Picture("c.jpg", "2004:03:15 14:25:30");
    Picture("a.jpg", "2004:03:15 14:25:30");
    Picture("b.jpg", "2004:03:15 14:25:30");
    Picture("20040101-000000.JPG", "2004:01:01 00:00:00");  // already so named
    Picture("zero.jpg", "0000:00:00 00:00:00");
    Open();
    EXPECT_EQ(dialog->windowTitle(), "그림 이름 변경 내용");
    const QStringList expected = {
        "20040101-000000.JPG\t-> 20040101-000000.jpg", "a.jpg\t-> 20040315-142530-001.jpg",
        "b.jpg\t-> 20040315-142530-002.jpg", "c.jpg\t-> 20040315-142530-003.jpg",
        "zero.jpg\t-> No Date info"};
    EXPECT_EQ(Lines(), expected);
    EXPECT_EQ(SelectedRows(), (std::vector<int>{1, 2, 3}));
    EXPECT_EQ(dialog->List()->selectionMode(), QAbstractItemView::ExtendedSelection);
    EXPECT_EQ(dialog->Summary()->text(), "전체 5개중 3개 변경 가능/2개 이름 변경불가능");
    EXPECT_TRUE(dialog->Summary()->isVisible());
    EXPECT_FALSE(dialog->Progress()->isVisible());
    EXPECT_TRUE(dialog->RenameButton()->isEnabled());

    // The arrow half starts at a tab stop past the name; the widest line sets the width.
    const CTabbedLineDelegate* lines = dialog->LineDelegate();
    const QFontMetrics metrics(dialog->List()->font());
    const int nameWidth = metrics.horizontalAdvance("a.jpg");
    EXPECT_GT(lines->SecondHalfX(nameWidth), nameWidth);
    EXPECT_EQ(lines->SecondHalfX(nameWidth) % lines->TabInterval(), 0);
    EXPECT_EQ(lines->SecondHalfX(0), lines->TabInterval());
    EXPECT_GE(dialog->List()->visualItemRect(dialog->List()->item(1)).width(),
              lines->LineWidth(metrics, expected[1]));

    // "No Date info" is never renamed, even when selected; it takes no progress step.
    Select(4);
    Rename();
    EXPECT_EQ(messages, QStringList{"3개의 이름을 성공적으로 변경했습니다."});
    EXPECT_EQ(dialog->result(), QDialog::Accepted);
    EXPECT_EQ(dialog->Progress()->maximum(), 4);
    EXPECT_EQ(dialog->Progress()->value(), 3);
    for (const char* name : {"20040315-142530-001.jpg", "20040315-142530-002.jpg",
                             "20040315-142530-003.jpg", "zero.jpg", "20040101-000000.JPG"})
        EXPECT_TRUE(fs::exists(folder.file(name))) << name;
}

TEST_F(RenamePreviewTest, SelectionRuleAndARunWithNothingToChange) {
    Picture("20040101-000000.jpg", "2004:01:01 00:00:00");
    Picture("zero.jpg", "0000:00:00 00:00:00");
    Open();
    EXPECT_TRUE(SelectedRows().empty());
    // After building, the button is enabled although nothing is selected.
    EXPECT_TRUE(dialog->RenameButton()->isEnabled());
    Select(0);
    EXPECT_TRUE(dialog->RenameButton()->isEnabled());
    Select(0, false);
    EXPECT_FALSE(dialog->RenameButton()->isEnabled());
    Select(1);
    Rename();
    EXPECT_EQ(messages, QStringList{"이름 변경을 할 수 없는 파일(들)입니다."});
    EXPECT_EQ(dialog->result(), QDialog::Accepted);
    EXPECT_TRUE(fs::exists(folder.file("zero.jpg")));
}

TEST_F(RenamePreviewTest, FailuresStayListedAndARetryRenamesThem) {
    Picture("a.jpg", "2004:03:15 14:25:30");
    Picture("b.jpg", "2004:03:15 14:25:31");
    // A file of a's new name that the listing leaves out (no write permission).
    WriteFileBytes(folder.file("20040315-142530.jpg"), {'x'});
    chmod(folder.file("20040315-142530.jpg").c_str(), 0444);
    Open();
    EXPECT_EQ(SelectedRows(), (std::vector<int>{0, 1}));
    Rename();
    ASSERT_EQ(messages.size(), 1);
    EXPECT_EQ(messages[0],
              "총 2개의 파일중 1개의 파일의 이름 변경을 할 수 없습니다.\n이미 존재하는 파일인지 "
              "검사하십시오\n\na.jpg -> 20040315-142530.jpg: 새 이름의 파일이 이미 있습니다");
    EXPECT_EQ(dialog->windowTitle(), "이름 변경 실패한 파일 항목");
    EXPECT_EQ(Lines(), QStringList{"a.jpg\t-> 20040315-142530.jpg"});
    EXPECT_FALSE(dialog->RenameButton()->isEnabled());
    EXPECT_TRUE(dialog->Progress()->isVisible());
    EXPECT_FALSE(dialog->Summary()->isVisible());
    EXPECT_TRUE(dialog->isVisible());
    EXPECT_EQ(ReadFileBytes(folder.file("20040315-142530.jpg")), std::vector<uint8_t>{'x'});
    EXPECT_TRUE(fs::exists(folder.file("20040315-142531.jpg")));

    fs::remove(folder.file("20040315-142530.jpg"));
    Select(0);
    EXPECT_TRUE(dialog->RenameButton()->isEnabled());
    Rename();
    EXPECT_EQ(messages.last(), "1개의 이름을 성공적으로 변경했습니다.");
    EXPECT_EQ(dialog->result(), QDialog::Accepted);
    EXPECT_TRUE(fs::exists(folder.file("20040315-142530.jpg")));
    EXPECT_FALSE(fs::exists(folder.file("a.jpg")));
}

TEST_F(RenamePreviewTest, FoldersThatCannotBeListedAndNamesThatAreNotUtf8) {
    Picture("a.jpg", "2004:03:15 14:25:30");
    for (const std::string& bad : {folder.file("missing"), folder.file("a.jpg")}) {
        Open(bad);
        EXPECT_EQ(dialog->List()->count(), 0) << bad;
        EXPECT_FALSE(dialog->RenameButton()->isEnabled());
        EXPECT_TRUE(dialog->Summary()->text().isEmpty());
        EXPECT_FALSE(dialog->Progress()->isVisible());
    }
    EXPECT_TRUE(fs::exists(folder.file("a.jpg")));

    fs::rename(folder.file("a.jpg"), folder.file("caf\xe9.jpg"));
    Open();
    EXPECT_EQ(Lines(), QStringList{QString::fromLatin1("caf\xe9.jpg\t-> 20040315-142530.jpg")});
    Rename();
    EXPECT_TRUE(fs::exists(folder.file("20040315-142530.jpg")));
    EXPECT_FALSE(fs::exists(folder.file("caf\xe9.jpg")));
}

TEST_F(RenamePreviewTest, CancelRenamesNothing) {
    Picture("a.jpg", "2004:03:15 14:25:30");
    Open();
    dialog->CancelButton()->click();
    EXPECT_EQ(dialog->result(), QDialog::Rejected);
    EXPECT_TRUE(messages.isEmpty());
    EXPECT_TRUE(fs::exists(folder.file("a.jpg")));

    // Closed while still listing: the listing's late answer finds no dialog to fill.
    dialog = std::make_unique<CRenamePreviewDlg>(
        RunInputsFromSettings(NameSettings{}, folder.path().string()));
    dialog.reset();
    QThreadPool::globalInstance()->waitForDone();
    QApplication::processEvents();
    EXPECT_TRUE(fs::exists(folder.file("a.jpg")));
}

TEST_F(RenamePreviewTest, SidecarsShowUnderTheirPictureAndARunWithoutUndoIsAskedAbout) {
    Picture("a.jpg", "2004:03:15 14:25:30");
    Picture("b.jpg", "2004:03:15 14:25:31");
    WriteFileBytes(folder.file("a.XMP"), {'s'});
    Open();
    EXPECT_EQ(Lines(),
              (QStringList{"a.jpg\t-> 20040315-142530.jpg", "+ a.XMP\t-> + 20040315-142530.XMP",
                           "b.jpg\t-> 20040315-142531.jpg"}));
    EXPECT_EQ(SelectedRows(), (std::vector<int>{0, 2}));
    EXPECT_FALSE(dialog->List()->item(1)->flags() & Qt::ItemIsSelectable);

    QStringList questions;
    bool answer = false;
    dialog->SetAskQuestion([&](QWidget*, const QString& text) {
        questions << text;
        return answer;
    });
    // Nowhere to keep the undo record: a folder under a file.
    dialog->SetJournalFolder(folder.file("b.jpg") + "/journals");
    Rename();
    ASSERT_EQ(questions.size(), 1);
    EXPECT_TRUE(questions[0].startsWith("이번 이름 변경은 되돌릴 수 없습니다."))
        << questions[0].toStdString();
    EXPECT_TRUE(messages.isEmpty());
    EXPECT_TRUE(fs::exists(folder.file("a.jpg")));
    EXPECT_TRUE(dialog->RenameButton()->isEnabled());
    EXPECT_TRUE(dialog->Summary()->isVisible());

    answer = true;
    Rename();
    EXPECT_EQ(questions.size(), 2);
    EXPECT_EQ(messages, QStringList{"2개의 이름을 성공적으로 변경했습니다. (보조 파일 1개 함께)"});
    EXPECT_TRUE(fs::exists(folder.file("20040315-142530.XMP")));
    EXPECT_TRUE(fs::exists(folder.file("20040315-142531.jpg")));
}

}  // namespace
}  // namespace corvelle
