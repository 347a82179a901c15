// Loading the metadata block of JPEG and TIFF files and walking its directories.
#include <gtest/gtest.h>

#include "core/buffered_byte_source.h"
#include "core/exif/exif_reader.h"
#include "core/report/file_info.h"
#include "core/report/info_output.h"
#include "exif_test_helpers.h"
#include "support/counting_byte_source.h"
#include "support/temp_folder.h"

namespace corvelle {
namespace {

using testing::kBig;
using testing::kLittle;
using testing::TiffDirectory;
using Bytes = std::vector<uint8_t>;

TiffDirectory SmallIfd0() {
    TiffDirectory exif;
    exif.rationals(0x829A, {{1, 125}}).rationals(0x829D, {{56, 10}}).shorts(0x8827, {100});
    TiffDirectory ifd0;
    ifd0.ascii(0x0110, "Test Camera").subDirectory(0x8769, exif);
    return ifd0;
}

struct Loaded {
    LoadedMetadata metadata;
    ExifSummary summary;
    bool parsed = false;
};

Loaded LoadFile(const testing::TempFolder& folder, const std::string& name, const Bytes& bytes) {
    const std::string path = folder.file(name);
    testing::WriteFileBytes(path, bytes);
    Loaded loaded;
    loaded.metadata = LoadMetadataBlock(path);
    if (loaded.metadata.block) loaded.parsed = Parse(*loaded.metadata.block, loaded.summary);
    return loaded;
}

TEST(LoadMetadataBlockTest, FindsExifAfterOtherSegments) {
    testing::TempFolder folder;
    const Bytes tiff = testing::BuildTiff(SmallIfd0(), kBig);
    const Bytes jfif =
        testing::JpegSegment(0xE0, {'J', 'F', 'I', 'F', 0, 1, 1, 0, 0, 1, 0, 1, 0, 0});
    const Bytes jpeg =
        testing::InsertAfterSoi(testing::EncodeTestJpeg(16, 8), {jfif, testing::ExifSegment(tiff)});
    // Capital extension: the path is compared without regard to case.
    const Loaded loaded = LoadFile(folder, "photo.JPG", jpeg);
    ASSERT_TRUE(loaded.metadata.block);
    EXPECT_EQ(loaded.metadata.fileSize, static_cast<int64_t>(jpeg.size()));
    // The block starts at the TIFF header and takes the eight bytes after the segment too.
    ASSERT_GE(loaded.metadata.block->size(), tiff.size());
    EXPECT_TRUE(std::equal(tiff.begin(), tiff.end(), loaded.metadata.block->begin()));
    EXPECT_EQ(loaded.metadata.block->size(), tiff.size() + 8);
    EXPECT_TRUE(loaded.parsed);
    EXPECT_EQ(loaded.summary.model, "Test Camera");
    EXPECT_EQ(loaded.summary.shutter, "1/125 sec");
}

TEST(LoadMetadataBlockTest, FirstApp1MustBeExif) {
    testing::TempFolder folder;
    const Bytes xmp = testing::JpegSegment(0xE1, {'h', 't', 't', 'p', ':', '/', '/'});
    const Bytes exif = testing::ExifSegment(testing::BuildTiff(SmallIfd0(), kLittle));
    const Loaded loaded = LoadFile(
        folder, "a.jpeg", testing::InsertAfterSoi(testing::EncodeTestJpeg(8, 8), {xmp, exif}));
    EXPECT_TRUE(loaded.metadata.opened);
    EXPECT_FALSE(loaded.metadata.block);
    EXPECT_GT(loaded.metadata.fileSize, 0);
}

TEST(LoadMetadataBlockTest, RefusesWhatIsNotJpegOrTiff) {
    testing::TempFolder folder;
    EXPECT_FALSE(LoadFile(folder, "no-soi.jpg", {0x89, 'P', 'N', 'G'}).metadata.block);
    EXPECT_FALSE(LoadFile(folder, "empty.jpg", {}).metadata.block);
    EXPECT_FALSE(LoadFile(folder, "soi-only.jpg", {0xFF, 0xD8}).metadata.block);
    // A segment length below 2 would step backwards forever.
    EXPECT_FALSE(
        LoadFile(folder, "zero-length.jpg", {0xFF, 0xD8, 0xFF, 0xE0, 0, 0}).metadata.block);
    EXPECT_FALSE(LoadFile(folder, "no-exif.jpg", testing::EncodeTestJpeg(8, 8)).metadata.block);

    const LoadedMetadata missing = LoadMetadataBlock(folder.file("missing.jpg"));
    EXPECT_FALSE(missing.opened);
    EXPECT_EQ(missing.fileSize, 0);
    EXPECT_FALSE(LoadMetadataBlock(folder.path().string()).opened);  // a folder
}

TEST(LoadMetadataBlockTest, TiffStructuredFiles) {
    testing::TempFolder folder;
    for (auto order : {kLittle, kBig}) {
        const Bytes tiff = testing::BuildTiff(SmallIfd0(), order);
        const Loaded loaded = LoadFile(folder, "picture.tif", tiff);
        ASSERT_TRUE(loaded.metadata.block);
        EXPECT_EQ(*loaded.metadata.block, tiff);
        EXPECT_TRUE(loaded.parsed);
        EXPECT_EQ(loaded.summary.aperture, "F5.6");
    }
    // Bytes 2 and 3 other than 42: no information.
    Bytes not42 = testing::BuildTiff(SmallIfd0(), kLittle);
    not42[2] = 43;
    const Loaded refused = LoadFile(folder, "raw.nef", not42);
    ASSERT_TRUE(refused.metadata.block);
    EXPECT_FALSE(refused.parsed);
    EXPECT_TRUE(refused.summary.reportLines.empty());

    // Another first pair: only the head of the file is read, and it is no TIFF.
    Bytes other(100000, 0x55);
    const Loaded head = LoadFile(folder, "other.tif", other);
    ASSERT_TRUE(head.metadata.block);
    EXPECT_EQ(head.metadata.block->size(), 0xF000u);
    EXPECT_FALSE(head.parsed);
}

// What ReadFileInfo asks of a file: the reads that reach the file below the head buffer.
int FileReadsFor(const std::string& path, ThumbnailBytes thumbnail = ThumbnailBytes::Copy,
                 FileInfo* read = nullptr) {
    testing::SourceCalls calls;
    HeadBufferedSource source(
        std::make_unique<testing::CountingByteSource>(FileByteSource::open(path), calls));
    const FileInfo info = ReadFileInfo(source, path, thumbnail);
    EXPECT_FALSE(info.summary.model.empty()) << path;
    if (read != nullptr) *read = info;
    return calls.reads;
}

TEST(LoadMetadataBlockTest, ReadsAPictureInOneReadUnlessItsDataLieFurther) {
    testing::TempFolder folder;
    // A camera JPEG: the EXIF block (with its thumbnail) near the start, megabytes of picture
    // data after it.
    TiffDirectory ifd1;
    ifd1.placedBytes(0x0201, testing::kLong, 1, [](uint32_t) { return Bytes{0x40, 0, 0, 0}; });
    ifd1.longs(0x0202, {8});
    TiffDirectory ifd0 = SmallIfd0();
    ifd0.next(ifd1);
    Bytes jpeg = testing::InsertAfterSoi(testing::EncodeTestJpeg(16, 8),
                                         {testing::ExifSegment(testing::BuildTiff(ifd0, kLittle))});
    jpeg.resize(jpeg.size() + 500000, 0x33);
    testing::WriteFileBytes(folder.file("camera.jpg"), jpeg);
    EXPECT_EQ(FileReadsFor(folder.file("camera.jpg")), 1);

    // A raw file whose only directory lies past the head: one read more.
    Bytes raw = {'I', 'I', 42, 0, 0x40, 0x0D, 0x03, 0};  // IFD0 at 200,000
    raw.resize(200000);
    const Bytes directory = {1, 0, 0x10, 0x01, 2, 0, 4, 0, 0, 0, 'R', 'a', 'w', 0, 0, 0, 0, 0};
    raw.insert(raw.end(), directory.begin(), directory.end());
    raw.resize(400000);
    testing::WriteFileBytes(folder.file("far.nef"), raw);
    EXPECT_EQ(FileReadsFor(folder.file("far.nef")), 2);
}

TEST(LoadMetadataBlockTest, TheCommandLineLeavesAThumbnailUnread) {
    testing::TempFolder folder;
    // A thumbnail of 40,000 bytes from just after the TIFF header: most of it lies past the
    // head, so copying it costs a read of its own.
    constexpr uint32_t kThumbnailLength = 40000;
    TiffDirectory ifd1;
    ifd1.raw(0x0201, testing::kLong, 1, 8).longs(0x0202, {kThumbnailLength});
    ifd1.bytes(0xC000, testing::kUndefined, Bytes(kThumbnailLength + 1000, 0x5A));
    TiffDirectory ifd0 = SmallIfd0();
    ifd0.next(ifd1);
    const Bytes jpeg = testing::InsertAfterSoi(
        testing::EncodeTestJpeg(16, 8), {testing::ExifSegment(testing::BuildTiff(ifd0, kLittle))});
    testing::WriteFileBytes(folder.file("thumb.jpg"), jpeg);

    FileInfo copied, left;
    EXPECT_EQ(FileReadsFor(folder.file("thumb.jpg"), ThumbnailBytes::Copy, &copied), 2);
    EXPECT_EQ(FileReadsFor(folder.file("thumb.jpg"), ThumbnailBytes::Leave, &left), 1);
    EXPECT_EQ(copied.summary.thumbnailJpeg.size(), kThumbnailLength);
    EXPECT_TRUE(left.summary.thumbnailJpeg.empty());
    // Everything the texts show is the same either way.
    EXPECT_EQ(left.summary.thumbnailPosition, copied.summary.thumbnailPosition);
    EXPECT_EQ(left.summary.thumbnailLength, kThumbnailLength);
    EXPECT_EQ(left.summary.reportLines, copied.summary.reportLines);
    EXPECT_EQ(FormatInfoJson({left}), FormatInfoJson({copied}));
}

TEST(ParseTest, WalkOrderAndDirectories) {
    TiffDirectory interop;
    interop.asciiExact(0x0001, "R98").bytes(0x0002, testing::kUndefined, {'0', '1', '0', '0'});
    TiffDirectory exif;
    exif.shorts(0xA001, {1}).subDirectory(0xA005, interop);
    TiffDirectory ifd1;
    ifd1.shorts(0x0103, {6}).placedBytes(0x0201, testing::kLong, 1, [](uint32_t) {
        return Bytes{0x40, 0, 0, 0};
    });
    ifd1.longs(0x0202, {8});
    TiffDirectory ifd0;
    // The EXIF pointer before an IFD0 entry: every IFD0 line still comes first.
    ifd0.subDirectory(0x8769, exif).shorts(0x0112, {1}).next(ifd1);
    const ExifSummary summary = testing::ParseTiff(ifd0);
    const std::vector<std::string> expected = {
        "ExifOffset is Exist\r\n",
        "Orientation = upper left\r\n",
        "ColorSpace = 1\r\n",
        "ExifInteroperabilityOffset = " + std::to_string(summary.interoperabilityOffset) + "\r\n",
        "Compression = JPEG\r\n",
        "ExifR98 Header String? = R98\r\n",
        "ExifR98 Version = 0100\r\n",
    };
    EXPECT_EQ(summary.reportLines, expected);
    EXPECT_NE(summary.interoperabilityOffset, 0u);
    EXPECT_EQ(summary.thumbnailPosition, 0x40);
    EXPECT_EQ(summary.thumbnailLength, 8u);
    EXPECT_EQ(summary.thumbnailJpeg.size(), 8u);
}

TEST(ParseTest, NoIfd1MeansNoThumbnailAndNoInteroperability) {
    TiffDirectory interop;
    interop.asciiExact(0x0001, "R98");
    TiffDirectory exif;
    exif.subDirectory(0xA005, interop);
    TiffDirectory ifd0;
    ifd0.longs(0x0201, {8}).longs(0x0202, {100}).subDirectory(0x8769, exif);
    const ExifSummary summary = testing::ParseTiff(ifd0);
    EXPECT_EQ(summary.reportLines.size(), 2u);  // the two pointer lines only
    EXPECT_EQ(summary.thumbnailPosition, 8);
    EXPECT_TRUE(summary.thumbnailJpeg.empty());
}

TEST(ParseTest, SummaryRules) {
    TiffDirectory exif;
    exif.rationals(0x829A, {{10, 300}})
        .rationals(0x829D, {{35, 10}})
        .shorts(0x8827, {1})
        .bytes(0x9000, testing::kUndefined, {'0', '2', '2', '0'})
        .ascii(0x9003, "2004:03:15 14:25:30")
        .srationals(0x9201, {{5, 1}})  // the exposure time already set the shutter
        .srationals(0x9204, {{-2, 3}})
        .shorts(0x9207, {5})
        .shorts(0x9209, {1})
        .rationals(0x920A, {{70, 10}})
        .longs(0xA002, {640})
        .shorts(0xA003, {480});
    for (auto order : {kLittle, kBig}) {
        const ExifSummary s = testing::ParseWithExif(exif, order, "Canon");
        EXPECT_DOUBLE_EQ(s.exposureSeconds, 10.0 / 300);
        EXPECT_DOUBLE_EQ(s.fNumber, 3.5);
        EXPECT_EQ(s.shutter, "1/30 sec");
        EXPECT_EQ(s.aperture, "F3.5");
        EXPECT_EQ(s.iso, "1");
        EXPECT_EQ(s.exifVersion, "2.20");
        EXPECT_EQ(s.dateTime, "2004:03:15 14:25:30");
        EXPECT_EQ(s.exposureBias, "-0.7 EV");
        EXPECT_EQ(s.metering, "pattern");
        EXPECT_EQ(s.flash, "On");
        EXPECT_EQ(s.focalLength, "7.0 mm");
        EXPECT_EQ(s.width, 640u);
        EXPECT_EQ(s.height, 480u);
        EXPECT_EQ(s.reportLines.size(), 2u);  // Maker and ExifOffset only
    }
    // Nikon stores ISO 160 as 1.
    EXPECT_EQ(testing::ParseWithExif(exif, kLittle, "NIKON").iso, "160");
}

TEST(ParseTest, ExifVersionAndMeteringOddities) {
    TiffDirectory exif;
    exif.bytes(0x9000, testing::kUndefined, {'0', '1', '0', '0'}).shorts(0x9207, {255});
    const ExifSummary s = testing::ParseWithExif(exif);
    EXPECT_EQ(s.exifVersion, "1.0");
    EXPECT_EQ(s.metering, "unknown/other");
}

TEST(ParseTest, ApexShutterFillsWhatTheExposureTimeLeft) {
    TiffDirectory exif;
    // A zero exposure time sets nothing visible; the APEX value then fills both.
    exif.rationals(0x829A, {{0, 1}}).srationals(0x9201, {{5, 1}});
    const ExifSummary s = testing::ParseWithExif(exif);
    EXPECT_EQ(s.shutter, "1/32 sec");
    EXPECT_DOUBLE_EQ(s.exposureSeconds, 1.0 / 32);

    TiffDirectory zero;
    zero.rationals(0x829A, {{1, 0}})
        .rationals(0x829D, {{28, 0}})
        .srationals(0x9204, {{1, 0}})
        .rationals(0x920A, {{50, 0}})
        .shorts(0x8827, {400});
    const ExifSummary z = testing::ParseWithExif(zero);
    EXPECT_EQ(z.shutter, "");
    EXPECT_EQ(z.exposureSeconds, 0);
    EXPECT_EQ(z.aperture, "");
    EXPECT_EQ(z.fNumber, 0);
    EXPECT_EQ(z.exposureBias, "");
    EXPECT_EQ(z.focalLength, "");
    EXPECT_EQ(z.iso, "400");  // the other values are still shown
}

TEST(ParseTest, HostileBlocksStayInside) {
    // Lying counts and offsets: everything before them keeps its effect.
    TiffDirectory exif;
    exif.shorts(0x8827, {100})
        .raw(0x829A, testing::kRational, 1, 0xFFFFFFF0)
        .raw(0x9003, testing::kAscii, 20, 0x7FFFFFFF)
        .raw(0x0102, testing::kShort, 3, 0xFFFFFFFF)
        .raw(0x0F00, testing::kLong, 0x40000000, 8)
        .raw(0x010E, testing::kAscii, 0xFFFFFFFF, 8);
    TiffDirectory ifd0;
    ifd0.ascii(0x0110, "Model")
        .subDirectory(0x8769, exif)
        .raw(0xA005, testing::kLong, 1, 0xFFFFFF00);
    Bytes tiff = testing::BuildTiff(ifd0, kBig);
    ExifSummary summary;
    ASSERT_TRUE(Parse(tiff, summary));
    EXPECT_EQ(summary.model, "Model");
    EXPECT_EQ(summary.iso, "100");
    EXPECT_EQ(summary.dateTime, "");
    ASSERT_FALSE(summary.reportLines.empty());
    // The text at offset 8 runs to the first zero byte or the block's end, never past it.
    EXPECT_EQ(summary.reportLines.back().rfind("ImageDescription = \"", 0), 0u);

    // Every truncation of a real structure parses without reading outside.
    for (size_t length = 0; length < tiff.size(); ++length) {
        Bytes cut(tiff.begin(), tiff.begin() + length);
        ExifSummary partial;
        Parse(cut, partial);
    }
    // A directory count past the end: the entries that fit are walked.
    Bytes lying = testing::BuildTiff(TiffDirectory{}.shorts(0x0112, {6}), kLittle);
    lying[8] = 0xFF;
    lying[9] = 0xFF;
    ExifSummary counted;
    ASSERT_TRUE(Parse(lying, counted));
    ASSERT_EQ(counted.reportLines.size(), 1u);
    EXPECT_EQ(counted.reportLines[0], "Orientation = upper right\r\n");
}

TEST(ParseTest, ManyEntriesOnOneLongTextStayWithinTheBudget) {
    // 4000 ImageDescription entries all pointing at one text of 60,000 bytes.
    const uint32_t entries = 4000;
    const uint32_t textAt = 8 + 2 + 12 * entries + 4;
    Bytes tiff = {'I', 'I', 42, 0, 8, 0, 0, 0, uint8_t(entries), uint8_t(entries >> 8)};
    for (uint32_t i = 0; i < entries; ++i) {
        const uint8_t entry[12] = {0x0E,
                                   0x01,
                                   2,
                                   0,
                                   0x60,
                                   0xEA,
                                   0,
                                   0,
                                   uint8_t(textAt),
                                   uint8_t(textAt >> 8),
                                   uint8_t(textAt >> 16),
                                   0};
        tiff.insert(tiff.end(), entry, entry + 12);
    }
    tiff.insert(tiff.end(), {0, 0, 0, 0});
    tiff.insert(tiff.end(), 60000, 'x');
    ExifSummary summary;
    ASSERT_TRUE(Parse(tiff, summary));
    EXPECT_LE(summary.reportBytes, kReportBudget);
    EXPECT_EQ(JoinReport(summary).size(), summary.reportBytes);
    EXPECT_EQ(summary.reportLines.size(), kReportBudget / summary.reportLines[0].size());
}

TEST(ParseTest, TextWithoutZeroEndsAtItsCount) {
    TiffDirectory ifd0;
    ifd0.asciiExact(0x0110, "FULLMODELNAMEX").ascii(0x010E, "next");
    const ExifSummary s = testing::ParseTiff(ifd0);
    EXPECT_EQ(s.model, "FULLMODELNAMEX");
}

}  // namespace
}  // namespace corvelle
