// Whole runs over the folders today's phones and cameras leave: pictures, movies and raw
// files renamed by their dates with their sidecars, type by type, and undone.
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <set>

#include "core/rename_session.h"
#include "core/undo_journal.h"
#include "core/undo_run.h"
#include "support/iso_media_builder.h"
#include "test_pictures.h"

namespace corvelle {
namespace {

using namespace corvelle::testing;
namespace fs = std::filesystem;

int TypeIndex(std::string_view pattern) {
    for (size_t i = 0; i < kFileTypes.size(); ++i)
        if (kFileTypes[i] == pattern) return int(i);
    return -1;
}

int RenameType(const TempFolder& folder, std::string_view pattern) {
    NameSettings settings;
    settings.extensionIndex = TypeIndex(pattern);
    RenameSession session(RunInputsFromSettings(settings, folder.path().string()));
    return session.rename(session.changeablePositions()).renamed;
}

Bytes ExifTiff(const std::string& original, testing::ByteOrder order = kLittle) {
    TiffDirectory exif;
    exif.ascii(0x9003, original);
    TiffDirectory ifd0;
    ifd0.ascii(0x010F, "Camera");
    ifd0.subDirectory(0x8769, exif);
    return BuildTiff(ifd0, order);
}

void Sidecar(const TempFolder& folder, const std::string& name) {
    WriteFileBytes(folder.file(name), {'<', 'x', '/', '>'});
}

TEST(TodaysFilesRun, APhoneFolderRenamesByDateWithItsSidecarsAndUndoes) {
    TempFolder folder;
    const std::string heic = folder.file("IMG_0001.HEIC");
    const std::string make = "vips black '" + folder.file("b.png") +
                             "' 16 16 --bands 3 && vips copy '" + folder.file("b.png") + "' '" +
                             heic +
                             "' && exiftool -q -q -overwrite_original "
                             "'-DateTimeOriginal=2023:06:01 14:25:30' '" +
                             heic + "' && rm '" + folder.file("b.png") + "'";
    if (std::system(("(" + make + ") >/dev/null 2>&1").c_str()) != 0)
        GTEST_SKIP() << "vips or exiftool cannot write a HEIC picture here";
    Sidecar(folder, "IMG_0001.AAE");
    WriteFileBytes(
        folder.file("IMG_0002.MOV"),
        BuildMovie({.movieHeaderSeconds = 3768441990, .creationDate = "2023-06-01T14:26:30+0900"}));
    Sidecar(folder, "IMG_0002.aae");
    const std::set<std::string> before = Names(folder.path());

    EXPECT_EQ(RenameType(folder, "*.heic"), 1);
    EXPECT_EQ(RenameType(folder, "*.mov"), 1);
    EXPECT_EQ(Names(folder.path()),
              (std::set<std::string>{"20230601-142530.heic", "20230601-142530.AAE",
                                     "20230601-142630.mov", "20230601-142630.aae"}));

    EXPECT_EQ(UndoLastRun(folder.path(), JournalFolder()).revertedExtras, 1);
    EXPECT_EQ(UndoLastRun(folder.path(), JournalFolder()).reverted, 1);
    EXPECT_EQ(Names(folder.path()), before);
}

TEST(TodaysFilesRun, ACameraFolderRenamedTypeByTypeEndsWithMatchingStems) {
    FixedTimeZone zone("KST-9");
    TempFolder folder;
    struct Set {
        std::string raw;
        Bytes rawBytes;
        std::string taken;
    };
    Bytes orf = ExifTiff("2023:06:01 10:00:02");
    std::copy_n("IIRO", 4, orf.begin());
    TiffDirectory cmt1;
    cmt1.ascii(0x010F, "Canon");
    const Set sets[] = {
        {"DSC_0001.NEF", ExifTiff("2023:06:01 10:00:01", kBig), "2023:06:01 10:00:01"},
        {"P0002.ORF", orf, "2023:06:01 10:00:02"},
        {"IMG_0003.CR3",
         BuildCr3({.cmt1 = BuildTiff(cmt1, kLittle), .cmt2 = ExifTiff("2023:06:01 10:00:03")}),
         "2023:06:01 10:00:03"},
    };
    for (const Set& set : sets) {
        WriteFileBytes(folder.file(set.raw), set.rawBytes);
        const std::string stem = set.raw.substr(0, set.raw.find('.'));
        WriteFileBytes(folder.file(stem + ".JPG"), JpegWithDates(set.taken, ""));
        Sidecar(folder, stem + ".xmp");
    }
    // The JPEGs and sidecars go with their raw files as companions; none is left.
    for (const char* type : {"*.nef", "*.orf", "*.cr3"})
        EXPECT_EQ(RenameType(folder, type), 1) << type;
    EXPECT_EQ(RenameType(folder, "*.jpg"), 0);

    std::set<std::string> expected;
    for (const char* stem : {"20230601-100001", "20230601-100002", "20230601-100003"})
        for (const char* extension : {".jpg", ".xmp"})
            expected.insert(std::string(stem) + extension);
    expected.insert({"20230601-100001.nef", "20230601-100002.orf", "20230601-100003.cr3"});
    EXPECT_EQ(Names(folder.path()), expected);
}

TEST(TodaysFilesRun, EditorsPngsAndTheOtherSpellingsAreRenamedByTheirDates) {
    FixedTimeZone zone("KST-9");
    TempFolder folder;
    // ImageMagick and many editors keep EXIF data as hex text in a "Raw profile type exif"
    // chunk, zlib-compressed in zTXt.
    WriteFileBytes(folder.file("edit.png"),
                   BuildPngChunks({{"IHDR", Bytes(13, 0)},
                                   {"zTXt", PngTextChunk("zTXt", "Raw profile type exif",
                                                         RawProfileText("exif", ExifTiff(
                                                             "2023:06:01 10:00:01")))}}));
    WriteFileBytes(folder.file("scan.JPEG"), JpegWithDates("2023:06:01 10:00:02", ""));
    EXPECT_EQ(RenameType(folder, "*.png"), 1);
    EXPECT_EQ(RenameType(folder, "*.jpeg"), 1);
    EXPECT_EQ(Names(folder.path()),
              (std::set<std::string>{"20230601-100001.png", "20230601-100002.jpeg"}));
}

}  // namespace
}  // namespace corvelle
