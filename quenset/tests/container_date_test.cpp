// The shooting date of today's photo and movie files: PNG, WebP, HEIF, CR3 and raw files by
// their EXIF dates, MP4/QuickTime movies by their own creation dates.
#include <gtest/gtest.h>

#include "core/byte_source.h"
#include "core/date_lookup.h"
#include "support/iso_media_builder.h"
#include "test_pictures.h"

namespace corvelle {
namespace {

using namespace corvelle::testing;

std::string DateOf(const Bytes& file) { return ShootingDateText(MemoryByteSource(file), false); }

Bytes ExifTiff(const std::string& original, const std::string& dateTime,
               testing::ByteOrder order = kLittle) {
    TiffDirectory exif;
    if (!original.empty()) exif.ascii(0x9003, original);
    TiffDirectory ifd0;
    if (!dateTime.empty()) ifd0.ascii(0x0132, dateTime);
    ifd0.subDirectory(0x8769, exif);
    return BuildTiff(ifd0, order);
}

// A TIFF structure whose header mark is replaced (ORF, RW2).
Bytes WithMark(Bytes tiff, const char (&mark)[5]) {
    std::copy(mark, mark + 4, tiff.begin());
    return tiff;
}

TEST(ContainerDates, EachContainerByItsExifRules) {
    const std::string taken = "2023:06:01 14:25:30";
    const std::string saved = "2023:06:02 08:00:00";
    const Bytes tiff = ExifTiff(taken, saved);
    TiffDirectory cmt2;
    cmt2.ascii(0x9003, taken);
    TiffDirectory cmt1;
    cmt1.ascii(0x0132, saved);
    struct Row {
        const char* what;
        Bytes file;
        std::string date;
    } rows[] = {
        {"PNG eXIf", BuildPngChunks({{"IHDR", Bytes(13, 0)}, {"eXIf", tiff}}), taken},
        {"WebP EXIF", BuildWebpChunks({{"VP8X", Bytes(10, 0)}, {"EXIF", tiff}}), taken},
        {"HEIC Exif item", BuildHeif({.exifTiff = ExifTiff(taken, saved, kBig)}), taken},
        {"AVIF without DateTimeOriginal",
         BuildHeif({.exifTiff = ExifTiff("", saved), .brand = "avif"}), saved},
        {"CR3: EXIF directory in CMT2",
         BuildCr3({.cmt1 = BuildTiff(cmt1, kLittle), .cmt2 = BuildTiff(cmt2, kLittle)}), taken},
        {"CR3: main directory only", BuildCr3({.cmt1 = BuildTiff(cmt1, kLittle)}), saved},
        {"ORF IIRO", WithMark(tiff, "IIRO"), taken},
        {"ORF IIRS", WithMark(tiff, "IIRS"), taken},
        {"ORF MMOR", WithMark(ExifTiff(taken, saved, kBig), "MMOR"), taken},
        {"RW2 IIU", WithMark(tiff, "IIU\0"), taken},
        {"TIFF with another mark", WithMark(tiff, "II+\0"), ""},
        {"PNG without eXIf", BuildPngChunks({{"IHDR", Bytes(13, 0)}}), ""},
        {"PNG raw profile",
         BuildPngChunks({{"IHDR", Bytes(13, 0)},
                         {"zTXt", PngTextChunk("zTXt", "Raw profile type exif",
                                               RawProfileText("exif", tiff))}}),
         taken},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.what);
        EXPECT_EQ(DateOf(row.file), row.date);
    }
}

TEST(ContainerDates, MoviesByCreationDateKeyThenMovieHeader) {
    FixedTimeZone zone("KST-9");
    // 2023-06-01 05:25:30 UTC is 3768441930 seconds after 1904-01-01.
    const uint64_t seconds = 3768441930;
    struct Row {
        const char* what;
        MovieParts parts;
        std::string date;
    } rows[] = {
        {"header, version 0, in local time",
         {.movieHeaderSeconds = seconds},
         "2023:06:01 14:25:30"},
        {"header, version 1",
         {.movieHeaderSeconds = seconds, .movieHeaderVersion1 = true, .brand = "mp42"},
         "2023:06:01 14:25:30"},
        {"the key's own clock time wins",
         {.movieHeaderSeconds = seconds, .creationDate = "2023-06-01T07:25:30-0700"},
         "2023:06:01 07:25:30"},
        {"an unreadable key falls back",
         {.movieHeaderSeconds = seconds, .creationDate = "yesterday"},
         "2023:06:01 14:25:30"},
        {"a zero header time is no date", {.movieHeaderSeconds = 0}, ""},
        {"no header", {}, ""},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.what);
        EXPECT_EQ(DateOf(BuildMovie(row.parts)), row.date);
    }
    // Named ".jpg", a movie is read as JPEG and has no date.
    EXPECT_EQ(ShootingDateText(MemoryByteSource(BuildMovie({.movieHeaderSeconds = seconds})), true),
              "");
}

}  // namespace
}  // namespace corvelle
