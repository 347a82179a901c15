// How the window reads typed combo values and places the picture.

#include <gtest/gtest.h>

#include "ui/view_geometry.h"

namespace {

TEST(ComboValue, ReadsTheLeadingNumberUpToThePercentSign) {
    struct Case {
        const char* text;
        int value;
    };
    const Case cases[] = {
        {"100%", 100}, {" 150", 150}, {"80%%", 80}, {"abc", 0},   {"", 0},
        {"%50", 0},    {"-40", -40},  {"+7x", 7},   {"12a4", 12}, {"99999999999", 2147483647}};
    for (const Case& c : cases) EXPECT_EQ(ReadLeadingNumber(c.text), c.value) << c.text;
}

TEST(ZoomList, StepsOnlyFromListedValues) {
    EXPECT_EQ(NextZoom(30), 50);
    EXPECT_EQ(NextZoom(200), 400);
    EXPECT_EQ(NextZoom(400), 400);
    EXPECT_EQ(NextZoom(150), 150);
    EXPECT_EQ(PreviousZoom(50), 30);
    EXPECT_EQ(PreviousZoom(30), 30);
    EXPECT_EQ(PreviousZoom(1000), 1000);
    EXPECT_EQ(LimitZoom(0), 30);
    EXPECT_EQ(LimitZoom(4000), 1000);
}

TEST(FitPlacement, CentresAcrossTheSpareDirection) {
    // Wide window: full height, centred horizontally.
    PicturePlacement wide = FitPlacement(QRect(0, 0, 1000, 400), 300, 200);
    EXPECT_EQ(wide.rect, QRect(200, 0, 600, 400));
    EXPECT_EQ(wide.scale, 200);
    // Tall window: full width, centred vertically.
    PicturePlacement tall = FitPlacement(QRect(0, 0, 300, 900), 600, 400);
    EXPECT_EQ(tall.rect, QRect(0, 350, 300, 200));
    EXPECT_EQ(tall.scale, 50);
    EXPECT_TRUE(FitPlacement(QRect(0, 0, 0, 0), 600, 400).rect.isEmpty());
}

TEST(ViewToPicture, MapsInsideAndRefusesOutside) {
    const PicturePlacement placement{QRect(10, 20, 300, 200), 300};
    EXPECT_EQ(ViewToPicture(placement, QPoint(10, 20), 100, 67), QPoint(0, 0));
    EXPECT_EQ(ViewToPicture(placement, QPoint(309, 219), 100, 67), QPoint(99, 66));
    EXPECT_FALSE(ViewToPicture(placement, QPoint(9, 20), 100, 67).has_value());
    EXPECT_FALSE(ViewToPicture(placement, QPoint(310, 20), 100, 67).has_value());
}

}  // namespace
