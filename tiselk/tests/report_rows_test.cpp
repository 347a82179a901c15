// The tag report's lines for the file's own directories, built from small TIFF structures.
#include <gtest/gtest.h>

#include "exif_test_helpers.h"

namespace corvelle {
namespace {

using testing::kBig;
using testing::kLittle;
using testing::ReportOf;
using testing::TiffDirectory;
using Lines = std::vector<std::string>;

std::string OnlyLine(const TiffDirectory& ifd0, testing::ByteOrder order = kLittle) {
    const Lines lines = ReportOf(ifd0, order);
    return lines.size() == 1 ? lines[0] : "(" + std::to_string(lines.size()) + " lines)";
}

TEST(ReportRowsTest, ValueTablesAndTheirWordForOtherValues) {
    struct Case {
        uint16_t tag;
        uint16_t value;
        const char* line;
    };
    const Case cases[] = {
        {0x0112, 6, "Orientation = upper right\r\n"},
        {0x0112, 2, "Orientation = unknown\r\n"},
        {0x0128, 2, "ResolutionUnit = Inch\r\n"},
        {0x0128, 3, "ResolutionUnit = cm\r\n"},
        {0x011C, 1, "PlanarConfiguration = Y/Cb/Cr\r\n"},
        {0x011C, 2, "PlanarConfiguration = plane\r\n"},
        {0x0103, 6, "Compression = JPEG\r\n"},
        {0x0103, 1, "Compression = no\r\n"},
        {0x0106, 1, "PhotometricInterpretation = monochome\r\n"},
        {0x0106, 4, "PhotometricInterpretation = unknown\r\n"},
        {0x0213, 2, "YCbCrPositioning = datum point\r\n"},
        {0x8822, 8, "ExposureProgram = landscape mode\r\n"},
        {0x9208, 10, "LightSource = flash\r\n"},
        {0x9208, 4, "LightSource = unknown\r\n"},
        {0xA210, 3, "FocalPlaneResolutionUnit = centi-meter\r\n"},
        {0xA217, 2, "Sensing Method = one chip color area sensor\r\n"},
        {0x0003, 12, "Image Mode = double SVGA Fine\r\n"},
        {0x0003, 20, "Image Mode = Unknown\r\n"},
        {0x0004, 2, "Image Tone = Mono\r\n"},
        {0x0004, 1, "Image Tone = Color\r\n"},
        {0x0005, 9, "Image adjustment = unknown\r\n"},
        {0x0007, 3, "White Balence = Incandscent\r\n"},
        {0x0007, 2, "White Balence = Sunny\r\n"},
        {0x000B, 1, "Lens Converter = Installed\r\n"},
        {0x000B, 0, "Lens Converter = No\r\n"},
    };
    for (const Case& c : cases) {
        TiffDirectory ifd0;
        ifd0.shorts(c.tag, {c.value});
        EXPECT_EQ(OnlyLine(ifd0), c.line) << std::hex << c.tag << " " << c.value;
        EXPECT_EQ(OnlyLine(ifd0, kBig), c.line) << std::hex << c.tag << " big-endian";
    }
}

TEST(ReportRowsTest, RationalRows) {
    TiffDirectory ifd0;
    ifd0.rationals(0x011A, {{72, 1}})
        .rationals(0x011B, {{300, 4}})
        .rationals(0xA20E, {{0, 0}})  // nothing to divide by: no line
        .rationals(0x9102, {{32, 10}})
        .srationals(0x9203, {{-75, 10}})
        .rationals(0x9205, {{30, 10}})
        .rationals(0x9206, {{5, 100}})
        .rationals(0x9202, {{5, 1}})
        .rationals(0x0008, {{25, 10}})
        .rationals(0x0008, {{1, 0}})
        .rationals(0x0008, {{0, 0}})
        .rationals(0x000A, {{3, 2}})
        .rationals(0x000A, {{0, 0}})
        .rationals(0x000A, {{3, 0}});  // would divide by zero: no line
    const Lines expected = {
        "XResolution = 72\r\n",
        "YResolution = 75\r\n",
        "CompressedBitsPerPixel = 32 : 10\r\n",
        "BrightnessValue = -7.5 EV\r\n",
        "MaxLensApertureValue = F3.0\r\n",
        "Subject Distance = 0.05 m\r\n",
        "Aperture Value = F5.6\r\n",
        "Focus Distance = 2.5 m\r\n",
        "Focus Distance = Infinite\r\n",
        "Focus Distance = Auto Focus\r\n",
        "Digital Zoom = x1.5\r\n",
        "Digital Zoom = No\r\n",
    };
    EXPECT_EQ(ReportOf(ifd0), expected);
    EXPECT_EQ(ReportOf(ifd0, kBig), expected);
}

TEST(ReportRowsTest, UnknownTagsByType) {
    TiffDirectory ifd0;
    ifd0.shorts(0xC4A5, {7})
        .longs(0xC4A6, {70000})
        .bytes(0xC4A7, testing::kByte, {9})
        .asciiExact(0xC4A8, "ab\0")
        .ascii(0xC4A9, "a longer text")
        .rationals(0xC4AA, {{1, 3}})
        .srationals(0xC4AB, {{-1, 3}})
        .raw(0xC4AC, testing::kSLong, 1, 0xFFFFFFFE)
        .raw(0xC4AD, 13, 2, 0x12345678);
    const Lines expected = {
        "Unknown Tag(0xc4a5) = 7\r\n",
        "Unknown Tag(0xc4a6) = 70000\r\n",
        "Unknown Tag(0xc4a7) = 9\r\n",
        "Unknown Tag(0xc4a8) = \"ab\"\r\n",
        "Unknown Tag(0xc4a9) = \"a longer text\"\r\n",
        "Unknown Tag(0xc4aa) = 1, 3\r\n",
        "Unknown Tag(0xc4ab) = -1, 3\r\n",
        "Unknown Tag(0xc4ac) type(9) Count(1) Data(fffffffe)\r\n",
        "Unknown Tag(0xc4ad) type(13) Count(2) Data(12345678)\r\n",
    };
    EXPECT_EQ(ReportOf(ifd0), expected);
}

// Today's tags read like the unknown ones, by their names; the tags the report names already
// keep their own lines.
TEST(ReportRowsTest, TodaysTagsByNameWithTheUnknownTagValue) {
    TiffDirectory exif;
    exif.shorts(0x8830, {2})
        .asciiExact(0x9011, "+09:00\0")
        .rationals(0xA20B, {{5, 1}})
        .shorts(0xA405, {29})
        .rationals(0xA432, {{83, 20}, {83, 20}, {11, 5}, {11, 5}})
        .ascii(0xA434, "iPhone 6 back camera 4.15mm f/2.2")
        .bytes(0xA462, testing::kUndefined, {1, 2, 3, 4, 5, 6, 7, 8})
        .shorts(0xA463, {1})
        .ascii(0xC614, "Phone");
    TiffDirectory ifd0;
    ifd0.shorts(0x4746, {4}).subDirectory(0x8769, exif);
    const Lines lines = ReportOf(ifd0);
    const Lines expected = {
        "Rating = 4\r\n",
        "ExifOffset is Exist\r\n",
        "SensitivityType = 2\r\n",
        "OffsetTimeOriginal = \"+09:00\"\r\n",
        "FlashEnergy = 5\r\n",
        "FocalLengthIn35mmFilm = 29\r\n",
        "LensSpecification = 83, 20\r\n",
        "LensModel = \"iPhone 6 back camera 4.15mm f/2.2\"\r\n",
        "SourceExposureTimesOfCompositeImage type(7) Count(8) Data(" + lines.at(8).substr(58, 8) +
            ")\r\n",
        "Unknown Tag(0xa463) = 1\r\n",
        "UniqueCameraModel = \"Phone\"\r\n",
    };
    EXPECT_EQ(lines, expected);
}

TEST(ReportRowsTest, ShortsAndLongsAreReadWhereTiffKeepsThem) {
    // Three SHORTs do not fit the value field: they lie at the offset, in either order.
    TiffDirectory three;
    three.shorts(0x0102, {8, 8, 8});
    EXPECT_EQ(OnlyLine(three), "BitsPerSample = 8, 8, 8\r\n");
    EXPECT_EQ(OnlyLine(three, kBig), "BitsPerSample = 8, 8, 8\r\n");
    // One SHORT lies in the value field; the numbers past the count read 0.
    TiffDirectory one;
    one.shorts(0x0102, {8});
    EXPECT_EQ(OnlyLine(one, kBig), "BitsPerSample = 8, 0, 0\r\n");
    EXPECT_EQ(OnlyLine(one), "BitsPerSample = 8, 0, 0\r\n");

    TiffDirectory longs;
    longs.rationals(0x013E, {{313, 1000}, {329, 1000}})
        .rationals(0x013F, {{64, 100}, {33, 100}, {21, 100}})
        .longs(0x828F, {77})
        .rationals(0x0214, {{0, 1}, {255, 1}, {128, 1}})
        .shorts(0x0206, {1, 2, 3, 4, 5, 6})
        .shorts(0x0212, {2, 1})
        .shorts(0x828D, {2, 2})
        .longs(0x0F00, {1, 0xABCDEF});
    const Lines expected = {
        "WhitePoint = 313/1000\r\n",     "PrimaryChromaticities = 64,100,33,100,21,100\r\n",
        "BatteryLevel = 77\r\n",         "ReferenceBlackWhite Y = 0/1, Cb = 255/1, Cr = 128/1\r\n",
        "tag 0x206 = 1,2,3,4,5,6\r\n",   "YCbCrSubSampling horz = 2, vert = 1\r\n",
        "CFARepeatPatternDim = 2/2\r\n", "tag 0x0F00 = 00000001 00abcdef \r\n",
    };
    EXPECT_EQ(ReportOf(longs), expected);
    EXPECT_EQ(ReportOf(longs, kBig), expected);
}

TEST(ReportRowsTest, TextsEndAtZeroAtCountAndAtTheValueField) {
    TiffDirectory ifd0;
    ifd0.ascii(0x010E, "A \"quoted\" description")
        .asciiExact(0x0131, "FW1")          // inline, no zero byte: three bytes only
        .asciiExact(0x013B, "Anne Artist")  // no zero byte: ends after count
        .asciiExact(0x8298, std::string("(c) 2004\0hidden", 15))
        .bytes(0x9286, testing::kUndefined, {'A', 'S', 'C', 'I', 'I', 0, 0, 0, 'h', 'i'})
        .asciiExact(0x9290, "12")
        .asciiExact(0x9291, "3456789");  // inline rule: the value field's bytes only
    const Lines lines = ReportOf(ifd0);
    ASSERT_EQ(lines.size(), 7u);
    EXPECT_EQ(lines[0], "ImageDescription = \"A \"quoted\" description\"\r\n");
    EXPECT_EQ(lines[1], "Firmware version = \"FW1\"\r\n");
    EXPECT_EQ(lines[2], "Artist = \"Anne Artist\"\r\n");
    EXPECT_EQ(lines[3], "Copyright = \"(c) 2004\"\r\n");
    EXPECT_EQ(lines[4], "UserComment = \"ASCII\"\r\n");
    EXPECT_EQ(lines[5], "SubSecTime = 12\r\n");
    // The inline rule reads the value field, here an offset: never the text behind it.
    EXPECT_EQ(lines[6].rfind("SubSecTimeOriginal = ", 0), 0u);
    EXPECT_EQ(lines[6].find("3456789"), std::string::npos);
    EXPECT_LE(lines[6].size(), std::string("SubSecTimeOriginal = \r\n").size() + 4);
}

TEST(ReportRowsTest, FileTextBecomesUtf8) {
    TiffDirectory ifd0;
    ifd0.ascii(0x010E, "caf\xE9")                    // Latin-1
        .ascii(0x013B, "\xED\x95\x9C\xEA\xB8\x80");  // already UTF-8
    const Lines lines = ReportOf(ifd0);
    ASSERT_EQ(lines.size(), 2u);
    EXPECT_EQ(lines[0], "ImageDescription = \"caf\xC3\xA9\"\r\n");
    EXPECT_EQ(lines[1], "Artist = \"\xED\x95\x9C\xEA\xB8\x80\"\r\n");
}

TEST(ReportRowsTest, CharacterBytesInFileOrderAndZeroBytesWriteNothing) {
    TiffDirectory ifd0;
    ifd0.bytes(0xA000, testing::kUndefined, {'0', '1', '0', '0'})
        .bytes(0x9101, testing::kUndefined, {1, 2, 3, 0})
        .bytes(0x9216, testing::kByte, {1, 0, 0, 0})
        .bytes(0x0002, testing::kUndefined, {'0', '1', '0', '0'})
        .ascii(0x0002, "0100")
        .asciiExact(0x0001, "R98");
    const Lines little = ReportOf(ifd0);
    const Lines expectedLittle = {
        "FlashPixVersion = 0100\r\n",     "Components Configuration = 00030201\r\n",
        "TIFF/EPStandardID = \x01\r\n",   "ExifR98 Version = 0100\r\n",
        "ExifR98 Version = \"0100\"\r\n", "ExifR98 Header String? = R98\r\n",
    };
    EXPECT_EQ(little, expectedLittle);
    // A big-endian ASCII entry's value is a number in the file's order: last byte first.
    const Lines big = ReportOf(ifd0, kBig);
    ASSERT_EQ(big.size(), 6u);
    EXPECT_EQ(big[0], "FlashPixVersion = 0100\r\n");
    EXPECT_EQ(big[5], "ExifR98 Header String? = 89\r\n");
}

TEST(ReportRowsTest, SummaryTagsGiveNoLineButMakeAndPointersDo) {
    TiffDirectory exif;
    exif.shorts(0x8827, {200}).rationals(0x829D, {{28, 10}}).shorts(0xA005, {0});
    TiffDirectory ifd0;
    ifd0.ascii(0x010F, "NIKON").ascii(0x0110, "E995").subDirectory(0x8769, exif);
    const Lines expected = {"Maker = \"NIKON\"\r\n", "ExifOffset is Exist\r\n",
                            "ExifInteroperabilityOffset = 0\r\n"};
    EXPECT_EQ(ReportOf(ifd0), expected);
}

TEST(ReportRowsTest, NoEntriesGiveNoLines) { EXPECT_TRUE(ReportOf(TiffDirectory{}).empty()); }

}  // namespace
}  // namespace corvelle
