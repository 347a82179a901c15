// The picture-type table and the EXIF locator: which type a file's own name gives under
// each program's rule, which container a file is read as when name and bytes disagree,
// and where the locator finds the TIFF data.
#include <gtest/gtest.h>

#include "core/byte_source.h"
#include "core/exif_locator.h"
#include "core/picture_types.h"
#include "core/text.h"
#include "support/exif_builder.h"
#include "support/iso_media_builder.h"

namespace corvelle {
namespace {

using namespace corvelle::testing;
using enum PictureType;
using Rule = PictureNameRule;

TEST(PictureTypes, OnlyTheFilesOwnNameCounts) {
    struct Row {
        const char* name;
        Rule rule;
        std::optional<PictureType> type;
    } rows[] = {
        {"DSC0001.JPG", Rule::kExtension, kJpeg},
        {"a.b.jPg", Rule::kExtension, kJpeg},
        {"photo.jpeg", Rule::kExtension, kJpeg},
        {"jpg", Rule::kExtension, std::nullopt},
        {".jpg", Rule::kExtension, std::nullopt},
        {"x.jpg.tif", Rule::kExtension, kTiff},
        {"x.jpg.tif", Rule::kJpgOrJpegAnywhere, kJpeg},
        {"holiday.jpgs.tiff", Rule::kJpgOrJpegAnywhere, kJpeg},
        {"scan.JPEG", Rule::kJpgOrJpegAnywhere, kJpeg},
        {"IMG_1.HIF", Rule::kExtension, kHeif},
        {"clip.MOV", Rule::kExtension, kMov},
        {"a.tiff2", Rule::kExtension, std::nullopt},
        // A folder's name never decides.
        {"trip.jpg.d/a.tif", Rule::kJpgOrJpegAnywhere, kTiff},
        {"/photos/trip.jpg/IMG.heic", Rule::kJpgOrJpegAnywhere, kHeic},
        {"/photos/x.png/notes", Rule::kExtension, std::nullopt},
        {"/a.jpeg/b", Rule::kJpgOrJpegAnywhere, std::nullopt},
    };
    for (const Row& row : rows)
        EXPECT_EQ(PictureTypeOfName(row.name, row.rule), row.type) << row.name;
}

TEST(PictureTypes, LoadersNameTheirTypes) {
    struct Row {
        const char* loader;
        std::optional<PictureType> type;
    } rows[] = {
        {"jpegload", kJpeg},   {"jpegload_source", kJpeg}, {"heifload", kHeic},
        {"tiffload", kTiff},   {"webpload_buffer", kWebp}, {"pngloadx", std::nullopt},
        {"gifload", std::nullopt}, {"", std::nullopt},
    };
    for (const Row& row : rows) EXPECT_EQ(PictureTypeOfLoader(row.loader), row.type) << row.loader;
}

TEST(PictureTypes, ContainersOfTodayDecideByTheirBytes) {
    using C = PictureContainer;
    struct Row {
        const char* what;
        std::optional<PictureType> byName;
        C sniffed;
        C readAs;
    } rows[] = {
        {"JPEG named .jpg", kJpeg, C::kJpeg, C::kJpeg},
        {"PNG named .jpg", kJpeg, C::kPng, C::kPng},
        {"HEIC named .jpg", kJpeg, C::kIsoMedia, C::kIsoMedia},
        {"JPEG named .heic", kHeic, C::kJpeg, C::kJpeg},
        {"JPEG named .png", kPng, C::kJpeg, C::kJpeg},
        {"JPEG named .webp", kWebp, C::kJpeg, C::kJpeg},
        {"JPEG named .tif keeps the name's rule", kTiff, C::kJpeg, C::kTiff},
        {"JPEG named .nef", kNef, C::kJpeg, C::kTiff},
        {"TIFF named .jpg", kJpeg, C::kTiff, C::kJpeg},
        {"no name type", std::nullopt, C::kOther, C::kTiff},
        {"WebP without a name type", std::nullopt, C::kWebp, C::kWebp},
    };
    for (const Row& row : rows) EXPECT_EQ(ContainerToRead(row.byName, row.sniffed), row.readAs) << row.what;

    const Bytes png = BuildPngChunks({{"IEND", {}}});
    EXPECT_TRUE(BytesFitPictureType(MemoryByteSource(png), kPng));
    EXPECT_FALSE(BytesFitPictureType(MemoryByteSource(png), kJpeg));
    const Bytes orf = {'I', 'I', 'R', 'O', 8, 0, 0, 0};
    EXPECT_TRUE(BytesFitPictureType(MemoryByteSource(orf), kOrf));
}

TEST(PictureTypes, AsciiLowerLeavesOtherBytes) {
    EXPECT_EQ(AsciiLower("IMG_0001.JPG"), "img_0001.jpg");
    EXPECT_EQ(AsciiLower("\xC3\x84" "BC[Z]@"), "\xC3\x84" "bc[z]@");
}

Bytes Tiff() {
    TiffDirectory ifd0;
    ifd0.ascii(0x0132, "2004:03:15 14:25:30");
    return BuildTiff(ifd0, kLittle);
}

// What the locator finds as bytes, structure after structure.
std::vector<Bytes> Located(const Bytes& file, PictureContainer readAs, uint64_t head = 16) {
    const MemoryByteSource source(file);
    std::vector<Bytes> found;
    for (const ExifStructure& structure : LocateExif(source, readAs, head)) {
        const ExifStructureSource bytes(source, structure);
        Bytes out(size_t(bytes.size()));
        out.resize(bytes.readAt(0, out));
        found.push_back(out);
    }
    return found;
}

TEST(ExifLocator, FindsTheFirstApp1OfAJpegOrNothing) {
    const Bytes jpeg = EncodeTestJpeg(8, 8);
    const Bytes app1Xmp = JpegSegment(0xE1, {'h', 't', 't', 'p', 0});
    Bytes cutShort = InsertAfterSoi(jpeg, {ExifSegment(Tiff())});
    cutShort.resize(20 + Tiff().size() / 2);
    Bytes zeroLength = {0xFF, 0xD8, 0xFF, 0xE0, 0, 0};
    struct Row {
        const char* what;
        Bytes file;
        std::vector<Bytes> found;
    } rows[] = {
        {"after JFIF", InsertAfterSoi(jpeg, {ExifSegment(Tiff())}), {Tiff()}},
        {"first APP1 is XMP", InsertAfterSoi(jpeg, {app1Xmp, ExifSegment(Tiff())}), {}},
        {"no APP1", jpeg, {}},
        // SOI, marker, length and "Exif\0\0" come before the TIFF data: what is there of it.
        {"cut inside the segment", cutShort, {Bytes(cutShort.begin() + 12, cutShort.end())}},
        {"segment length below two", zeroLength, {}},
        {"no FF D8", Tiff(), {}},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.what);
        EXPECT_EQ(Located(row.file, PictureContainer::kJpeg), row.found);
    }
}

TEST(ExifLocator, TiffStructuredFilesAreWholeOrTheirHead) {
    Bytes foreign = Tiff();
    foreign[0] = 'X';
    EXPECT_EQ(Located(Tiff(), PictureContainer::kTiff), std::vector<Bytes>{Tiff()});
    EXPECT_EQ(Located(foreign, PictureContainer::kTiff, 16),
              std::vector<Bytes>{Bytes(foreign.begin(), foreign.begin() + 16)});
    const Bytes png = BuildPngChunks({{"eXIf", Tiff()}});
    EXPECT_EQ(Located(png, PictureContainer::kPng), std::vector<Bytes>{Tiff()});
}

}  // namespace
}  // namespace corvelle
