// The readers that find a picture's EXIF data in PNG chunks, WebP chunks and ISO media
// boxes: each table row is a file built chunk by chunk or box by box and what it must give.
#include <gtest/gtest.h>

#include "core/byte_source.h"
#include "core/chunked_exif.h"
#include "core/iso_media_boxes.h"
#include "core/iso_media_metadata.h"
#include "core/picture_container.h"
#include "support/exif_builder.h"
#include "support/iso_media_builder.h"

namespace corvelle {
namespace {

using namespace corvelle::testing;

const Bytes& Tiff() {
    static const Bytes tiff = [] {
        TiffDirectory ifd0;
        ifd0.ascii(0x0110, "Model X").ascii(0x0132, "2021:02:03 04:05:06");
        return BuildTiff(ifd0, kBig);
    }();
    return tiff;
}

Bytes BytesAt(const Bytes& file, const std::optional<ByteRange>& range) {
    if (!range || range->end() > file.size()) return {};
    return Bytes(file.begin() + long(range->offset), file.begin() + long(range->end()));
}

// The bytes of an EXIF structure, in the file or gathered.
Bytes BytesOf(const Bytes& file, const ExifStructure& structure) {
    const MemoryByteSource source(file);
    const ExifStructureSource bytes(source, structure);
    Bytes out(size_t(bytes.size()));
    out.resize(bytes.readAt(0, out));
    return out;
}

// The TIFF bytes the container reader finds, or nothing.
Bytes FoundExif(const Bytes& file) {
    const MemoryByteSource source(file);
    const std::vector<ExifStructure> found = FindContainerExif(source, SniffPictureContainer(source));
    return found.empty() ? Bytes() : BytesOf(file, found.front());
}

TEST(ContainerReaders, PngChunks) {
    const Bytes ihdr(13, 1);
    const Bytes prefixed = Join({{'E', 'x', 'i', 'f', 0, 0}, Tiff()});
    Bytes cutShort = BuildPngChunks({{"IHDR", ihdr}, {"eXIf", Tiff()}});
    cutShort.resize(cutShort.size() - 10);
    struct Row {
        const char* what;
        Bytes file;
        bool found;
    } rows[] = {
        {"after IHDR", BuildPngChunks({{"IHDR", ihdr}, {"IDAT", {1, 2, 3}}, {"eXIf", Tiff()}}),
         true},
        {"with the JPEG identifier", BuildPngChunks({{"IHDR", ihdr}, {"eXIf", prefixed}}), true},
        {"none", BuildPngChunks({{"IHDR", ihdr}, {"IEND", {}}}), false},
        {"after IEND", BuildPngChunks({{"IEND", {}}, {"eXIf", Tiff()}}), false},
        {"chunk past the end", cutShort, false},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.what);
        EXPECT_EQ(SniffPictureContainer(MemoryByteSource(row.file)), PictureContainer::kPng);
        EXPECT_EQ(FoundExif(row.file), row.found ? Tiff() : Bytes());
    }
}

TEST(ContainerReaders, WebpChunks) {
    const Bytes odd = {1, 2, 3};  // padded to four bytes
    struct Row {
        const char* what;
        Bytes file;
        bool found;
    } rows[] = {
        {"after an odd chunk",
         BuildWebpChunks({{"VP8X", Bytes(10, 0)}, {"ICCP", odd}, {"EXIF", Tiff()}}), true},
        {"with the JPEG identifier",
         BuildWebpChunks({{"EXIF", Join({{'E', 'x', 'i', 'f', 0, 0}, Tiff()})}}), true},
        {"outside the RIFF size", BuildWebpChunks({{"VP8X", Bytes(10, 0)}, {"EXIF", Tiff()}}, 22),
         false},
        {"RIFF size past the file", BuildWebpChunks({{"EXIF", Tiff()}}, 0xFFFFFFF0u), true},
        {"none", BuildWebpChunks({{"VP8L", Bytes(5, 0)}}), false},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.what);
        EXPECT_EQ(SniffPictureContainer(MemoryByteSource(row.file)), PictureContainer::kWebp);
        EXPECT_EQ(FoundExif(row.file), row.found ? Tiff() : Bytes());
    }
}

TEST(ContainerReaders, HeifExifInPiecesIsJoinedWithinItsBound) {
    Bytes large = Tiff();
    large.resize(size_t(4) << 20, 0);
    EXPECT_EQ(FoundExif(BuildHeif({.exifTiff = large, .exifPieces = 2})), Bytes());
    large.resize(large.size() - 64);
    EXPECT_EQ(FoundExif(BuildHeif({.exifTiff = large, .exifPieces = 2})), large);
    // One piece past the file's end leaves the item unread.
    Bytes cut = BuildHeif({.exifTiff = Tiff(), .exifPieces = 2});
    cut.resize(cut.size() - 4);
    EXPECT_EQ(FoundExif(cut), Bytes());
}

TEST(ContainerReaders, HeifItems) {
    const Bytes jpeg = {0xFF, 0xD8, 0xFF, 0xE0, 0, 2, 0xFF, 0xD9};
    struct Row {
        const char* what;
        HeifParts parts;
        bool exif;
    } rows[] = {
        {"in the file", {.exifTiff = Tiff()}, true},
        {"in idat", {.exifTiff = Tiff(), .exifInIdat = true}, true},
        {"iloc version 0", {.exifTiff = Tiff(), .ilocVersion = 0}, true},
        {"no header skip", {.exifTiff = Tiff(), .exifPrefix = {}, .brand = "avif"}, true},
        {"in three pieces", {.exifTiff = Tiff(), .exifPieces = 3}, true},
        {"in pieces inside idat", {.exifTiff = Tiff(), .exifInIdat = true, .exifPieces = 2}, true},
        {"pieces cutting the header offset", {.exifTiff = Tiff(), .exifPieces = 40}, true},
        {"no Exif item", {.thumbnail = jpeg}, false},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.what);
        const Bytes file = BuildHeif(row.parts);
        EXPECT_EQ(SniffPictureContainer(MemoryByteSource(file)), PictureContainer::kIsoMedia);
        EXPECT_EQ(FoundExif(file), row.exif ? Tiff() : Bytes());
    }

    const Bytes withThumbnail = BuildHeif({.exifTiff = Tiff(), .thumbnail = jpeg});
    const IsoMediaMetadata found = ReadIsoMediaMetadata(MemoryByteSource(withThumbnail));
    EXPECT_EQ(BytesAt(withThumbnail, found.thumbnailItem), jpeg);
    EXPECT_EQ(found.thumbnailItemType, FourCC("jpeg"));

    // A header offset reaching past the item gives no EXIF data.
    Bytes lying = BuildHeif({.exifTiff = Tiff()});
    const Bytes marker = {0, 0, 0, 6, 'E', 'x', 'i', 'f'};
    const auto at = std::search(lying.begin(), lying.end(), marker.begin(), marker.end());
    ASSERT_NE(at, lying.end());
    at[2] = 0x7F;
    EXPECT_EQ(FoundExif(lying), Bytes());
}

TEST(ContainerReaders, CanonRawBoxes) {
    TiffDirectory exif;
    exif.ascii(0x9003, "2022:01:01 10:00:00");
    const Bytes cmt2 = BuildTiff(exif, kLittle);
    const Bytes thumbnail = {0xFF, 0xD8, 0xFF, 0xDB, 1, 0xFF, 0xD9};
    const Bytes preview = {0xFF, 0xD8, 0xFF, 0xDB, 2, 2, 0xFF, 0xD9};
    const Bytes file = BuildCr3({Tiff(), cmt2, thumbnail, preview});
    const IsoMediaMetadata found = ReadIsoMediaMetadata(MemoryByteSource(file));
    ASSERT_EQ(found.exif.size(), 2u);
    EXPECT_EQ(BytesOf(file, found.exif[0]), Tiff());
    EXPECT_EQ(BytesOf(file, found.exif[1]), cmt2);
    EXPECT_EQ(BytesAt(file, found.thumbnailJpeg), thumbnail);
    EXPECT_EQ(BytesAt(file, found.previewJpeg), preview);
}

TEST(ContainerReaders, BoxWalkEndsOnHostileSizes) {
    // A box nested in itself far deeper than any file: the walk stops at its depth limit.
    Bytes nested = Box("free", {});
    for (int i = 0; i < 200; ++i) nested = Box("meta", Join({{0, 0, 0, 0}, nested}));
    // Sizes below the header, past the parent, 64-bit and "to the end".
    Bytes large = Box("ftyp", {'h', 'e', 'i', 'c'});
    AppendBig(large, 1, 4);
    large = Join({large, {'f', 'r', 'e', 'e'}});
    AppendBig(large, 24, 8);
    large = Join({large, Bytes(8, 0), {0, 0, 0, 0, 'm', 'd', 'a', 't', 1, 2}});
    struct Row {
        const char* what;
        Bytes file;
        size_t topLevel;
    } rows[] = {
        {"deep nesting", nested, 1},
        {"64-bit size then size 0", large, 3},
        {"size below its header", Join({Box("ftyp", {}), {0, 0, 0, 4, 'f', 'r', 'e', 'e'}}), 1},
        {"size past the end", Join({Box("ftyp", {}), {0, 0, 1, 0, 'f', 'r', 'e', 'e'}}), 1},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.what);
        const MemoryByteSource source(row.file);
        IsoBoxReader reader(source);
        const std::vector<IsoBox> top = reader.topLevel();
        EXPECT_EQ(top.size(), row.topLevel);
        int depth = 0;
        for (std::vector<IsoBox> level = top; !level.empty(); level = reader.children(level[0], 4))
            ++depth;
        EXPECT_LE(depth, IsoBoxReader::kMaxDepth + 1);
        (void)ReadIsoMediaMetadata(source);
    }
}

TEST(ContainerReaders, SniffsByFirstBytesAndKnowsRawHeaderMarks) {
    EXPECT_EQ(SniffPictureContainer(MemoryByteSource(Tiff())), PictureContainer::kTiff);
    EXPECT_EQ(SniffPictureContainer(MemoryByteSource(Bytes{0xFF, 0xD8, 0xFF})),
              PictureContainer::kJpeg);
    EXPECT_EQ(SniffPictureContainer(MemoryByteSource(Bytes{'G', 'I', 'F', '8'})),
              PictureContainer::kOther);
    EXPECT_TRUE(IsTiffMagic(42));
    EXPECT_TRUE(IsTiffMagic('R' | 'O' << 8));  // "IIRO"
    EXPECT_TRUE(IsTiffMagic('O' << 8 | 'R'));  // "MMOR"
    EXPECT_TRUE(IsTiffMagic('R' | 'S' << 8));  // "IIRS"
    EXPECT_TRUE(IsTiffMagic('U'));             // "IIU\0"
    EXPECT_FALSE(IsTiffMagic(43));             // BigTIFF is not read
}

}  // namespace
}  // namespace corvelle
