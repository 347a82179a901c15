// The process's byte budget for decoded pictures: what it lets in, what it refuses and why,
// and that every byte comes back.
#include <gtest/gtest.h>

#include "core/decoding/budgeted_decoding.h"
#include "core/decoding/decode_budget.h"
#include "support/exif_builder.h"
#include "support/temp_folder.h"

namespace corvelle {
namespace {

using Bytes = std::vector<uint8_t>;

TEST(DecodeBudgetTest, ClaimsFitBesideWhatIsHeldAndComeBack) {
    DecodeBudget budget(100);
    auto first = budget.claim(60);
    ASSERT_TRUE(first);
    EXPECT_FALSE(budget.claim(41)) << "60 + 41 is past 100";
    auto second = budget.claim(40);
    ASSERT_TRUE(second);
    EXPECT_EQ(budget.available(), 0u);
    first->shrinkTo(10);  // the working copies are gone, the picture stays
    EXPECT_EQ(budget.available(), 50u);
    second.reset();
    EXPECT_EQ(budget.held(), 10u);
    // A picture already decoded is held even past the total; nothing more fits then.
    auto charged = budget.charge(200);
    EXPECT_EQ(budget.available(), 0u);
    EXPECT_FALSE(budget.claim(1));
    charged.reset();
    first.reset();
    EXPECT_EQ(budget.held(), 0u);
}

TEST(DecodeBudgetTest, JpegSizeFromItsFrameHeader) {
    testing::TestJpegOptions gray;
    gray.components = 1;
    Bytes progressive = {0xFF, 0xD8, 0xFF, 0xE0, 0, 4,    0,    0,  // an APP0 passed over
                         0xFF, 0xC2, 0,    11,   8, 0xFF, 0xFF, 0xFF, 0xFF, 3, 1, 0x11, 0};
    struct Case {
        const char* name;
        Bytes bytes;
        std::optional<uint64_t> width, height, pictureBytes;
    };
    const Case cases[] = {
        {"colour", testing::EncodeTestJpeg(24, 10), 24, 10, 40 + 72 * 10},
        {"gray", testing::EncodeTestJpeg(24, 10, gray), 24, 10, 40 + 1024 + 24 * 10},
        {"progressive, after other segments", progressive, 65535, 65535,
         40 + uint64_t(196608) * 65535},
        {"cut before its frame", Bytes(progressive.begin(), progressive.begin() + 10), {}, {}, {}},
        {"no JPEG", Bytes{'I', 'I', 42, 0}, {}, {}, {}},
    };
    for (const Case& c : cases) {
        const MemoryByteSource source(c.bytes);
        const auto size = JpegPictureSize(source);
        ASSERT_EQ(size.has_value(), c.width.has_value()) << c.name;
        if (!size) continue;
        EXPECT_EQ(size->width, *c.width) << c.name;
        EXPECT_EQ(size->height, *c.height) << c.name;
        EXPECT_EQ(size->pictureBytes, *c.pictureBytes) << c.name;
    }
}

TEST(DecodeBudgetTest, PictureOverTheBudgetIsNotDecodedAndSaysWhy) {
    testing::TempFolder folder;
    const std::string path = folder.file("photo.jpg");
    testing::WriteFileBytes(path, testing::EncodeTestJpeg(64, 48));
    const uint64_t pictureBytes = 40 + 192 * 48;

    DecodeBudget tight(pictureBytes - 1);
    const BudgetedPicture refused = DecodePictureWithinBudget(path, tight);
    EXPECT_FALSE(refused.picture);
    EXPECT_EQ(refused.problem, "too large (64 x 48, 1 MB)");
    EXPECT_EQ(tight.held(), 0u);

    DecodeBudget roomy(pictureBytes * 3 / 2);
    BudgetedPicture decoded = DecodePictureWithinBudget(path, roomy);
    ASSERT_TRUE(decoded.picture);
    EXPECT_TRUE(decoded.problem.empty());
    EXPECT_EQ(roomy.held(), pictureBytes) << "the picture's bytes are held while it lives";
    EXPECT_FALSE(DecodePictureWithinBudget(path, roomy, BudgetUse::kAhead).picture)
        << "a second does not fit beside it when decoded ahead";
    EXPECT_TRUE(DecodePictureWithinBudget(path, roomy, BudgetUse::kShown).picture)
        << "the picture to be shown takes the place of what is held";
    decoded = {};
    EXPECT_EQ(roomy.held(), 0u);
    EXPECT_EQ(TooLargeReason(18000, 18000, uint64_t(18000) * 18000 * 3),
              "too large (18000 x 18000, 927 MB)");
}

}  // namespace
}  // namespace corvelle
