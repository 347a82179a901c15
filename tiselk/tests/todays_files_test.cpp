// Today's photo files in Tiselk: each type lists with the rest and shows its EXIF data by the
// same rules as a JPEG, its thumbnail and its picture.
#include <gtest/gtest.h>

#include "core/decoding/picture_decoding.h"
#include "core/folder_listing.h"
#include "core/report/file_info.h"
#include "support/exif_builder.h"
#include "support/iso_media_builder.h"
#include "support/raw_file_builder.h"
#include "support/todays_files.h"

namespace corvelle {
namespace {

using namespace corvelle::testing;

TEST(TodaysFiles, EachTypeShowsItsExifThumbnailAndPicture) {
    TempFolder folder;
    const std::vector<TodaysFile> files = WriteTodaysFiles(folder);
    if (files.empty()) GTEST_SKIP() << "exiftool or the imaging library is missing";
    for (const TodaysFile& file : files) {
        SCOPED_TRACE(file.name);
        const FileInfo info = ReadFileInfo(folder.file(file.name));
        EXPECT_EQ(info.summary.model, file.name);
        EXPECT_EQ(info.summary.dateTime, "2023:06:01 14:25:30");
        EXPECT_EQ(info.lightValue, 11);
        EXPECT_NE(ReportBoxText(info), "No Exif Informations");
        // A HEIF thumbnail in another coding is only decoded by the window that shows it.
        const bool coded = file.name == "coded.heic";
        EXPECT_EQ(info.codedThumbnailItem, coded);
        EXPECT_EQ(!info.summary.thumbnailJpeg.empty(), file.ownThumbnail && !coded);
        const auto picture = DecodePicture(folder.file(file.name));
        ASSERT_TRUE(picture);
        EXPECT_EQ(picture->width(), file.width);
        EXPECT_EQ(picture->height(), file.height);
        EXPECT_EQ(picture->bitCount(), 24);
    }
}

TEST(TodaysFiles, ListedWithTheRestWithoutRegardToCase) {
    TempFolder folder;
    for (const char* name :
         {"b.HEIC", "a.jpg", "c.Png", "d.webp", "e.cr3", "f.Rw2", "g.avif", "h.heif", "i.dng",
          "j.arw", "k.orf", "l.pef", "m.srw", "n.cr2", "movie.mov", "notes.txt", "sidecar.xmp"})
        WriteFileBytes(folder.file(name), {1});
    const std::vector<std::string> expected = {"a.jpg", "b.HEIC", "c.Png",  "d.webp", "e.cr3",
                                               "f.Rw2", "g.avif", "h.heif", "i.dng",  "j.arw",
                                               "k.orf", "l.pef",  "m.srw",  "n.cr2"};
    EXPECT_EQ(ListPictureFiles(folder.path().string()), expected);
}

// Today's containers are told by their bytes, whatever their name; the rest by the file's own
// name (never its folder's): a JPEG under a container's name is read as the JPEG it is.
TEST(TodaysFiles, ContainersByTheirBytesTheRestByTheFilesOwnName) {
    TempFolder folder;
    TiffDirectory ifd0;
    ifd0.ascii(0x0110, "Named Camera");
    const Bytes tiff = BuildTiff(ifd0, kLittle);
    const Bytes jpeg = InsertAfterSoi(EncodeTestJpeg(8, 8), {ExifSegment(tiff)});
    const Bytes png = BuildPngChunks({{"IHDR", Bytes(13, 1)}, {"eXIf", tiff}, {"IEND", {}}});
    const Bytes heif = BuildHeif({.exifTiff = tiff});
    const Bytes profile =
        BuildPngChunks({{"IHDR", Bytes(13, 1)},
                        {"iTXt", PngTextChunk("iTXt", "Raw profile type exif",
                                              RawProfileText("exif", tiff), true)}});
    std::filesystem::create_directories(folder.file("trip.jpg.d"));
    struct Row {
        const char* name;
        const Bytes& bytes;
        bool shown;
    } rows[] = {
        {"trip.jpg.d/a.tif", tiff, true}, {"trip.jpg.d/IMG.heic", heif, true},
        {"plain.tif", tiff, true},        {"jpeg.heic", jpeg, true},
        {"jpeg.png", jpeg, true},         {"heif.jpg", heif, true},
        {"png.jpg", png, true},           {"jpeg.tif", jpeg, false},
        {"profile.png", profile, true},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        WriteFileBytes(folder.file(row.name), row.bytes);
        EXPECT_EQ(ReadFileInfo(folder.file(row.name)).summary.model,
                  row.shown ? "Named Camera" : "");
    }
    const auto picture = DecodePicture(folder.file("jpeg.png"));
    ASSERT_TRUE(picture);
    EXPECT_EQ(picture->width(), 8);
}

TEST(TodaysFiles, PictureWithoutExifAndRawWithoutPreview) {
    TempFolder folder;
    if (WriteTodaysFiles(folder).empty())
        GTEST_SKIP() << "exiftool or the imaging library is missing";
    ASSERT_EQ(
        std::system(("exiftool -q -q -overwrite_original -all= '" + folder.file("screen.png") + "'")
                        .c_str()),
        0);
    const FileInfo bare = ReadFileInfo(folder.file("screen.png"));
    EXPECT_EQ(ReportBoxText(bare), "No Exif Informations");
    EXPECT_EQ(bare.summary.model, "");
    EXPECT_TRUE(DecodePicture(folder.file("screen.png")));

    // A larger stretch that only begins like a JPEG (a DNG's lossless sensor data does) is
    // passed over without a message, and the next picture shows.
    std::vector<uint8_t> notJpeg(5000, 0);
    notJpeg[0] = 0xFF, notJpeg[1] = 0xD8;
    WriteFileBytes(folder.file("odd.cr2"),
                   BuildRawFile(RawLayout::kCr2, TiffDirectory(), notJpeg, EncodeTestJpeg(12, 8)));
    std::vector<std::string> messages;
    const auto picture =
        DecodePicture(folder.file("odd.cr2"), [&](const std::string& m) { messages.push_back(m); });
    ASSERT_TRUE(picture);
    EXPECT_EQ(picture->width(), 12);
    EXPECT_TRUE(messages.empty());
}

}  // namespace
}  // namespace corvelle
