#include <gtest/gtest.h>

#include <climits>

#include "core/trim_frame.h"

namespace corvelle {
namespace {

enum : int { k3x5 = 1, k4x6 = 2, k5x7 = 3, k8x10 = 4, k10x12 = 5, k10x14 = 6 };

TEST(TrimFrame, PrintSizeExamples) {
    // Landscape 4" x 6": full height, 2000 x 18180 / 12280 truncated wide, centred.
    EXPECT_EQ(GetTrimRect({0, 0, 3000, 2000}, k4x6), (DibRect{20, 0, 2980, 2000}));
    // The nearly square 10" x 12" is one column wider than high.
    const DibRect square = GetTrimRect({0, 0, 3000, 2000}, k10x12);
    EXPECT_EQ(square.width(), 2001);
    EXPECT_EQ(square.height(), 2000);
    // Portrait pictures stand the frame up.
    EXPECT_EQ(GetTrimRect({0, 0, 2000, 3000}, k4x6), (DibRect{0, 20, 2000, 2980}));
    // A picture as large as the aspect numbers keeps a frame of exactly that size.
    EXPECT_EQ(GetTrimRect({0, 0, 15240, 10740}, k3x5), (DibRect{0, 0, 15240, 10740}));
    EXPECT_EQ(GetTrimRect({0, 0, 16240, 11740}, k3x5), (DibRect{500, 500, 15740, 11240}));
    // Painting computes the frame on the picture's place in the window.
    EXPECT_EQ(GetTrimRect({100, 50, 400, 250}, k4x6), (DibRect{102, 50, 398, 250}));
    EXPECT_EQ(GetTrimRect({0, 0, 3000, 2000}, kTrimNone), DibRect{});
    EXPECT_EQ(GetTrimRect({0, 0, 3000, 2000}, 7), DibRect{});
}

TEST(TrimFrame, CursorFollowsTheFreeDirection) {
    EXPECT_EQ(TrimFrameFreedom(3000, 2000, k4x6), TrimFreedom::kHorizontal);
    EXPECT_EQ(TrimFrameFreedom(2000, 2000, k4x6), TrimFreedom::kHorizontal);
    EXPECT_EQ(TrimFrameFreedom(3000, 1000, k4x6), TrimFreedom::kHorizontal);
    EXPECT_EQ(TrimFrameFreedom(2000, 3000, k3x5), TrimFreedom::kVertical);
    EXPECT_EQ(TrimFrameFreedom(16240, 11740, k3x5), TrimFreedom::kBoth);
    EXPECT_EQ(TrimFrameFreedom(15240, 10740, k3x5), TrimFreedom::kNone);
    EXPECT_EQ(TrimFrameFreedom(3000, 2000, kTrimNone), TrimFreedom::kNone);
}

bool Inside(const DibRect& frame, int width, int height) {
    return frame.left >= 0 && frame.top >= 0 && frame.right <= width && frame.bottom <= height &&
           frame.width() > 0 && frame.height() > 0;
}

// Offsets that fitted one size must not push another size's frame out of the picture.
TEST(TrimFrame, OffsetsKeepEveryFrameInside) {
    const int shapes[][2] = {{3000, 2000}, {2000, 3000}, {1, 1},
                             {7, 5000},    {5000, 7},    {16240, 11740}};
    const TrimOffset offsets[] = {{0, 0}, {5000, -5000}, {-100000, 100000}, {INT_MAX, INT_MIN}};
    for (const auto& shape : shapes) {
        for (int size = k3x5; size <= k10x14; ++size) {
            for (TrimOffset offset : offsets) {
                const DibRect frame = TrimFrameInPicture(shape[0], shape[1], size, offset);
                EXPECT_TRUE(Inside(frame, shape[0], shape[1]))
                    << shape[0] << "x" << shape[1] << " size " << size;
                const TrimOffset moved =
                    MoveTrimOffset(shape[0], shape[1], size, offset, INT_MAX, INT_MAX);
                EXPECT_TRUE(Inside(TrimFrameInPicture(shape[0], shape[1], size, moved), shape[0],
                                   shape[1]));
            }
        }
    }
    // 3000 x 2000 with 4" x 6" moves 20 columns each way, no rows.
    EXPECT_EQ(ClampTrimOffset(3000, 2000, k4x6, {-500, 300}), (TrimOffset{-20, 0}));
    EXPECT_EQ(TrimFrameInPicture(3000, 2000, k4x6, {500, 0}), (DibRect{40, 0, 3000, 2000}));
    // Switching to 5" x 7" (2783 wide) allows more.
    EXPECT_EQ(ClampTrimOffset(3000, 2000, k5x7, {-500, 0}), (TrimOffset{-108, 0}));
    EXPECT_EQ(ClampTrimOffset(3000, 2000, kTrimNone, {-500, 7}), (TrimOffset{-500, 7}));
}

TEST(TrimFrame, DragStopsAtTheEdge) {
    TrimOffset offset;
    offset = MoveTrimOffset(3000, 2000, k4x6, offset, 15, 40);
    EXPECT_EQ(offset, (TrimOffset{15, 0}));
    offset = MoveTrimOffset(3000, 2000, k4x6, offset, 15, 0);
    EXPECT_EQ(offset, (TrimOffset{20, 0}));
    offset = MoveTrimOffset(3000, 2000, k4x6, offset, -30, 0);
    EXPECT_EQ(offset, (TrimOffset{-10, 0}));
    // Without a frame nothing moves.
    EXPECT_EQ(MoveTrimOffset(3000, 2000, kTrimNone, {3, 4}, 10, 10), (TrimOffset{3, 4}));
}

}  // namespace
}  // namespace corvelle
