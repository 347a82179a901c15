// The texts the dialog builds from a parse, and the folder listing.
#include <gtest/gtest.h>

#include <filesystem>

#include "core/folder_listing.h"
#include "core/report/file_info.h"
#include "exif_test_helpers.h"
#include "support/temp_folder.h"

namespace corvelle {
namespace {

using testing::TiffDirectory;

TEST(FileInfoTextTest, FileSizeInGroupsOfThree) {
    EXPECT_EQ(FormatFileSize(1234567), "1,234,567 bytes");
    EXPECT_EQ(FormatFileSize(999), "999 bytes");
    EXPECT_EQ(FormatFileSize(0), "0 bytes");
    EXPECT_EQ(FormatFileSize(1000), "1,000 bytes");
    EXPECT_EQ(FormatFileSize(100000), "100,000 bytes");
    EXPECT_EQ(FormatFileSize(5000000000), "5,000,000,000 bytes");
}

TEST(FileInfoTextTest, ImageSizeOnlyWhenBothAreKnown) {
    EXPECT_EQ(ImageSizeText(640, 480), "640 x 480");
    EXPECT_EQ(ImageSizeText(640, 0), "");
    EXPECT_EQ(ImageSizeText(0, 480), "");
}

TEST(FileInfoTextTest, SummaryTextForTheClipboard) {
    ExifSummary s;
    s.model = "E995";
    s.iso = "100";
    s.aperture = "F5.6";
    s.shutter = "1/125 sec";
    s.exposureBias = "0.0 EV";
    s.focalLength = "7.0 mm";
    const std::string withoutLv =
        "모델명 :        E995\r\nISO  :         100\r\n조리개 :       F5.6"
        "\r\n셔터 :         1/125 sec\r\nEV 보정 :      0.0 EV\r\nFocal Length : 7.0 mm";
    EXPECT_EQ(BuildSummaryText(s, std::nullopt), withoutLv);
    EXPECT_EQ(BuildSummaryText(s, 11), withoutLv + "\r\nLV :        11");
    EXPECT_EQ(BuildSummaryText(s, -2), withoutLv + "\r\nLV :        -2");
}

std::string WriteJpeg(const testing::TempFolder& folder, const std::string& name,
                      const TiffDirectory& ifd0) {
    const std::string path = folder.file(name);
    testing::WriteFileBytes(
        path,
        testing::InsertAfterSoi(testing::EncodeTestJpeg(8, 8),
                                {testing::ExifSegment(testing::BuildTiff(ifd0, testing::kBig))}));
    return path;
}

TEST(FileInfoTest, LightValueOnlyWithExposureAndFNumber) {
    testing::TempFolder folder;
    TiffDirectory exif;
    exif.rationals(0x829A, {{1, 125}})
        .rationals(0x829D, {{56, 10}})
        .shorts(0x8827, {100})
        .longs(0xA002, {640})
        .longs(0xA003, {480});
    TiffDirectory ifd0;
    ifd0.ascii(0x0110, "Cam").subDirectory(0x8769, exif);
    const FileInfo info = ReadFileInfo(WriteJpeg(folder, "lv.jpg", ifd0));
    EXPECT_EQ(info.lightValue, 11);
    EXPECT_EQ(info.summary.lightValue, "11");
    EXPECT_TRUE(info.summaryText.ends_with("\r\nLV :        11"));
    EXPECT_EQ(info.imageSizeText, "640 x 480");
    EXPECT_EQ(ReportBoxText(info), "ExifOffset is Exist\r\n");

    const auto fields = PanelFields(info);
    ASSERT_EQ(fields.size(), 13u);
    EXPECT_STREQ(fields[0].label, "Model");
    EXPECT_EQ(fields[0].value, "Cam");
    EXPECT_STREQ(fields[4].label, "File size");
    EXPECT_STREQ(fields[7].label, "Exposure");
    EXPECT_EQ(fields[7].value, "F5.6");
    EXPECT_STREQ(fields[12].label, "Light Value ");
    EXPECT_EQ(fields[12].value, "11");

    TiffDirectory apertureOnly;
    apertureOnly.rationals(0x829D, {{56, 10}});
    TiffDirectory ifd0b;
    ifd0b.subDirectory(0x8769, apertureOnly);
    const FileInfo noLv = ReadFileInfo(WriteJpeg(folder, "nolv.jpg", ifd0b));
    EXPECT_FALSE(noLv.lightValue);
    EXPECT_EQ(noLv.summary.lightValue, "");
    EXPECT_EQ(noLv.summaryText.find("LV :"), std::string::npos);
}

TEST(FileInfoTest, NoExifStillShowsTheFileSize) {
    testing::TempFolder folder;
    const std::string path = folder.file("plain.jpg");
    const auto jpeg = testing::EncodeTestJpeg(8, 8);
    testing::WriteFileBytes(path, jpeg);
    const FileInfo info = ReadFileInfo(path);
    EXPECT_EQ(info.summary.fileSize, static_cast<int64_t>(jpeg.size()));
    EXPECT_EQ(ReportBoxText(info), "No Exif Informations");
    EXPECT_EQ(info.imageSizeText, "");

    const FileInfo missing = ReadFileInfo(folder.file("missing.jpg"));
    EXPECT_EQ(missing.fileSizeText, "0 bytes");
    EXPECT_EQ(ReportBoxText(missing), "No Exif Informations");
}

TEST(FolderListingTest, JpegTiffAndNefWithoutCaseSorted) {
    testing::TempFolder folder;
    for (const char* name : {"b.tiff", "a.JPG", "c.nef", "d.tif", "E.jpeg", "f.gif", "g.tiffx",
                             "h.jpg.txt", ".hidden.jpg", "notes.txt"}) {
        testing::WriteFileBytes(folder.file(name), {1});
    }
    std::filesystem::create_directory(folder.path() / "folder.jpg");
    const std::vector<std::string> expected = {"a.JPG", "b.tiff", "c.nef", "d.tif", "E.jpeg"};
    EXPECT_EQ(ListPictureFiles(folder.path().string()), expected);
    EXPECT_TRUE(ListPictureFiles(folder.file("no-such-folder")).empty());

    EXPECT_TRUE(IsListedPictureName("X.TIF"));
    EXPECT_TRUE(IsListedPictureName("x.Nef"));
    EXPECT_FALSE(IsListedPictureName("x.tiff2"));
    EXPECT_FALSE(IsListedPictureName("x.jpgx"));
}

}  // namespace
}  // namespace corvelle
