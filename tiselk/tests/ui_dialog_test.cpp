// The main dialog driven as a user drives it: folders, selections, the clipboard, drops.
#include <QApplication>
#include <QClipboard>
#include <QFocusEvent>
#include <QKeyEvent>
#include <QMenu>
#include <QMimeData>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QUrl>

#include <filesystem>

#include "core/report/file_info.h"
#include "ui/histogram_ctrl.h"
#include "ui/resource_ids.h"
#include "ui/thumbnail_ctrl.h"
#include "ui_test_support.h"

namespace corvelle::testing {
namespace {

QString Lines(const std::string& text) {
    return QString::fromStdString(text).replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
}

TEST_F(DialogTest, FolderListsItsPicturesAndIsRemembered) {
    for (const char* name : {"a.JPG", "b.tiff", "c.nef", "d.txt"}) Write(name, {1, 2, 3});
    std::filesystem::create_directory(folder.path() / "e.jpg");
    Start();
    ASSERT_EQ(List()->count(), 3);
    EXPECT_EQ(List()->item(0)->text(), "a.JPG");
    EXPECT_EQ(List()->item(2)->text(), "c.nef");
    EXPECT_EQ(List()->currentRow(), -1) << "no file is selected by loading a folder";
    EXPECT_TRUE(FindControl<QPushButton>(dialog.get(), IDC_VIEW)->isEnabled());
    EXPECT_EQ(dialog->CurrentFolder().toStdString(), folder.path().string());
    EXPECT_EQ(SettingsStore(kTiselkSettings).readString("Config", "Recent Path", ""),
              folder.path().string());
    EXPECT_TRUE(FindControl<QRadioButton>(dialog.get(), IDC_MONO)->isChecked());
}

TEST_F(DialogTest, ViewIsDisabledForAFolderWithoutPictures) {
    Write("notes.txt", {1});
    Start();
    EXPECT_EQ(List()->count(), 0);
    EXPECT_FALSE(FindControl<QPushButton>(dialog.get(), IDC_VIEW)->isEnabled());
    dialog->OnView();
    EXPECT_EQ(dialog->PhotoView(), nullptr);
}

TEST_F(DialogTest, SelectedFileFillsPanelReportSummaryAndPictures) {
    Write("shot.jpg", ExifPicture(40, 30, "Test Cam"));
    Start();
    Select("shot.jpg");
    const FileInfo info = ReadFileInfo(folder.file("shot.jpg"));
    const std::pair<int, const char*> ids[] = {{IDC_MODEL, "Model"},
                                               {IDC_ISO, "ISO"},
                                               {IDC_TIME, "Time"},
                                               {IDC_EXIF_VERSION, "Exif Ver."},
                                               {IDC_FILE_SIZE, "File size"},
                                               {IDC_FLASH, "Flash"},
                                               {IDC_IMAGE_SIZE, "Image w/h"},
                                               {IDC_EXPOSURE, "Exposure"},
                                               {IDC_METERING, "Metering"},
                                               {IDC_EXPOSURE_BIAS, "Exp. Bias"},
                                               {IDC_FOCAL_LENGTH, "Focal Length"},
                                               {IDC_SHUTTER, "Shutter"},
                                               {IDC_LIGHT_VALUE, "Light Value "}};
    for (const PanelField& field : PanelFields(info)) {
        const auto match = std::find_if(std::begin(ids), std::end(ids), [&](const auto& id) {
            return std::string(id.second) == field.label;
        });
        ASSERT_NE(match, std::end(ids)) << field.label;
        EXPECT_EQ(Value(match->first).toStdString(), field.value) << field.label;
    }
    EXPECT_EQ(Value(IDC_MODEL), "Test Cam");
    EXPECT_EQ(Value(IDC_LIGHT_VALUE), "11");
    EXPECT_EQ(FindControl<QPlainTextEdit>(dialog.get(), IDC_REPORT)->toPlainText(),
              Lines(ReportBoxText(info)));
    EXPECT_EQ(dialog->SummaryText(), info.summaryText);

    // One decode serves both: the thumbnail falls back on the histogram's picture.
    auto* thumbnail = FindControl<CThumbnailCtrl>(dialog.get(), IDC_THUMBNAIL);
    auto* histogram = FindControl<CHistogramCtrl>(dialog.get(), IDC_HISTOGRAM);
    ASSERT_TRUE(histogram->Picture());
    EXPECT_EQ(thumbnail->Picture(), histogram->Picture());
    EXPECT_EQ(histogram->Picture()->width(), 40);
    EXPECT_EQ(thumbnail->Path().toStdString(), folder.file("shot.jpg"));
    EXPECT_TRUE(jpegMessages.empty());

    dialog->OnCopyInfo();
    EXPECT_EQ(QApplication::clipboard()->text().toStdString(), info.summaryText);
}

TEST_F(DialogTest, PictureWithAPositionOffersItsMapInTheReportMenu) {
    TiffDirectory gps;
    gps.ascii(0x0001, "N")
        .rationals(0x0002, {{37, 1}, {33, 1}, {5960, 100}})
        .ascii(0x0003, "E")
        .rationals(0x0004, {{126, 1}, {58, 1}, {4090, 100}});
    TiffDirectory ifd0;
    ifd0.ascii(0x0110, "Phone").subDirectory(0x8825, gps);
    Write("phone.jpg",
          InsertAfterSoi(EncodeTestJpeg(8, 8), {ExifSegment(BuildTiff(ifd0, kLittle))}));
    Write("camera.jpg", ExifPicture(8, 8, "Camera"));
    Start();
    Select("phone.jpg");
    std::unique_ptr<QMenu> menu(dialog->CreateReportMenu());
    const auto* map = menu->findChild<QAction*>(QStringLiteral("showMap"));
    ASSERT_TRUE(map);
    EXPECT_EQ(map->text(), QStringLiteral("지도에서 보기(&M)"));
    EXPECT_EQ(dialog->MapUrl(), QStringLiteral("https://www.openstreetmap.org/?mlat=37.566556&"
                                               "mlon=126.978028#map=16/37.566556/126.978028"));
    EXPECT_FALSE(menu->actions().first()->text().isEmpty()) << "the edit entries stay";

    Select("camera.jpg");
    menu.reset(dialog->CreateReportMenu());
    EXPECT_FALSE(menu->findChild<QAction*>(QStringLiteral("showMap")));
    EXPECT_TRUE(dialog->MapUrl().isEmpty());
}

TEST_F(DialogTest, FileWithoutExifThatCannotBeDecoded) {
    Write("broken.jpg", std::vector<uint8_t>(1000, 0x41));
    Start();
    Select("broken.jpg");
    EXPECT_EQ(Value(IDC_FILE_SIZE), "1,000 bytes");
    EXPECT_EQ(Value(IDC_MODEL), "");
    EXPECT_EQ(FindControl<QPlainTextEdit>(dialog.get(), IDC_REPORT)->toPlainText(),
              "No Exif Informations");
    EXPECT_FALSE(FindControl<CThumbnailCtrl>(dialog.get(), IDC_THUMBNAIL)->Picture());
    EXPECT_FALSE(FindControl<CHistogramCtrl>(dialog.get(), IDC_HISTOGRAM)->Picture());
    EXPECT_EQ(jpegMessages.size(), 1u) << "one box for the picture, never a cascade";
}

TEST_F(DialogTest, FileThatVanishedShowsAsEmpty) {
    Write("gone.jpg", ExifPicture(16, 16, "Gone"));
    Write("kept.jpg", ExifPicture(16, 16, "Kept"));
    Start();
    Select("kept.jpg");
    std::filesystem::remove(folder.file("gone.jpg"));
    Select("gone.jpg");
    EXPECT_EQ(Value(IDC_FILE_SIZE), "0 bytes");
    EXPECT_EQ(Value(IDC_MODEL), "");
    EXPECT_FALSE(FindControl<CHistogramCtrl>(dialog.get(), IDC_HISTOGRAM)->Picture());
    EXPECT_TRUE(jpegMessages.empty());
}

TEST_F(DialogTest, OnlyTheLastSelectionsPictureArrives) {
    Write("first.jpg", ExifPicture(64, 48, "First"));
    Write("second.jpg", ExifPicture(32, 24, "Second"));
    Start();
    List()->setCurrentRow(0);
    List()->setCurrentRow(1);
    dialog->WaitForPicture();
    QApplication::processEvents();
    auto* histogram = FindControl<CHistogramCtrl>(dialog.get(), IDC_HISTOGRAM);
    ASSERT_TRUE(histogram->Picture());
    EXPECT_EQ(histogram->Picture()->width(), 32);
    EXPECT_EQ(FindControl<CThumbnailCtrl>(dialog.get(), IDC_THUMBNAIL)->Picture()->width(), 32);
}

TEST_F(DialogTest, TabIntoTheListShowsNothingUntilARowIsSelected) {
    Write("a.jpg", ExifPicture(16, 16, "First Cam"));
    Write("b.jpg", ExifPicture(16, 16, "Second Cam"));
    Start();
    // What Qt does when Tab brings the focus: the first row becomes current, unselected.
    QFocusEvent tabbedIn(QEvent::FocusIn, Qt::TabFocusReason);
    QApplication::sendEvent(List(), &tabbedIn);
    EXPECT_EQ(List()->currentRow(), 0);
    EXPECT_TRUE(List()->selectedItems().isEmpty());
    EXPECT_EQ(Value(IDC_MODEL), "") << "no panel for a row that is not selected";

    // Space selects the current row, as a click would.
    QKeyEvent space(QEvent::KeyPress, Qt::Key_Space, Qt::NoModifier, QStringLiteral(" "));
    QApplication::sendEvent(List(), &space);
    dialog->WaitForPicture();
    EXPECT_EQ(Value(IDC_MODEL), "First Cam");
    Select("b.jpg");
    EXPECT_EQ(Value(IDC_MODEL), "Second Cam");
}

TEST_F(DialogTest, JpegErrorBoxOnlyForThePictureStillSelectedWhenItsDecodeEnds) {
    TestJpegOptions noisy;
    noisy.pixel = [](int x, int y) -> uint32_t { return uint32_t(x * 7 ^ y * 13) & 0xFFFFFF; };
    std::vector<uint8_t> cut = EncodeTestJpeg(128, 128, noisy);
    cut.resize(cut.size() / 2);
    Write("a-cut.jpg", cut);
    Write("b-whole.jpg", ExifPicture(16, 16, "Whole"));
    Start();
    // Every time the user moves on before the decode ends, and however fast the worker is
    // (its result comes through the event loop, after the second selection): no box.
    for (int round = 0; round < 3; ++round) {
        List()->setCurrentRow(0);
        List()->setCurrentRow(1);
        dialog->WaitForPicture();
        QApplication::processEvents();
        EXPECT_TRUE(jpegMessages.empty()) << "round " << round;
    }
    // Every time it is still selected: one box.
    for (int round = 1; round <= 3; ++round) {
        Select("a-cut.jpg");
        QApplication::processEvents();
        ASSERT_EQ(jpegMessages.size(), size_t(round));
        EXPECT_EQ(jpegMessages.back(), "Premature end of JPEG file");
        Select("b-whole.jpg");
    }
}

TEST_F(DialogTest, PastedFileOpensItsFolderAndSelectsIt) {
    TempFolder other;
    WriteFileBytes(other.file("far.jpg"), ExifPicture(16, 16, "Far"));
    WriteFileBytes(other.file("a.jpg"), ExifPicture(16, 16, "A"));
    Start();
    auto* data = new QMimeData;
    data->setUrls({QUrl::fromLocalFile(QString::fromStdString(other.file("far.jpg")))});
    QApplication::clipboard()->setMimeData(data);
    dialog->OnPaste();
    dialog->WaitForPicture();
    EXPECT_EQ(dialog->CurrentFolder().toStdString(), other.path().string());
    ASSERT_EQ(List()->count(), 2);
    EXPECT_EQ(List()->currentItem()->text(), "far.jpg");
    EXPECT_EQ(Value(IDC_MODEL), "Far");

    // Text that names nothing changes nothing.
    QApplication::clipboard()->setText(QStringLiteral("not a path at all"));
    dialog->OnPaste();
    EXPECT_EQ(dialog->CurrentFolder().toStdString(), other.path().string());
    EXPECT_EQ(List()->currentItem()->text(), "far.jpg");

    // A file that is no picture (dropped, say) opens its folder and selects nothing.
    WriteFileBytes(folder.file("notes.txt"), {1, 2});
    Write("here.jpg", {1, 2});
    dialog->OpenPath(QString::fromStdString(folder.file("notes.txt")));
    EXPECT_EQ(dialog->CurrentFolder().toStdString(), folder.path().string());
    EXPECT_EQ(List()->count(), 1);
    EXPECT_EQ(List()->currentRow(), -1);
    dialog->OpenPath(QString::fromStdString(other.path().string()));
    EXPECT_EQ(dialog->CurrentFolder().toStdString(), other.path().string());

    // Text naming a folder selects the folder and shows no file.
    QApplication::clipboard()->setText(QString::fromStdString(folder.path().string()) + "\n");
    dialog->OnPaste();
    EXPECT_EQ(dialog->CurrentFolder().toStdString(), folder.path().string());
    EXPECT_EQ(Value(IDC_MODEL), "Far") << "the shown file stays until another is shown";
}

TEST_F(DialogTest, EscapeAndEnterKeepTheDialogAndTabLeavesTheTree) {
    Write("a.jpg", {1});
    Start();
    dialog->show();
    QApplication::setActiveWindow(dialog.get());
    QWidget* tree = FindControl<QWidget>(dialog.get(), IDC_FOLDER_TREE);
    tree->setFocus();
    for (int key : {Qt::Key_Escape, Qt::Key_Return}) {
        QKeyEvent press(QEvent::KeyPress, key, Qt::NoModifier);
        QApplication::sendEvent(tree, &press);
    }
    EXPECT_TRUE(dialog->isVisible());
    EXPECT_EQ(dialog->result(), 0);

    QKeyEvent tab(QEvent::KeyPress, Qt::Key_Tab, Qt::NoModifier);
    QApplication::sendEvent(tree, &tab);
    EXPECT_EQ(QApplication::focusWidget(), List());
    QKeyEvent again(QEvent::KeyPress, Qt::Key_Tab, Qt::NoModifier);
    QApplication::sendEvent(List(), &again);
    EXPECT_EQ(QApplication::focusWidget(), FindControl<QWidget>(dialog.get(), IDC_VIEW));
}

TEST_F(DialogTest, ChannelButtonsSetTheHistogramChannel) {
    Start();
    auto* histogram = FindControl<CHistogramCtrl>(dialog.get(), IDC_HISTOGRAM);
    FindControl<QRadioButton>(dialog.get(), IDC_GREEN)->click();
    EXPECT_EQ(histogram->Channel(), 2);
    FindControl<QRadioButton>(dialog.get(), IDC_MONO)->click();
    EXPECT_EQ(histogram->Channel(), 0);
}

}  // namespace
}  // namespace corvelle::testing
