#include "core/exif/exif_numbers.h"

#include <gtest/gtest.h>

namespace corvelle {
namespace {

struct DecimalCase {
    int32_t numerator;
    int32_t denominator;
    int decimals;
    const char* text;
};

TEST(FormatDecimalTest, RoundsExactlyAndTrimsZeros) {
    const DecimalCase cases[] = {
        {35, 10, 1, "3.5"},
        {50, 10, 1, "5.0"},
        {1, 3, 3, "0.333"},
        {-2, 3, 1, "-0.7"},
        {58, 10, 3, "5.8"},
        {0, 1, 1, "0.0"},
        {5, 100, 3, "0.05"},
        {70, 10, 3, "7.0"},
        {2, 1, 1, "2.0"},
        {1000, 3, 0, "333"},
        {2, -3, 1, "-0.7"},
        {-2, -3, 1, "0.7"},
        // The exact rational, halves away from zero: 21.3125 is "21.313", not "21.312".
        {682, 32, 3, "21.313"},
        {-682, 32, 3, "-21.313"},
        {1, 8, 2, "0.13"},
        {999, 1000, 1, "1.0"},
        {2147483647, 1, 1, "2147483647.0"},
        {-2147483647 - 1, 1, 0, "-2147483648"},
        {1, 2147483647, 3, "0.0"},
    };
    for (const DecimalCase& c : cases) {
        EXPECT_EQ(FormatDecimal(c.numerator, c.denominator, c.decimals), c.text)
            << c.numerator << "/" << c.denominator << " at " << c.decimals;
    }
}

TEST(FormatDecimalTest, ZeroDenominatorGivesNoText) {
    EXPECT_EQ(FormatDecimal(1, 0, 1), "");
    EXPECT_EQ(FormatDecimal(0, 0, 3), "");
}

TEST(ShutterTest, FromExposureTime) {
    EXPECT_EQ(ShutterFromExposureTime(10, 300), "1/30 sec");
    EXPECT_EQ(ShutterFromExposureTime(2, 1), "2.0 sec");
    EXPECT_EQ(ShutterFromExposureTime(3, 1000), "1/333 sec");
    EXPECT_EQ(ShutterFromExposureTime(1, 125), "1/125 sec");
    EXPECT_EQ(ShutterFromExposureTime(10, 10), "1.0 sec");
    // Nothing to divide by: no text, so an APEX shutter speed may still fill it.
    EXPECT_EQ(ShutterFromExposureTime(0, 125), "");
    EXPECT_EQ(ShutterFromExposureTime(1, 0), "");
}

TEST(ShutterTest, FromApex) {
    EXPECT_EQ(ShutterFromApex(5, 1), "1/32 sec");
    EXPECT_EQ(ShutterFromApex(6906, 1000), "1/121 sec");
    EXPECT_EQ(ShutterFromApex(0, 1), "1 sec");
    EXPECT_EQ(ShutterFromApex(0, 0), "1 sec");
    EXPECT_EQ(ShutterFromApex(-1, 1), "2 sec");
    EXPECT_EQ(ShutterFromApex(1, 0), "");
    EXPECT_EQ(ShutterFromApex(2147483647, 1), "");
}

TEST(ShutterTest, ExposureSecondsFromApex) {
    EXPECT_DOUBLE_EQ(*ExposureSecondsFromApex(5, 1), 1.0 / 32);
    EXPECT_DOUBLE_EQ(*ExposureSecondsFromApex(-1, 1), 2.0);
    EXPECT_DOUBLE_EQ(*ExposureSecondsFromApex(11, 2), 1.0 / 48);  // 32 + 0.5 × 32
    EXPECT_DOUBLE_EQ(*ExposureSecondsFromApex(0, 1), 1.0);
    EXPECT_FALSE(ExposureSecondsFromApex(3, 0));
}

TEST(ApertureTest, FromApex) {
    EXPECT_EQ(ApertureFromApex(5, 1), "5.6");
    EXPECT_EQ(ApertureFromApex(4, 1), "4.0");
    EXPECT_EQ(ApertureFromApex(7, 1), "11.3");
    EXPECT_EQ(ApertureFromApex(0, 1), "1.0");
    EXPECT_EQ(ApertureFromApex(1, 0), "");
    EXPECT_EQ(ApertureFromApex(-3, 1), "");  // nothing under the square root
    EXPECT_EQ(ApertureFromApex(2147483647, 3), "");
}

TEST(LightValueTest, NormalisesToIso100) {
    EXPECT_EQ(ComputeLightValue(1.0 / 125, 5.6, "100"), 11);
    EXPECT_EQ(ComputeLightValue(1.0 / 125, 5.6, "400"), 9);
    EXPECT_EQ(ComputeLightValue(1.0 / 125, 5.6, "1600"), 7);
    // No number, or 0, counts as ISO 100; the Nikon note's "Auto" has none.
    EXPECT_EQ(ComputeLightValue(1.0 / 125, 5.6, ""), 11);
    EXPECT_EQ(ComputeLightValue(1.0 / 125, 5.6, "Auto"), 11);
    EXPECT_EQ(ComputeLightValue(1.0 / 125, 5.6, "0"), 11);
    EXPECT_EQ(ComputeLightValue(1.0 / 125, 5.6, "-5"), 11);
    // Long exposures halve the time down.
    EXPECT_EQ(ComputeLightValue(4, 2.8, "100"), 1);
    EXPECT_EQ(ComputeLightValue(1, 1, "100"), 0);
}

TEST(LightValueTest, EndsOnExtremeNumbers) {
    EXPECT_EQ(ComputeLightValue(4294967295.0, 4294967295.0, "999999999999"), 4);
    EXPECT_GT(ComputeLightValue(1e-300, 1, "100"), 900);
}

}  // namespace
}  // namespace corvelle
