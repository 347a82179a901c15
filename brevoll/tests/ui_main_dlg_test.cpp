// The main dialog driven as a user drives it: what it shows at first start, what a run
// captures, what Close and Esc keep, and its enabling rules and questions.
#include <gtest/gtest.h>

#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QRadioButton>

#include <filesystem>
#include <memory>
#include <optional>

#include "core/error_report.h"
#include "core/settings_names.h"
#include "core/step_record.h"
#include "support/temp_folder.h"
#include "ui/control_id.h"
#include "ui/folder_pick_dlg.h"
#include "ui/main_dlg.h"
#include "ui/resource_ids.h"
#include "ui_test_support.h"

namespace corvelle {
namespace {

using namespace brevoll;
namespace names = brevoll_settings;

class MainDlgTest : public ::testing::Test {
  protected:
    void SetUp() override { Open(); }

    void Open() {
        dialog = std::make_unique<CMainDlg>(store);
        dialog->SetRunner([this](const RunSettings& settings) { captured = settings; });
        dialog->show();
    }
    template <typename W>
    W* Control(int id) {
        W* w = FindControl<W>(dialog.get(), id);
        EXPECT_NE(w, nullptr) << id;
        return w;
    }
    QLineEdit* Edit(int id) { return Control<QLineEdit>(id); }
    QComboBox* Combo(int id) { return Control<QComboBox>(id); }
    void Click(int id) { Control<QAbstractButton>(id)->click(); }
    void Type(int id, const QString& text) {
        Edit(id)->clear();
        testing::TypeText(Edit(id), text);
    }

    // The store is made after the stored settings are gone, so that nothing of them is kept.
    bool fresh = (testing::RemoveStoredSettings(), true);
    SettingsStore store{kBrevollSettings};
    std::unique_ptr<CMainDlg> dialog;
    std::optional<RunSettings> captured;
};

TEST_F(MainDlgTest, FirstStartShowsTheDefaultsAndRunsTheSamplingMethodShown) {
    EXPECT_EQ(dialog->windowTitle(), "Brevoll Ver 1.4(Build 14) by Corvelle");
    EXPECT_TRUE(Control<QRadioButton>(IDC_RADIO_RATIO)->isChecked());
    EXPECT_EQ(Edit(IDC_SIZE_RATIO)->text(), "50");
    EXPECT_EQ(Edit(IDC_FIX_SIZE)->text(), "640");
    EXPECT_EQ(Edit(IDC_BOUND_WIDTH)->text(), "800");
    EXPECT_EQ(Edit(IDC_BOUND_HEIGHT)->text(), "600");
    EXPECT_TRUE(Control<QCheckBox>(IDC_RECURSIVE)->isChecked());
    EXPECT_TRUE(Control<QCheckBox>(IDC_EXIF_INFO)->isChecked());
    EXPECT_EQ(Edit(IDC_COMPRESS_RATIO)->text(), "100");
    EXPECT_FALSE(Control<QCheckBox>(IDC_COLOR_BORDER)->isChecked());
    EXPECT_EQ(Combo(IDC_STAMP_POS)->currentText(), "None");
    EXPECT_EQ(Combo(IDC_STAMP_METHOD)->currentText(), "%x %X");
    EXPECT_EQ(Edit(IDC_STAMP_COLOR)->text(), "FF0000");
    EXPECT_TRUE(Control<QCheckBox>(IDC_STAMP_EMBOSS)->isChecked());
    EXPECT_EQ(Combo(IDC_STAMP_FONT_SIZE)->currentText(), "12");
    EXPECT_EQ(Combo(IDC_INTERPOLATION)->currentText(), "*HighQualityBicubic");
    for (int id : {IDC_IMAGE_BORDER, IDC_IMAGE_BORDER_PATH, IDC_IMAGE_BORDER_BROWSE})
        EXPECT_FALSE(Control<QWidget>(id)->isEnabled()) << id;

    Edit(IDC_SOURCE_PATH)->setText("/a");
    Edit(IDC_DEST_PATH)->setText("/b");
    Click(IDOK);
    ASSERT_TRUE(captured);
    EXPECT_EQ(captured->interpolationMode, 7);
    EXPECT_EQ(captured->stampFont, "Times New Roman");

    // A changed selection is stored at once and shown at the next start.
    Combo(IDC_INTERPOLATION)->setCurrentIndex(2);
    EXPECT_EQ(store.readInt(kBrevollSection, names::kInterpolationMethod, -1), 2);
    dialog.reset();
    Open();
    EXPECT_EQ(Combo(IDC_INTERPOLATION)->currentIndex(), 2);
}

TEST_F(MainDlgTest, ARunGetsTheFieldsClamped) {
    Edit(IDC_SOURCE_PATH)->setText("/a");
    Edit(IDC_DEST_PATH)->setText("/b");
    Type(IDC_SIZE_RATIO, "0");
    Type(IDC_COMPRESS_RATIO, "5");
    Click(IDC_COLOR_BORDER);
    Type(IDC_BORDER_MARGIN, "80");
    Type(IDC_BORDER_COLOR, "a1 b2");
    EXPECT_EQ(Edit(IDC_BORDER_COLOR)->text(), "A1 B2");  // colour fields are upper-case
    Click(IDOK);
    ASSERT_TRUE(captured);
    EXPECT_EQ(captured->sizeValue, 1u);
    EXPECT_EQ(captured->quality, 10);
    EXPECT_EQ(captured->borderMargin, 50);
    EXPECT_EQ(captured->borderColor, 0xA1B2);

    Type(IDC_SIZE_RATIO, "25x0");  // digits only: the x is refused
    EXPECT_EQ(Edit(IDC_SIZE_RATIO)->text(), "250");
    Click(IDOK);
    EXPECT_EQ(captured->sizeValue, 100u);

    Click(IDC_RADIO_PIXEL);
    Type(IDC_FIX_SIZE, "5");
    Click(IDOK);
    EXPECT_EQ(captured->method, kMethodPixel);
    EXPECT_EQ(captured->sizeValue, 10u);

    Click(IDC_RADIO_BOUND);
    Type(IDC_BOUND_WIDTH, "20000");
    Edit(IDC_BOUND_HEIGHT)->setText("abc");  // text that is no number reads 0
    Edit(IDC_STAMP_COLOR)->setText("XYZ");   // no hexadecimal digit reads 0
    Click(IDOK);
    EXPECT_EQ(captured->sizeValue, 10000u + 10u * 65536u);
    EXPECT_EQ(captured->stampColor, 0u);
}

TEST_F(MainDlgTest, ATypedStampPatternIsRunSavedByEscAndShownAgain) {
    Edit(IDC_SOURCE_PATH)->setText("/a");
    Edit(IDC_DEST_PATH)->setText("/b");
    Combo(IDC_STAMP_POS)->setCurrentIndex(6);
    Combo(IDC_STAMP_METHOD)->setEditText("%Y년 %m월");
    Combo(IDC_STAMP_FONT_SIZE)->setEditText("40");
    Click(IDC_RADIO_PIXEL);
    Type(IDC_FIX_SIZE, "99999");
    Click(IDOK);
    ASSERT_TRUE(captured);
    EXPECT_EQ(captured->stampPosition, 6);
    EXPECT_EQ(captured->stampPattern, "%Y년 %m월");
    EXPECT_EQ(captured->stampFontSize, 40);

    testing::PressKey(dialog.get(), Qt::Key_Escape);
    EXPECT_FALSE(dialog->isVisible());
    EXPECT_EQ(store.readString(kBrevollSection, names::kStampMethod, ""), "%Y년 %m월");
    EXPECT_EQ(store.readInt(kBrevollSection, names::kFixSize, 0), 10000);
    EXPECT_EQ(store.readString(kBrevollSection, names::kSourcePath, ""), "/a");

    dialog.reset();
    Open();
    EXPECT_EQ(Combo(IDC_STAMP_METHOD)->currentIndex(), -1);
    EXPECT_EQ(Combo(IDC_STAMP_METHOD)->currentText(), "%Y년 %m월");
    EXPECT_EQ(Combo(IDC_STAMP_FONT_SIZE)->currentText(), "40");
    EXPECT_EQ(Combo(IDC_STAMP_POS)->currentIndex(), 6);
    EXPECT_EQ(Edit(IDC_FIX_SIZE)->text(), "10000");
}

TEST_F(MainDlgTest, TheCloseBoxSavesLikeClose) {
    Edit(IDC_PREFIX)->setText("web_");
    dialog->close();
    EXPECT_FALSE(dialog->isVisible());
    EXPECT_EQ(store.readString(kBrevollSection, names::kPrefix, ""), "web_");
}

TEST_F(MainDlgTest, TheFolderButtonsFillTheFieldsFromTheFolderDialog) {
    testing::TempFolder temp;
    std::filesystem::create_directories(temp.file("photos"));
    testing::OnNextModal([&](QWidget* w) {
        auto* picker = qobject_cast<CFolderPickDlg*>(w);
        ASSERT_NE(picker, nullptr);
        EXPECT_EQ(picker->windowTitle(), "Choose Folder");
        picker->tree()->SelectFolderPath(temp.file("photos"));
        picker->okButton()->click();
    });
    Click(IDC_SOURCE_BROWSE);
    EXPECT_EQ(Edit(IDC_SOURCE_PATH)->text().toStdString(), temp.file("photos"));
    EXPECT_EQ(store.readString(kBrevollSection, names::kSourcePath, ""), temp.file("photos"));
    EXPECT_TRUE(Edit(IDC_DEST_PATH)->text().isEmpty());
}

TEST_F(MainDlgTest, RadiosAndChecksEnableTheirFields) {
    auto enabled = [this](int id) { return Control<QWidget>(id)->isEnabled(); };
    EXPECT_TRUE(enabled(IDC_SIZE_RATIO));
    EXPECT_FALSE(enabled(IDC_FIX_SIZE));
    EXPECT_FALSE(enabled(IDC_BOUND_WIDTH));
    Click(IDC_RADIO_PIXEL);
    EXPECT_FALSE(enabled(IDC_SIZE_RATIO));
    EXPECT_TRUE(enabled(IDC_FIX_SIZE));
    EXPECT_FALSE(enabled(IDC_FIT_BOUND));
    Click(IDC_RADIO_BOUND);
    EXPECT_FALSE(enabled(IDC_SIZE_RATIO));
    EXPECT_FALSE(enabled(IDC_FIX_SIZE));
    for (int id : {IDC_BOUND_WIDTH, IDC_BOUND_HEIGHT, IDC_FIT_BOUND}) EXPECT_TRUE(enabled(id));

    EXPECT_FALSE(enabled(IDC_PREFIX));
    Click(IDC_NAMING);
    EXPECT_TRUE(enabled(IDC_PREFIX));
    EXPECT_TRUE(enabled(IDC_POSTFIX));
    EXPECT_FALSE(enabled(IDC_BORDER_COLOR));
    Click(IDC_COLOR_BORDER);
    EXPECT_TRUE(enabled(IDC_BORDER_COLOR));
    EXPECT_TRUE(enabled(IDC_BORDER_MARGIN));
    Click(IDC_COLOR_BORDER);
    EXPECT_FALSE(enabled(IDC_BORDER_MARGIN));

    const int stampControls[] = {IDC_STAMP_METHOD, IDC_STAMP_COLOR, IDC_STAMP_EMBOSS,
                                 IDC_STAMP_FONT, IDC_STAMP_FONT_SIZE};
    for (int id : stampControls) EXPECT_FALSE(enabled(id)) << id;
    Combo(IDC_STAMP_POS)->setCurrentIndex(2);
    for (int id : stampControls) EXPECT_TRUE(enabled(id)) << id;
    Combo(IDC_STAMP_POS)->setCurrentIndex(0);
    for (int id : stampControls) EXPECT_FALSE(enabled(id)) << id;
}

TEST_F(MainDlgTest, SameFoldersAreAskedAndNoEndsThere) {
    Edit(IDC_SOURCE_PATH)->setText("/photos/A");
    Edit(IDC_DEST_PATH)->setText("/PHOTOS/a");
    QString asked;
    testing::OnNextModal([&](QWidget* w) {
        auto* box = qobject_cast<QMessageBox*>(w);
        ASSERT_NE(box, nullptr);
        asked = box->text();
        box->button(QMessageBox::No)->click();
    });
    Click(IDOK);
    EXPECT_EQ(asked, "Same folders.\nOverwrite?");
    EXPECT_FALSE(captured);

    testing::OnNextModal(
        [](QWidget* w) { qobject_cast<QMessageBox*>(w)->button(QMessageBox::Yes)->click(); });
    Click(IDOK);
    EXPECT_TRUE(captured);

    // Two names of one folder on disk: a trailing slash, a link.
    testing::TempFolder temp;
    std::filesystem::create_directories(temp.file("pics"));
    std::filesystem::create_directory_symlink(temp.file("pics"), temp.file("link"));
    for (const std::string& dest : {temp.file("pics") + "/", temp.file("link")}) {
        Edit(IDC_SOURCE_PATH)->setText(QString::fromStdString(temp.file("pics")));
        Edit(IDC_DEST_PATH)->setText(QString::fromStdString(dest));
        asked.clear();
        captured.reset();
        testing::OnNextModal([&](QWidget* w) {
            asked = qobject_cast<QMessageBox*>(w)->text();
            qobject_cast<QMessageBox*>(w)->button(QMessageBox::No)->click();
        });
        Click(IDOK);
        EXPECT_EQ(asked, "Same folders.\nOverwrite?") << dest;
        EXPECT_FALSE(captured) << dest;
    }
}

TEST_F(MainDlgTest, F1OpensTheAboutBox) {
    QString title;
    testing::OnNextModal([&](QWidget* w) {
        title = w->windowTitle();
        qobject_cast<QDialog*>(w)->accept();
    });
    Edit(IDC_SOURCE_PATH)->setFocus();
    testing::PressKey(Edit(IDC_SOURCE_PATH), Qt::Key_F1);
    EXPECT_EQ(title, "Brevoll 정보");
}

TEST_F(MainDlgTest, AllPictureTypesIsOnAtFirstAndKept) {
    auto* box = Control<QCheckBox>(IDC_ALL_PICTURE_TYPES);
    EXPECT_EQ(box->text(), "All picture &types");
    EXPECT_TRUE(box->isChecked());
    Edit(IDC_SOURCE_PATH)->setText("/a");
    Edit(IDC_DEST_PATH)->setText("/b");
    Click(IDOK);
    ASSERT_TRUE(captured);
    EXPECT_TRUE(captured->allPictureTypes);
    EXPECT_EQ(captured->maxPixels, kDefaultMaxPixels);

    box->click();
    Click(IDCANCEL);
    EXPECT_EQ(store.readInt(kBrevollSection, names::kAllPictureTypes, -1), 0);
    store.writeInt(kBrevollSection, names::kMaxPixels, 1000);
    Open();
    EXPECT_FALSE(Control<QCheckBox>(IDC_ALL_PICTURE_TYPES)->isChecked());
    Click(IDOK);
    EXPECT_FALSE(captured->allPictureTypes);
    EXPECT_EQ(captured->maxPixels, 1000);
}

TEST_F(MainDlgTest, AStampFontNotInstalledIsLeftUnselectedAndKept) {
    store.writeString(kBrevollSection, names::kStampFont, "No Such Face 123");
    dialog.reset();
    Open();
    EXPECT_EQ(Combo(IDC_STAMP_FONT)->currentIndex(), -1);
    Edit(IDC_SOURCE_PATH)->setText("/a");
    Edit(IDC_DEST_PATH)->setText("/b");
    Click(IDOK);
    ASSERT_TRUE(captured);
    EXPECT_EQ(captured->stampFont, "Times New Roman");
    dialog->OnCancel();
    EXPECT_EQ(store.readString(kBrevollSection, names::kStampFont, ""), "No Such Face 123");
}

TEST_F(MainDlgTest, AbnormalEndIsReportedWhenTheDialogOpens) {
    StepRecordFile(StepRecordPath(store.filePath())).write({"Save JPEG", "/photos/killed.jpg"});
    dialog.reset();
    QString shown;
    testing::OnNextModal([&](QWidget* w) {
        shown = qobject_cast<QMessageBox*>(w)->text();
        qobject_cast<QMessageBox*>(w)->button(QMessageBox::Ok)->click();
    });
    Open();
    EXPECT_TRUE(shown.startsWith("이전 실행에서 사진 파일 변환중 오류가 발생했습니다. \n"));
    EXPECT_TRUE(shown.contains("Error.txt와\n" + QString::fromStdString(ErrorReportPath()) +
                               "\n [/photos/killed.jpg] 파일을 \n"));
    EXPECT_EQ(ReadStepRecord(StepRecordPath(store.filePath())).step, "");
}

TEST_F(MainDlgTest, ReadMeIsWrittenAndOpenedOrTheFailureShown) {
    testing::TempFolder temp;
    QString opened;
    dialog->SetFileOpener([&](const QString& path) {
        opened = path;
        return true;
    });
    const std::string path = temp.file("readme.txt");
    testing::WriteFileBytes(path + ".old", {'x'});
    dialog->SetReadMePath(path);
    Click(IDC_READ_ME);
    EXPECT_EQ(opened.toStdString(), path);
    const auto bytes = testing::ReadFileBytes(path);
    const std::string text(bytes.begin(), bytes.end());
    EXPECT_LT(text.find("Ratio"), text.find("Compress Ratio"));  // in the dialog's order

    // A file where a folder should be: the user is told, nothing is opened.
    opened.clear();
    dialog->SetReadMePath(path + ".old/readme.txt");
    QString told;
    testing::OnNextModal([&](QWidget* w) {
        told = qobject_cast<QMessageBox*>(w)->text();
        qobject_cast<QMessageBox*>(w)->accept();
    });
    Click(IDC_READ_ME);
    EXPECT_TRUE(told.contains("readme.txt"));
    EXPECT_TRUE(opened.isEmpty());

    // No program opens text files: the message gives the read-me's path.
    dialog->SetReadMePath(path);
    dialog->SetFileOpener([](const QString&) { return false; });
    told.clear();
    testing::OnNextModal([&](QWidget* w) {
        told = qobject_cast<QMessageBox*>(w)->text();
        qobject_cast<QMessageBox*>(w)->accept();
    });
    Click(IDC_READ_ME);
    EXPECT_TRUE(told.endsWith("\n" + QString::fromStdString(path))) << told.toStdString();
}

}  // namespace
}  // namespace corvelle
