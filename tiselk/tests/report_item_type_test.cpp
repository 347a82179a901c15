// Report rows that read numbers take each item in the entry's own type.
#include <gtest/gtest.h>

#include "exif_test_helpers.h"

namespace corvelle {
namespace {

using testing::TiffDirectory;

std::vector<std::string> ExifLines(const TiffDirectory& exif, testing::ByteOrder order) {
    std::vector<std::string> lines = testing::ParseWithExif(exif, order).reportLines;
    lines.erase(lines.begin());  // "ExifOffset is Exist"
    return lines;
}

TEST(ReportItemTypeTest, SubjectLocationStoredAsShortInBothByteOrders) {
    for (auto order : {testing::kLittle, testing::kBig}) {
        TiffDirectory exif;
        exif.shorts(0x9214, {2015, 1223, 1795, 1077});
        EXPECT_EQ(ExifLines(exif, order),
                  std::vector<std::string>{"SubjectLocation = 2015,1223,1795,1077\r\n"});
        // Two items inline: the rest read 0 instead of the bytes after the entry.
        TiffDirectory two;
        two.shorts(0x9214, {40, 30});
        EXPECT_EQ(ExifLines(two, order), std::vector<std::string>{"SubjectLocation = 40,30,0,0\r\n"});
    }
}

TEST(ReportItemTypeTest, ExposureIndexAsRationalShortOrSignedType) {
    TiffDirectory rational;
    rational.rationals(0xA215, {{100, 1}});
    EXPECT_EQ(ExifLines(rational, testing::kBig),
              std::vector<std::string>{"ExposureIndex = 100\r\n"});
    TiffDirectory shortIndex;
    shortIndex.shorts(0xA215, {200});
    EXPECT_EQ(ExifLines(shortIndex, testing::kLittle),
              std::vector<std::string>{"ExposureIndex = 200\r\n"});
    TiffDirectory signedLocation;
    signedLocation.sshorts(0x9214, {-5, 7});
    EXPECT_EQ(ExifLines(signedLocation, testing::kBig),
              std::vector<std::string>{"SubjectLocation = -5,7,0,0\r\n"});
    TiffDirectory bytes;
    bytes.bytes(0x9214, testing::kByte, {1, 2, 3, 4, 5});
    EXPECT_EQ(ExifLines(bytes, testing::kLittle),
              std::vector<std::string>{"SubjectLocation = 1,2,3,4\r\n"});
}

}  // namespace
}  // namespace corvelle
