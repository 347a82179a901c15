// The GPS directory: its lines after all the others, and the position it gives.
#include <gtest/gtest.h>

#include "core/exif/gps_report.h"
#include "exif_test_helpers.h"

namespace corvelle {
namespace {

using testing::kBig;
using testing::kLittle;
using testing::TiffDirectory;
using Lines = std::vector<std::string>;

// Seoul City Hall, 38 m above sea level, as phones write it.
TiffDirectory SeoulGps() {
    TiffDirectory gps;
    gps.bytes(0x0000, testing::kByte, {2, 2, 0, 0})
        .ascii(0x0001, "N")
        .rationals(0x0002, {{37, 1}, {33, 1}, {5960, 100}})
        .ascii(0x0003, "E")
        .rationals(0x0004, {{126, 1}, {58, 1}, {4090, 100}})
        .bytes(0x0005, testing::kByte, {0})
        .rationals(0x0006, {{38, 1}})
        .rationals(0x0007, {{1, 1}, {0, 1}, {0, 1}})
        .rationals(0x0011, {{21125, 100}})
        .bytes(0x001B, testing::kUndefined,
               {'A', 'S', 'C', 'I', 'I', 0, 0, 0, 'f', 'u', 's', 'e', 'd'})
        .ascii(0x001D, "2024:05:01")
        .shorts(0x001E, {0})
        .shorts(0x0030, {7});
    return gps;
}

ExifSummary ParseWithGps(const TiffDirectory& gps, testing::ByteOrder order = kLittle) {
    TiffDirectory ifd0;
    ifd0.ascii(0x0110, "Phone").subDirectory(0x8825, gps);
    return testing::ParseTiff(ifd0, order);
}

TEST(GpsReportTest, ReadableLinesForEveryKindOfValue) {
    for (auto order : {kLittle, kBig}) {
        const Lines lines = ParseWithGps(SeoulGps(), order).reportLines;
        ASSERT_FALSE(lines.empty());
        const Lines gpsLines(lines.begin() + 1, lines.end());
        const Lines expected = {
            "GPSVersionID = 2.2.0.0\r\n",
            "GPSLatitudeRef = N\r\n",
            "GPSLatitude = 37\xC2\xB0 33' 59.60\" N\r\n",
            "GPSLongitudeRef = E\r\n",
            "GPSLongitude = 126\xC2\xB0 58' 40.90\" E\r\n",
            "GPSAltitudeRef = above sea level\r\n",
            "GPSAltitude = 38.0 m\r\n",
            "GPSTimeStamp = 01:00:00 UTC\r\n",
            "GPSImgDirection = 211.25\r\n",
            "GPSProcessingMethod = fused\r\n",
            "GPSDateStamp = 2024:05:01\r\n",
            "GPSDifferential = 0\r\n",
            "GPS(0x0030) = 7\r\n",
        };
        EXPECT_EQ(gpsLines, expected);
        EXPECT_EQ(lines[0].rfind("GPSInfo = ", 0), 0u) << "the pointer keeps its own line";
    }
}

TEST(GpsReportTest, ValuesThatCannotBeReadKeepTheUnknownTagValue) {
    TiffDirectory gps;
    gps.rationals(0x0002, {{37, 0}, {33, 1}, {0, 1}})  // nothing to divide by
        .shorts(0x0005, {1})                           // not a BYTE
        .rationals(0x0007, {{1, 1}})                   // a time needs three numbers
        .shorts(0x0001, {78});
    const Lines lines = ParseWithGps(gps).reportLines;
    const Lines expected = {
        lines.at(0),
        "GPSLatitude = 37, 0\r\n",
        "GPSAltitudeRef = 1\r\n",
        "GPSTimeStamp = 1, 1\r\n",
        "GPSLatitudeRef = 78\r\n",
    };
    EXPECT_EQ(lines, expected);
    EXPECT_FALSE(ParseWithGps(gps).gps);
}

TEST(GpsReportTest, PositionInDecimalDegrees) {
    struct Case {
        const char* latitudeRef;
        const char* longitudeRef;
        std::optional<uint8_t> altitudeRef;
        bool withAltitude;
        double latitude, longitude;
        std::optional<double> altitude;
    };
    const Case cases[] = {
        {"N", "E", 0, true, 37.566556, 126.978028, 38.0},
        {"S", "W", 1, true, -37.566556, -126.978028, -38.0},
        {"N", "W", std::nullopt, true, 37.566556, -126.978028, 38.0},
        {"N", "E", 0, false, 37.566556, 126.978028, std::nullopt},
    };
    for (const Case& c : cases) {
        TiffDirectory gps;
        gps.ascii(0x0001, c.latitudeRef)
            .rationals(0x0002, {{37, 1}, {33, 1}, {5960, 100}})
            .ascii(0x0003, c.longitudeRef)
            .rationals(0x0004, {{126, 1}, {5868167, 100000}});  // minutes with a fraction
        if (c.altitudeRef) gps.bytes(0x0005, testing::kByte, {*c.altitudeRef});
        if (c.withAltitude) gps.rationals(0x0006, {{380, 10}});
        const auto position = ParseWithGps(gps).gps;
        ASSERT_TRUE(position) << c.latitudeRef << c.longitudeRef;
        EXPECT_EQ(FormatDegrees(position->latitude), FormatDegrees(c.latitude));
        EXPECT_EQ(FormatDegrees(position->longitude), FormatDegrees(c.longitude));
        EXPECT_EQ(position->altitude, c.altitude);
    }
}

TEST(GpsReportTest, NoUsablePosition) {
    TiffDirectory latitudeOnly;
    latitudeOnly.ascii(0x0001, "N").rationals(0x0002, {{37, 1}, {0, 1}, {0, 1}});
    TiffDirectory offTheGlobe;
    offTheGlobe.rationals(0x0002, {{91, 1}}).rationals(0x0004, {{10, 1}});
    TiffDirectory empty;
    for (const TiffDirectory* gps : {&latitudeOnly, &offTheGlobe, &empty})
        EXPECT_FALSE(ParseWithGps(*gps).gps);
    EXPECT_FALSE(testing::ParseTiff(TiffDirectory{}.ascii(0x0110, "Camera")).gps);
}

TEST(GpsReportTest, WalkedLastWithOrWithoutIfd1AndBoundedByTheBlock) {
    TiffDirectory interop;
    interop.asciiExact(0x0001, "R98");
    TiffDirectory exif;
    exif.shorts(0xA001, {1}).subDirectory(0xA005, interop);
    TiffDirectory ifd1;
    ifd1.shorts(0x0103, {6});
    TiffDirectory ifd0;
    ifd0.subDirectory(0x8825, SeoulGps()).subDirectory(0x8769, exif).next(ifd1);
    const Lines lines = testing::ParseTiff(ifd0).reportLines;
    ASSERT_EQ(lines.size(), 6u + 13u);
    EXPECT_EQ(lines[5], "ExifR98 Header String? = R98\r\n");
    for (size_t i = 6; i < lines.size(); ++i) EXPECT_EQ(lines[i].rfind("GPS", 0), 0u) << lines[i];

    // A GPS pointer past the block's end: no GPS line and nothing else lost.
    TiffDirectory lying;
    lying.ascii(0x0110, "Phone").raw(0x8825, testing::kLong, 1, 0x7FFFFFF0);
    const ExifSummary s = testing::ParseTiff(lying, kBig);
    EXPECT_EQ(s.model, "Phone");
    EXPECT_EQ(s.reportLines, Lines{"GPSInfo = 2147483632\r\n"});
    EXPECT_FALSE(s.gps);
}

TEST(GpsReportTest, MapAddressCentresOnThePosition) {
    EXPECT_EQ(MapUrl({37.5665556, 126.9780278, std::nullopt}),
              "https://www.openstreetmap.org/?mlat=37.566556&mlon=126.978028"
              "#map=16/37.566556/126.978028");
    EXPECT_EQ(FormatDegrees(-0.0000001), "0.000000");
    EXPECT_EQ(FormatDegrees(-3.7247527), "-3.724753");
}

}  // namespace
}  // namespace corvelle
