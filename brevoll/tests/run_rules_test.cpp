// Sizes, stamp text, durations, colour fields and the capture of a run's settings.
#include <gtest/gtest.h>

#include <clocale>
#include <cstdlib>

#include "core/format_seconds.h"
#include "core/run_settings.h"
#include "core/settings_names.h"
#include "core/settings_store.h"
#include "core/stamp_text.h"
#include "core/target_rect.h"

namespace corvelle {
namespace {

RunSettings withMethod(int method, uint32_t value, bool fit = false, int margin = 0) {
    RunSettings s;
    s.method = method;
    s.sizeValue = value;
    s.fitToBound = fit;
    s.borderMargin = margin;
    return s;
}

uint32_t bound(int w, int h) { return uint32_t(w) + uint32_t(h) * 65536u; }

TEST(ComputeTargetRect, GivesTheWorkedSizes) {
    struct Row {
        RunSettings settings;
        int w, h;
        TargetRect expected;
    };
    const Row rows[] = {
        {withMethod(kMethodBound, bound(800, 600)), 3008, 2000, {0, 0, 800, 532}},
        {withMethod(kMethodBound, bound(800, 600)), 2000, 3008, {0, 0, 399, 600}},
        {withMethod(kMethodPixel, 640), 3008, 2000, {0, 0, 640, 426}},
        {withMethod(kMethodRatio, 50), 3008, 2000, {0, 0, 1504, 1000}},
        {withMethod(kMethodRatio, 50, false, 5), 3008, 2000, {5, 5, 1494, 990}},
        // Ratio 100 keeps the size; Pixel makes a square P by P and enlarges small ones.
        {withMethod(kMethodRatio, 100), 3008, 2000, {0, 0, 3008, 2000}},
        {withMethod(kMethodPixel, 640), 500, 500, {0, 0, 640, 640}},
        {withMethod(kMethodPixel, 640), 300, 200, {0, 0, 640, 427}},
        // Bound without fit never enlarges; with fit it takes exactly the bound.
        {withMethod(kMethodBound, bound(800, 600)), 640, 480, {0, 0, 640, 480}},
        {withMethod(kMethodBound, bound(800, 600), true), 3008, 2000, {0, 0, 800, 600}},
        {withMethod(kMethodBound, bound(800, 600), true), 100, 100, {0, 0, 800, 600}},
    };
    for (const Row& row : rows) {
        const TargetRect r = ComputeTargetRect(row.settings, row.w, row.h);
        EXPECT_EQ(r, row.expected) << row.w << "x" << row.h << " -> " << r.x << "," << r.y << " "
                                   << r.width << "x" << r.height;
    }
    const TargetRect withBorder =
        ComputeTargetRect(withMethod(kMethodRatio, 50, false, 5), 3008, 2000);
    EXPECT_EQ(withBorder.canvasWidth(), 1504);
    EXPECT_EQ(withBorder.canvasHeight(), 1000);
}

TEST(ComputeTargetRect, MarginNeverLeavesLessThanTenPixelsAndTheCanvasGrows) {
    // 40x24 at 50 % is 20x12; a margin of 5 would leave 10x2.
    const TargetRect r = ComputeTargetRect(withMethod(kMethodRatio, 50, false, 5), 40, 24);
    EXPECT_EQ(r, (TargetRect{5, 5, 10, 10}));
    EXPECT_EQ(r.canvasWidth(), 20);
    EXPECT_EQ(r.canvasHeight(), 20);
    // A picture scaled to nothing is still drawn one pixel wide.
    const TargetRect thin = ComputeTargetRect(withMethod(kMethodPixel, 10), 10000, 1);
    EXPECT_EQ(thin.height, 1);
}

class LocalTime : public ::testing::Test {
  protected:
    void SetUp() override {
        setenv("TZ", "UTC0", 1);
        tzset();
        std::setlocale(LC_TIME, "C");
    }
};

TEST_F(LocalTime, FormatStampFollowsThePatternAndTheCalendar) {
    const char* date = "2004:12:19 13:05:09";
    EXPECT_EQ(FormatStamp(date, kStampPatterns[0]), "2004 12/19 - 13:05:09");
    EXPECT_EQ(FormatStamp(date, "%x %X"), "12/19/04 13:05:09");
    EXPECT_EQ(FormatStamp(date, "%y %m/%d %I:%M%p"), "04 12/19 01:05PM");
    // Three numbers only: the time of day is midnight.
    EXPECT_EQ(FormatStamp("2004:12:19", "%Y-%m-%d %H:%M:%S"), "2004-12-19 00:00:00");
    // Month 13 carries over into January of the next year, like the C library's mktime.
    EXPECT_EQ(FormatStamp("2004:13:01 00:00:00", "%Y-%m-%d"), "2005-01-01");
    // Runs of separators count as one.
    EXPECT_EQ(FormatStamp("2004::12  19 1:2:3", "%Y-%m-%d %H:%M:%S"), "2004-12-19 01:02:03");
    // Each field is read like atoi, which passes over white space other than the separators.
    EXPECT_EQ(FormatStamp("2004:\t12:\n19 13:05:09", "%Y-%m-%d %H:%M:%S"), "2004-12-19 13:05:09");
}

TEST_F(LocalTime, FormatStampIsEmptyForMissingOrUnrepresentableDates) {
    EXPECT_EQ(FormatStamp("0000:00:00 00:00:00", "%x"), "");
    EXPECT_EQ(FormatStamp("", "%x"), "");
    EXPECT_EQ(FormatStamp("    :  :     :  :  ", "%x"), "");
    EXPECT_EQ(FormatStamp("1969:12:31 23:59:59", "%x"), "");
    EXPECT_EQ(FormatStamp("2038:01:19 03:14:08", "%x"), "");
    EXPECT_EQ(FormatStamp("2038:01:19 03:14:07", "%Y"), "2038");
    // Only the first 79 characters are read: a year hidden after them is not found.
    EXPECT_EQ(FormatStamp(std::string(79, ' ') + "2004:12:19", "%Y"), "");
    // A stamp longer than the drawing limit is dropped rather than cut in the middle.
    EXPECT_EQ(FormatStamp("2004:12:19", std::string(300, 'x')), "");
}

TEST(FormatSeconds, PicksTheUnitsByRange) {
    EXPECT_EQ(FormatSeconds(60), "60초");
    EXPECT_EQ(FormatSeconds(61), "1분 1초");
    EXPECT_EQ(FormatSeconds(3600), "60분 0초");
    EXPECT_EQ(FormatSeconds(86400), "24시간 0분");
    EXPECT_EQ(FormatSeconds(90000), "1일 1시간");
    // Two of four pictures in 10 s: 10 s more to go.
    EXPECT_EQ(FormatProgressTime(10000, 2, 4), "10초 경과 10초 남음");
}

TEST(ParseColorText, ReadsTheHexDigitsOfTheFirstSixCharacters) {
    EXPECT_EQ(ParseColorText("12 34"), 0x1234u);
    EXPECT_EQ(ParseColorText("ff0000"), 0xFF0000u);
    EXPECT_EQ(ParseColorText("0000FF"), 0x0000FFu);
    EXPECT_EQ(ParseColorText("12345678"), 0x123456u);
    EXPECT_EQ(ParseColorText("#00FF"), 0x00FFu);
    EXPECT_EQ(ParseColorText("zz"), 0u);
}

TEST(CaptureRunSettings, ClampsAsTheDialogDoes) {
    DialogFields f;
    f.method = kMethodRatio;
    f.sizeRatio = 0;
    EXPECT_EQ(CaptureRunSettings(f).sizeValue, 1u);
    f.sizeRatio = 250;
    EXPECT_EQ(CaptureRunSettings(f).sizeValue, 100u);
    f.method = kMethodPixel;
    f.fixSize = 5;
    EXPECT_EQ(CaptureRunSettings(f).sizeValue, 10u);
    f.method = kMethodBound;
    f.boundWidth = 20000;
    f.boundHeight = 3;
    EXPECT_EQ(CaptureRunSettings(f).sizeValue, 10000u + 10u * 65536u);
    f.compressRatio = 5;
    EXPECT_EQ(CaptureRunSettings(f).quality, 10);
    f.compressRatio = -50;
    EXPECT_EQ(CaptureRunSettings(f).quality, 10);
    f.compressRatio = 300;
    EXPECT_EQ(CaptureRunSettings(f).quality, 100);

    f.useColorBorder = true;
    f.borderMargin = 80;
    f.borderColorText = "0000FF";
    RunSettings r = CaptureRunSettings(f);
    EXPECT_EQ(r.borderMargin, 50);
    EXPECT_EQ(r.borderColor, 0x0000FF);
    f.useColorBorder = false;
    r = CaptureRunSettings(f);
    EXPECT_EQ(r.borderMargin, 0);
    EXPECT_EQ(r.borderColor, -1);

    // Prefix and postfix only with Naming; a stamp size that is no number reads as 0.
    f.prefix = "r_";
    f.postfix = "_s";
    EXPECT_EQ(CaptureRunSettings(f).prefix, "");
    f.naming = true;
    f.stampFontSizeText = "big";
    f.stampFont = "";
    f.interpolationMethod = 12;
    r = CaptureRunSettings(f);
    EXPECT_EQ(r.prefix, "r_");
    EXPECT_EQ(r.postfix, "_s");
    EXPECT_EQ(r.stampFontSize, 0);
    EXPECT_EQ(r.stampFont, "Times New Roman");
    EXPECT_EQ(r.interpolationMode, 0);
}

TEST(ReadDialogFields, FirstStartGivesTheDefaultsAndRunsUseTheSamplingMethodShown) {
    SettingsStore store(kBrevollSettings);
    const RunSettings r = CaptureRunSettings(ReadDialogFields(store));
    EXPECT_EQ(r.method, kMethodRatio);
    EXPECT_EQ(r.sizeValue, 50u);
    EXPECT_TRUE(r.recursive);
    EXPECT_TRUE(r.copyExif);
    EXPECT_EQ(r.quality, 100);
    EXPECT_EQ(r.borderColor, -1);
    EXPECT_EQ(r.stampPosition, 0);
    EXPECT_EQ(r.stampPattern, "%x %X");
    EXPECT_EQ(r.stampColor, 0xFF0000u);
    EXPECT_TRUE(r.semiTransparent);
    EXPECT_EQ(r.stampFont, "Times New Roman");
    EXPECT_EQ(r.stampFontSize, 12);
    // The list shows "*HighQualityBicubic" when nothing is stored; the run uses it too.
    EXPECT_EQ(r.interpolationMode, 7);

    // A stored border colour is shown as six digits and read back unchanged.
    store.writeInt(kBrevollSection, brevoll_settings::kBorderColor, 0x00AB12);
    store.writeInt(kBrevollSection, brevoll_settings::kUseColorBorder, 1);
    store.writeInt(kBrevollSection, brevoll_settings::kBorderMargin, 3);
    const DialogFields f = ReadDialogFields(store);
    EXPECT_EQ(f.borderColorText, "00AB12");
    EXPECT_EQ(CaptureRunSettings(f).borderColor, 0x00AB12);
    store.writeInt(kBrevollSection, brevoll_settings::kUseColorBorder, 0);
}

}  // namespace
}  // namespace corvelle
