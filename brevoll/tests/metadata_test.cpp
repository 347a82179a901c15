// The EXIF and ICC segments carried over, and the shooting date read from hostile bytes.
#include <gtest/gtest.h>

#include "core/jpeg_segments.h"
#include "core/shot_date.h"
#include "support/exif_builder.h"
#include "support/temp_folder.h"
#include "support/test_pictures.h"

namespace corvelle {
namespace {

using namespace corvelle::testing;

std::vector<uint8_t> tiffWithDates(ByteOrder order, const std::string& original,
                                   const std::string& plain, const std::string& digitized) {
    TiffDirectory exif;
    if (!digitized.empty()) exif.ascii(0x9004, digitized);
    if (!original.empty()) exif.ascii(0x9003, original);
    TiffDirectory ifd0;
    if (!plain.empty()) ifd0.ascii(0x0132, plain);
    ifd0.subDirectory(0x8769, exif);
    return BuildTiff(ifd0, order);
}

TEST(ReadShotDate, TakesTheDatesInTheirOrderOfPreference) {
    for (ByteOrder order : {kLittle, kBig}) {
        EXPECT_EQ(ReadShotDate(tiffWithDates(order, "2004:12:19 13:05:09", "2005:01:01 00:00:00",
                                             "2006:01:01 00:00:00")),
                  "2004:12:19 13:05:09");
        EXPECT_EQ(
            ReadShotDate(tiffWithDates(order, "", "2005:01:01 00:00:00", "2006:01:01 00:00:00")),
            "2005:01:01 00:00:00");
        EXPECT_EQ(ReadShotDate(tiffWithDates(order, "", "", "2006:01:01 00:00:00")),
                  "2006:01:01 00:00:00");
    }
    // An empty DateTimeOriginal gives way to the next one; the "Exif" header is skipped.
    TiffDirectory exif;
    exif.asciiExact(0x9003, std::string(20, '\0'));
    TiffDirectory ifd0;
    ifd0.ascii(0x0132, "2005:01:01 00:00:00").subDirectory(0x8769, exif);
    const auto segment = ExifSegment(BuildTiff(ifd0, kLittle));
    EXPECT_EQ(ReadShotDate({segment.data() + 4, segment.size() - 4}), "2005:01:01 00:00:00");
    // A short value in the entry itself is read from there.
    TiffDirectory shortDate;
    shortDate.ascii(0x0132, "204");
    EXPECT_EQ(ReadShotDate(BuildTiff(shortDate, kBig)), "204");
}

TEST(ReadShotDate, SurvivesLyingOffsetsAndCounts) {
    TiffDirectory ifd0;
    ifd0.raw(0x0132, kAscii, 20, 0xFFFFFFF0u).raw(0x8769, kLong, 1, 0x7FFFFFFFu);
    EXPECT_EQ(ReadShotDate(BuildTiff(ifd0, kLittle)), "");
    TiffDirectory huge;
    huge.raw(0x0132, kAscii, 0xFFFFFFFFu, 8);
    EXPECT_EQ(ReadShotDate(BuildTiff(huge, kBig)), "");
    // The EXIF pointer back at IFD0 finds IFD0's own entries and nothing else.
    TiffDirectory loop;
    loop.raw(0x8769, kLong, 1, 8);
    EXPECT_EQ(ReadShotDate(BuildTiff(loop, kLittle)), "");
    auto cut = tiffWithDates(kLittle, "2004:12:19 13:05:09", "", "");
    cut.resize(cut.size() - 10);
    EXPECT_EQ(ReadShotDate(cut), "");
    EXPECT_EQ(ReadShotDate({}), "");
    const std::vector<uint8_t> notTiff = {'X', 'X', 42, 0, 8, 0, 0, 0};
    EXPECT_EQ(ReadShotDate(notTiff), "");
}

TEST(JpegSegments, FindsExifAndIccAndSplicesThemAfterApp0) {
    TestPictureOptions options;
    options.withIcc = true;
    const auto source = MakeTestPicture(options);
    JpegMetadataSegments found;
    ASSERT_EQ(FindMetadataSegments(source, found), JpegScan::Complete);
    const auto expected = MetadataSegmentsOf(source);
    ASSERT_EQ(expected.size(), 2u);
    EXPECT_EQ(found.exif, expected[0]);
    ASSERT_EQ(found.icc.size(), 1u);
    EXPECT_EQ(found.icc[0], expected[1]);
    EXPECT_EQ(ReadShotDate(ExifTiffBytes(found)), "2004:12:19 13:05:09");

    // Into a plain JPEG with a JFIF APP0 and a stale EXIF block of its own.
    const auto stale = ExifSegment(BuildTiff(TiffDirectory().ascii(0x0132, "x"), kLittle));
    auto plain = EncodeTestJpeg(16, 16);
    ASSERT_EQ(plain[3], 0xE0);
    const size_t afterApp0 = 4 + size_t(plain[4] << 8 | plain[5]);
    plain.insert(plain.begin() + long(afterApp0), stale.begin(), stale.end());
    const auto spliced = SpliceMetadataSegments(plain, found);
    ASSERT_TRUE(spliced.has_value());
    EXPECT_EQ(MetadataSegmentsOf(*spliced), expected);
    EXPECT_EQ((*spliced)[2], 0xFF);
    EXPECT_EQ((*spliced)[3], 0xE0);  // JFIF stays first
    // Everything from the scan on is unchanged.
    EXPECT_TRUE(std::equal(plain.end() - 200, plain.end(), spliced->end() - 200));
    EXPECT_EQ(spliced->size(),
              plain.size() - stale.size() + expected[0].size() + expected[1].size());
}

TEST(JpegSegments, RejectsOrCutsShortMalformedHeaders) {
    JpegMetadataSegments found;
    const std::vector<uint8_t> png = {0x89, 'P', 'N', 'G'};
    EXPECT_EQ(FindMetadataSegments(png, found), JpegScan::NotJpeg);
    auto source = MakeTestPicture();
    // Cut inside the EXIF segment: it is not taken, and the scan was not reached.
    auto cut = std::vector<uint8_t>(source.begin(), source.begin() + 30);
    EXPECT_EQ(FindMetadataSegments(cut, found), JpegScan::Truncated);
    EXPECT_TRUE(found.exif.empty());
    EXPECT_FALSE(SpliceMetadataSegments(cut, found).has_value());
    // A length below 2 stops the walk.
    std::vector<uint8_t> bad = {0xFF, 0xD8, 0xFF, 0xE1, 0x00, 0x01, 0xFF, 0xDA};
    EXPECT_EQ(FindMetadataSegments(bad, found), JpegScan::Truncated);

    // Read from a file, the header is found however far the scan lies.
    TempFolder temp;
    std::vector<uint8_t> big(60000, 0x20);
    const auto padded = InsertAfterSoi(source, {JpegSegment(0xE3, big), JpegSegment(0xE4, big)});
    WriteFileBytes(temp.file("p.jpg"), padded);
    const auto read = ReadMetadataSegments(temp.file("p.jpg"));
    ASSERT_TRUE(read.has_value());
    EXPECT_EQ(read->exif, MetadataSegmentsOf(source)[0]);
    EXPECT_FALSE(ReadMetadataSegments(temp.file("missing.jpg")).has_value());
}

// Whether a JPEG's data stop early is told from its header and tail, also when a camera
// appended a second picture or a movie of its own after the end marker.
TEST(JpegSegments, TellsAJpegCutShortFromOneWithDataAfterIt) {
    TestPictureOptions busy;
    busy.width = 400;
    busy.height = 300;
    busy.pattern = true;
    const std::vector<uint8_t> whole = MakeTestPicture(busy);
    ASSERT_GT(whole.size(), 2000u);
    auto cut = [&](size_t keep) {
        return std::vector<uint8_t>(whole.begin(), whole.begin() + long(keep));
    };
    auto then = [&](std::vector<uint8_t> bytes, const std::vector<uint8_t>& after) {
        bytes.insert(bytes.end(), after.begin(), after.end());
        return bytes;
    };
    const std::vector<uint8_t> movie(200 * 1024, 0x5A);
    const struct {
        const char* what;
        std::vector<uint8_t> bytes;
        bool endsEarly;
    } cases[] = {
        {"whole", whole, false},
        {"cut in its data", cut(whole.size() - 700), true},
        {"cut before its end marker", cut(whole.size() - 2), true},
        {"cut in its header", cut(20), true},
        {"a movie after it", then(whole, movie), false},
        {"a second picture after it", then(whole, then(movie, whole)), false},
        {"no JPEG", {'n', 'o'}, true},
        {"empty", {}, true},
    };
    TempFolder temp;
    for (const auto& c : cases) {
        WriteFileBytes(temp.file("p.jpg"), c.bytes);
        EXPECT_EQ(JpegFileEndsEarly(temp.file("p.jpg")), c.endsEarly) << c.what;
    }
    EXPECT_FALSE(JpegFileEndsEarly(temp.file("missing.jpg")));
}

}  // namespace
}  // namespace corvelle
