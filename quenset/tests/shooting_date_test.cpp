#include <gtest/gtest.h>

#include "core/byte_source.h"
#include "core/date_lookup.h"
#include "core/file_naming.h"
#include "test_pictures.h"

namespace corvelle {
namespace {

using namespace corvelle::testing;

std::string DateOf(const std::vector<uint8_t>& bytes, bool isJpeg) {
    return ShootingDateText(MemoryByteSource(bytes), isJpeg);
}

std::vector<uint8_t> TiffWith(const TiffDirectory& ifd0, testing::ByteOrder order) {
    return BuildTiff(ifd0, order);
}

TEST(ParseShootingDate, NumbersSplitAtColonsAndSpaces) {
    FixedTimeZone zone("KST-9");
    EXPECT_EQ(ParseShootingDate("2004:03:15 14:25:30"), LocalTime(2004, 3, 15, 14, 25, 30));
    // Missing fields read as 0; runs of breaks count as one; junk after digits is dropped.
    EXPECT_EQ(ParseShootingDate("2004:03:15"), LocalTime(2004, 3, 15, 0, 0, 0));
    EXPECT_EQ(ParseShootingDate("  2004::03 15x 9"), LocalTime(2004, 3, 15, 9, 0, 0));
    // Fields beyond their range carry over as mktime does.
    EXPECT_EQ(ParseShootingDate("2004:13:01 00:00:00"), LocalTime(2005, 1, 1, 0, 0, 0));
    EXPECT_EQ(ParseShootingDate("0000:00:00 00:00:00"), std::nullopt);
    EXPECT_EQ(ParseShootingDate("    :  :     :  :  "), std::nullopt);
    EXPECT_EQ(ParseShootingDate("1969:12:31 12:00:00"), std::nullopt);
    // The first second of 1970 (09:00 in this zone) is a moment; the one before is not.
    EXPECT_EQ(ParseShootingDate("1970:01:01 09:00:00"), std::time_t(0));
    EXPECT_EQ(ParseShootingDate("1970:01:01 08:59:59"), std::nullopt);
}

TEST(DateLookup, PrefersOriginalThenDigitizedThenDateTime) {
    EXPECT_EQ(DateOf(JpegWithDates("2004:03:15 14:25:30", "2009:09:09 09:09:09"), true),
              "2004:03:15 14:25:30");
    EXPECT_EQ(DateOf(JpegWithDates("", "2009:09:09 09:09:09"), true), "2009:09:09 09:09:09");

    TiffDirectory exif;
    exif.ascii(0x9004, "2001:01:01 01:01:01");
    TiffDirectory ifd0;
    ifd0.ascii(0x0132, "2009:09:09 09:09:09").subDirectory(0x8769, exif);
    EXPECT_EQ(DateOf(TiffWith(ifd0, kLittle), false), "2001:01:01 01:01:01");
}

TEST(DateLookup, ByteOrderAndTiffStructuredFiles) {
    TiffDirectory exif;
    exif.ascii(0x9003, "2006:10:22 15:44:29");
    TiffDirectory ifd0;
    ifd0.ascii(0x010F, "NIKON").subDirectory(0x8769, exif);
    EXPECT_EQ(DateOf(TiffWith(ifd0, kBig), false), "2006:10:22 15:44:29");
    EXPECT_EQ(DateOf(TiffWith(ifd0, kLittle), false), "2006:10:22 15:44:29");
    EXPECT_EQ(DateOf(JpegWithDates("2006:10:22 15:44:29", "", kBig), true), "2006:10:22 15:44:29");
    // Read as JPEG, a TIFF file has no start marker; read as TIFF, a JPEG has no header.
    EXPECT_EQ(DateOf(TiffWith(ifd0, kBig), true), "");
    EXPECT_EQ(DateOf(JpegWithDates("2006:10:22 15:44:29", ""), false), "");

    std::vector<uint8_t> wrongMagic = TiffWith(ifd0, kLittle);
    wrongMagic[2] = 43;
    EXPECT_EQ(DateOf(wrongMagic, false), "");
}

TEST(DateLookup, JpegSegments) {
    const std::vector<uint8_t> tiff =
        BuildTiff(TiffDirectory().ascii(0x0132, "2004:03:15 14:25:30"), kLittle);
    const std::vector<uint8_t> jfif =
        JpegSegment(0xE0, {'J', 'F', 'I', 'F', 0, 1, 1, 0, 0, 1, 0, 1, 0, 0});
    const std::vector<uint8_t> picture = EncodeTestJpeg(8, 8);
    EXPECT_EQ(DateOf(InsertAfterSoi(picture, {jfif, ExifSegment(tiff)}), true),
              "2004:03:15 14:25:30");
    // Only the first APP1 counts, and it must be EXIF.
    const std::vector<uint8_t> xmp = JpegSegment(0xE1, {'h', 't', 't', 'p', ':', '/', '/', 0});
    EXPECT_EQ(DateOf(InsertAfterSoi(picture, {xmp, ExifSegment(tiff)}), true), "");
    // A segment length below 2 would step backwards for ever.
    std::vector<uint8_t> looping = {0xFF, 0xD8, 0xFF, 0xE0, 0x00, 0x00};
    EXPECT_EQ(DateOf(looping, true), "");
    // An EXIF segment cut by the end of the file still yields what lies inside it.
    std::vector<uint8_t> cut = InsertAfterSoi(picture, {ExifSegment(tiff)});
    cut.resize(2 + 10 + tiff.size());
    EXPECT_EQ(DateOf(cut, true), "2004:03:15 14:25:30");
    cut.resize(cut.size() - 1);
    EXPECT_EQ(DateOf(cut, true), "");
}

TEST(DateLookup, HostileOffsetsAndTexts) {
    // An EXIF pointer back to IFD0 ends the walk.
    TiffDirectory looped;
    looped.raw(0x010F, kAscii, 4, 0).raw(0x8769, kLong, 1, 8);
    EXPECT_EQ(DateOf(TiffWith(looped, kLittle), false), "");
    // Two directories pointing at each other, the date in the second.
    std::vector<uint8_t> bytes = TiffWith(TiffDirectory().raw(0x8769, kLong, 1, 26), kLittle);
    // Second directory at 26: one EXIF pointer back to 8.
    bytes.resize(26);
    const uint8_t second[] = {1, 0, 0x69, 0x87, 4, 0, 1, 0, 0, 0, 8, 0, 0, 0};
    bytes.insert(bytes.end(), std::begin(second), std::end(second));
    EXPECT_EQ(DateOf(bytes, false), "");

    // A date whose offset lies outside the data, or whose text has no closing zero.
    EXPECT_EQ(DateOf(TiffWith(TiffDirectory().raw(0x0132, kAscii, 20, 0xFFFFFFF0), kLittle), false),
              "");
    std::vector<uint8_t> open =
        TiffWith(TiffDirectory().asciiExact(0x0132, "2004:03:15 14:25:30X"), kLittle);
    while (!open.empty() && open.back() != 'X') open.pop_back();
    EXPECT_EQ(DateOf(open, false), "");
    // A text that runs on for hundreds of bytes still holds its date when a zero closes it
    // inside the data (its start is kept); without that zero it is none.
    const std::string padded = "2004:03:15 14:25:30" + std::string(300, ' ');
    const std::string kept =
        DateOf(TiffWith(TiffDirectory().ascii(0x0132, padded), kLittle), false);
    EXPECT_EQ(kept, padded.substr(0, 256));
    EXPECT_EQ(ParseShootingDate(kept), ParseShootingDate("2004:03:15 14:25:30"));
    std::vector<uint8_t> unclosed = TiffWith(
        TiffDirectory().asciiExact(0x0132, "2004:03:15 14:25:30" + std::string(300, 'X')), kLittle);
    while (!unclosed.empty() && unclosed.back() != 'X') unclosed.pop_back();
    EXPECT_EQ(DateOf(unclosed, false), "");
    // An entry count running past the end keeps the entries that are there.
    std::vector<uint8_t> counted =
        TiffWith(TiffDirectory().ascii(0x0132, "2004:03:15 14:25:30"), kLittle);
    counted[8] = 0xFF;
    counted[9] = 0xFF;
    EXPECT_EQ(DateOf(counted, false), "2004:03:15 14:25:30");
}

TEST(DateLookup, ForeignFileIsSearchedInItsFirstBytesOnly) {
    // Not "II"/"MM": read little-endian from the first 10240 bytes.
    std::vector<uint8_t> bytes =
        TiffWith(TiffDirectory().ascii(0x0132, "2004:03:15 14:25:30"), kLittle);
    bytes[0] = 'X';
    bytes[1] = 'X';
    EXPECT_EQ(DateOf(bytes, false), "2004:03:15 14:25:30");
    std::vector<uint8_t> far = {'X', 'X', 42, 0, 8, 0, 0, 0, 1, 0, 0x32, 0x01, 2, 0, 20, 0, 0, 0};
    const uint32_t textAt = 10240 - 10;
    for (int shift = 0; shift < 32; shift += 8) far.push_back(uint8_t(textAt >> shift));
    far.resize(textAt, 0);
    const std::string text = "2004:03:15 14:25:30";
    far.insert(far.end(), text.begin(), text.end() + 1);
    EXPECT_EQ(DateOf(far, false), "");
    far[0] = 'I';
    far[1] = 'I';
    EXPECT_EQ(DateOf(far, false), text);
}

}  // namespace
}  // namespace corvelle
