// Saving from the window: the types "다른 이름으로 저장" offers and what each writes.

#include <QFileDialog>

#include <filesystem>

#include "support/temp_folder.h"
#include "ui/resource_ids.h"
#include "ui_test_support.h"

namespace corvelle::testing {
namespace {

// Bit depth and colour type from a PNG's header chunk; {-1, -1} when it is no PNG.
std::pair<int, int> PngDepthAndColourType(const std::vector<uint8_t>& file) {
    if (file.size() < 26 || file[1] != 'P' || file[12] != 'I') return {-1, -1};
    return {file[24], file[25]};
}

TEST_F(MainFrameTest, SaveAsOffersTheGrayTypesAndGivesTheChosenEnding) {
    TempFolder folder;
    CMorvaneDoc* document = OpenPhoto(MakeTestPhoto(60, 40));
    // A HEIC photo cannot be written back as such: saving asks for a name.
    document->SetPathName(QString::fromStdString(folder.file("photo.heic")));
    QStringList offered;
    QString suggested;
    WhenModalOpens<QFileDialog>([&](QFileDialog* dialog) {
        offered = dialog->nameFilters();
        suggested = dialog->selectedFiles().value(0);
        dialog->selectNameFilter(offered.value(1));
        dialog->selectFile(QString::fromStdString(folder.file("gray")));
        QMetaObject::invokeMethod(dialog, "accept");
    });
    frame->ExecuteCommand(ID_FILE_SAVE);
    EXPECT_EQ(offered, QStringList({"JPEG 파일 (*.jpg)", "16비트 그레이 PNG (*.png)",
                                    "16비트 그레이 TIFF (*.tif)"}));
    EXPECT_TRUE(suggested.endsWith("/photo.jpg")) << suggested.toStdString();
    EXPECT_EQ(PngDepthAndColourType(ReadFileBytes(folder.file("gray.png"))), std::pair(16, 0));
    EXPECT_EQ(document->GetPathName().toStdString(), folder.file("gray.png"));

    // "저장" now writes the same type to that name without asking.
    std::filesystem::remove(folder.file("gray.png"));
    bool asked = false;
    WhenModalOpens<QFileDialog>([&](QFileDialog* dialog) { dialog->reject(); }, &asked);
    frame->ExecuteCommand(ID_FILE_SAVE);
    QApplication::processEvents();
    EXPECT_FALSE(asked);
    EXPECT_EQ(PngDepthAndColourType(ReadFileBytes(folder.file("gray.png"))), std::pair(16, 0));
}

TEST_F(MainFrameTest, DocumentSavesByTheNamesEnding) {
    TempFolder folder;
    CMorvaneDoc* document = OpenPhoto(MakeTestPhoto(60, 40));
    struct Case {
        const char* name;
        bool saved;
        uint8_t firstByte;
    };
    for (const Case c : {Case{"a.jpg", true, 0xFF}, Case{"b.PNG", true, 0x89},
                         Case{"c.tiff", true, 'I'}, Case{"d.webp", false, 0}}) {
        const std::string path = folder.file(c.name);
        EXPECT_EQ(document->OnSaveDocument(QString::fromStdString(path)), c.saved) << c.name;
        if (c.saved) EXPECT_EQ(ReadFileBytes(path).at(0), c.firstByte) << c.name;
        else EXPECT_FALSE(std::filesystem::exists(path));
    }
}

}  // namespace
}  // namespace corvelle::testing
