#include <gtest/gtest.h>

#include "core/mul_div.h"
#include "core/text.h"

namespace corvelle {
namespace {

TEST(MulDiv, RoundsHalvesAwayFromZero) {
    EXPECT_EQ(MulDiv(5, 1, 2), 3);
    EXPECT_EQ(MulDiv(-5, 1, 2), -3);
    EXPECT_EQ(MulDiv(5, -1, 2), -3);
    EXPECT_EQ(MulDiv(7, 1, 3), 2);
    EXPECT_EQ(MulDiv(4, 1, 3), 1);
    EXPECT_EQ(MulDiv(3000, 2000, 3000), 2000);
}

TEST(MulDiv, KeepsTheFullProduct) {
    // 2e9 * 3 overflows 32 bits; the quotient does not.
    EXPECT_EQ(MulDiv(2000000000, 3, 4), 1500000000);
}

TEST(MulDiv, ZeroDivisorAndOverflowGiveMinusOne) {
    EXPECT_EQ(MulDiv(10, 10, 0), -1);
    EXPECT_EQ(MulDiv(2000000000, 2000000000, 1), -1);
}

TEST(FileText, ValidUtf8IsKeptAndOtherBytesReadAsLatin1) {
    EXPECT_EQ(FileTextToUtf8("NIKON D70"), "NIKON D70");
    EXPECT_EQ(FileTextToUtf8("\xEC\x82\xAC\xEC\xA7\x84"), "\xEC\x82\xAC\xEC\xA7\x84");
    EXPECT_EQ(FileTextToUtf8("caf\xE9"), "caf\xC3\xA9");
    // A sequence cut short, an overlong form and a surrogate are not UTF-8.
    EXPECT_FALSE(IsValidUtf8("\xEC\x82"));
    EXPECT_FALSE(IsValidUtf8("\xC0\xAF"));
    EXPECT_FALSE(IsValidUtf8("\xED\xA0\x80"));
}

TEST(FilePattern, MatchesLikeTheFolderListings) {
    EXPECT_TRUE(MatchesFilePattern("DSC0001.JPG", "*.jpg"));
    EXPECT_TRUE(MatchesFilePattern("a.tif", "*.tif?"));
    EXPECT_TRUE(MatchesFilePattern("a.TIFF", "*.tif?"));
    EXPECT_FALSE(MatchesFilePattern("a.tiffs", "*.tif?"));
    EXPECT_FALSE(MatchesFilePattern("x.jpeg", "*.jpg"));
    EXPECT_FALSE(MatchesFilePattern("x.jpg.bak", "*.jpg"));
    EXPECT_TRUE(MatchesFilePattern("x.jpg.jpg", "*.jpg"));
    EXPECT_TRUE(MatchesFilePattern(".jpg", "*.jpg"));
}

}  // namespace
}  // namespace corvelle
