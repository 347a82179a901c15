#include <gtest/gtest.h>

#include "core/name_settings.h"
#include "core/name_template.h"
#include "core/settings_store.h"
#include "test_pictures.h"

namespace corvelle {
namespace {

using testing::FixedTimeZone;
using testing::LocalTime;

class NameTemplateTest : public ::testing::Test {
  protected:
    FixedTimeZone zone{"KST-9"};
    const std::time_t shot = LocalTime(2004, 3, 15, 14, 25, 30);
};

TEST_F(NameTemplateTest, DefaultsGiveDateDashTimeWithLowerCaseExtension) {
    const NameSettings defaults;
    const NameTemplate nameTemplate = BuildNameTemplate(defaults);
    using K = NamePart::Kind;
    const std::vector<NamePart> expected = {{K::TimeCode, "%Y", 0},     {K::TimeCode, "%m", 0},
                                            {K::TimeCode, "%d", 0},     {K::Literal, "-", 0},
                                            {K::TimeCode, "%H%M%S", 0}, {K::Literal, ".jpg", 0}};
    EXPECT_EQ(nameTemplate.parts, expected);
    EXPECT_EQ(ExpandForTime(nameTemplate, shot), "20040315-142530.jpg");
    EXPECT_EQ(BuildSampleName(defaults, shot), "20040315-142530.jpg");
}

TEST_F(NameTemplateTest, FieldsAndSeparatorsCompose) {
    struct Row {
        int year, month, day, first, second, last, type;
        const char* prefix;
        const char* expected;
    } rows[] = {
        {2, 1, 1, 2, 2, 3, 0, "", "04_03_15+142530.jpg"},
        // A separator stays when the field before it is left out.
        {0, 1, 1, 1, 0, 0, 0, "P", "P-0315142530.jpg"},
        // The time is there even with no date field at all.
        {0, 0, 0, 0, 0, 0, 1, "", "142530.tif"},
        {1, 0, 1, 4, 1, 1, 2, "x", "x2004;-15-142530.nef"},
    };
    for (const Row& row : rows) {
        NameSettings settings;
        settings.yearIndex = row.year;
        settings.monthIndex = row.month;
        settings.dayIndex = row.day;
        settings.firstIndex = row.first;
        settings.secondIndex = row.second;
        settings.lastIndex = row.last;
        settings.extensionIndex = row.type;
        settings.prefix = row.prefix;
        EXPECT_EQ(BuildSampleName(settings, shot), std::string(row.expected));
    }
}

TEST_F(NameTemplateTest, SerialCounterIsPaddedNeverCut) {
    NameSettings settings;
    settings.nameType = 1;
    settings.serialIndex = 1;
    settings.prefix = "IMG_";
    settings.postfix = "_a";
    EXPECT_EQ(BuildSampleName(settings, shot), "IMG_001_a.jpg");
    const NameTemplate three = BuildNameTemplate(settings);
    EXPECT_EQ(ExpandForCounter(three, 10), "IMG_010_a.jpg");
    settings.serialIndex = 0;
    EXPECT_EQ(ExpandForCounter(BuildNameTemplate(settings), 100), "IMG_100_a.jpg");
    settings.serialIndex = 6;
    EXPECT_EQ(ExpandForCounter(BuildNameTemplate(settings), 7), "IMG_00000007_a.jpg");
    // No digits entry chosen: the sample is left as it was.
    settings.serialIndex = -1;
    EXPECT_EQ(BuildSampleName(settings, shot), std::nullopt);
}

TEST_F(NameTemplateTest, PercentInUserTextStandsForItself) {
    NameSettings settings;
    settings.prefix = "%Y%n%";
    settings.postfix = "100%";
    EXPECT_EQ(BuildSampleName(settings, shot), "%Y%n%20040315-142530100%.jpg");
    settings.nameType = 1;
    EXPECT_EQ(BuildSampleName(settings, shot), "%Y%n%001100%.jpg");
}

TEST_F(NameTemplateTest, LongNames) {
    NameSettings settings;
    // 127 characters are kept, one more gives no name.
    settings.prefix = std::string(127 - std::string("20040315-142530.jpg").size(), 'p');
    EXPECT_EQ(ExpandForTime(BuildNameTemplate(settings), shot).size(), 127u);
    settings.prefix += 'p';
    EXPECT_EQ(ExpandForTime(BuildNameTemplate(settings), shot), "");
    // The sample of the main dialog is not a file name: it shows the whole text.
    EXPECT_EQ(BuildSampleName(settings, shot), settings.prefix + "20040315-142530.jpg");
    // Serial names are built whole, past the old prefix and name limits.
    settings.nameType = 1;
    settings.prefix = std::string(60, 'q');
    EXPECT_EQ(BuildSampleName(settings, shot), std::string(60, 'q') + "001.jpg");
}

TEST(NameSettingsStore, DefaultsAndDamagedValues) {
    SettingsStore store({"CorvelleTest", "QuensetNames"});
    const NameSettings fresh = LoadNameSettings(store);
    EXPECT_EQ(fresh.yearIndex, 1);
    EXPECT_EQ(fresh.lastIndex, 1);
    EXPECT_EQ(fresh.serialIndex, 1);
    EXPECT_TRUE(fresh.useExif && fresh.modifyFileDate && !fresh.serialMode());

    store.writeInt("Config", "Last Index", 9);
    store.writeInt("Config", "Use Extention Index", -1);
    store.writeInt("Config", "Name Type", 5);
    store.writeInt("Config", "Use Exif", 0);
    store.writeString("Config", "Prefix", "Trip_");
    const NameSettings read = LoadNameSettings(store);
    EXPECT_EQ(read.lastIndex, 1);
    EXPECT_EQ(read.extensionIndex, 0);
    EXPECT_TRUE(read.serialMode());
    EXPECT_EQ(read.prefix, "Trip_");
    // The file dates change only when EXIF dates are used.
    EXPECT_FALSE(read.fileDateFlag());

    NameSettings changed = read;
    changed.postfix = "_b";
    changed.dayIndex = 0;
    SaveNameSettings(store, changed);
    const NameSettings back = LoadNameSettings(store);
    EXPECT_EQ(back.postfix, "_b");
    EXPECT_EQ(back.dayIndex, 0);
}

}  // namespace
}  // namespace corvelle
