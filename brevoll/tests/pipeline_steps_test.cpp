// What each step of a picture really does, the pixel limit, the stamp's font entries, and
// the step record kept apart from the settings.
#include <gtest/gtest.h>

#include <sys/stat.h>

#include <filesystem>
#include <vips/vips8>

#include "core/batch_run.h"
#include "core/picture_pipeline.h"
#include "core/settings_store.h"
#include "core/stamp_drawing.h"
#include "core/step_record.h"
#include "support/temp_folder.h"
#include "support/test_pictures.h"

namespace corvelle {
namespace {

using testing::TempFolder;
using testing::WriteTestPicture;
using vips::VImage;
namespace fs = std::filesystem;

RunSettings half() {
    RunSettings s;
    s.method = kMethodRatio;
    s.sizeValue = 50;
    return s;
}

// The test picture with its frame header claiming another size.
std::vector<uint8_t> claimingSize(int width, int height) {
    std::vector<uint8_t> jpeg = testing::MakeTestPicture();
    for (size_t i = 2; i + 8 < jpeg.size(); ++i) {
        if (jpeg[i] != 0xFF || jpeg[i + 1] != 0xC0) continue;
        jpeg[i + 5] = uint8_t(height >> 8);
        jpeg[i + 6] = uint8_t(height);
        jpeg[i + 7] = uint8_t(width >> 8);
        jpeg[i + 8] = uint8_t(width);
        break;
    }
    return jpeg;
}

TEST(PictureSteps, EachMarkerCoversTheWorkOfItsStep) {
    TempFolder temp;
    WriteTestPicture(temp.file("p.jpg"));
    std::vector<std::string> steps;
    RunSettings s = half();
    s.copyExif = true;
    const ConvertResult result =
        ConvertPicture(s, temp.file("p.jpg"), temp.file("out.jpg"), [&](std::string_view step) {
            steps.emplace_back(step);
            // Once "Resize DIB" is announced the source is decoded: it is no longer read.
            if (step == kStepResizeDib) fs::resize_file(temp.file("p.jpg"), 0);
        });
    EXPECT_TRUE(result.saved) << result.error;
    EXPECT_EQ(steps,
              (std::vector<std::string>{"Read JPEG", "Resize DIB", "Load Exif Info", "Save JPEG"}));
    EXPECT_EQ(VImage::new_from_file(temp.file("out.jpg").c_str()).width(), 32);
}

// A save that fails says why: a name taken meanwhile reads differently from a folder
// that is gone, and nothing at the destination changes.
TEST(PictureSteps, AFailedSaveSaysWhy) {
    TempFolder temp;
    WriteTestPicture(temp.file("p.jpg"));
    testing::WriteFileBytes(temp.file("taken.jpg"), {'o', 'l', 'd'});
    const struct {
        const char* destination;
        bool replaceExisting;
        std::string error;
    } cases[] = {
        {"taken.jpg", false, "cannot write the picture: a file of that name is already there"},
        {"gone/p.jpg", true, "cannot write into the destination folder: No such file or directory"},
    };
    for (const auto& c : cases) {
        const ConvertResult result = ConvertPicture(
            half(), temp.file("p.jpg"), temp.file(c.destination), {}, c.replaceExisting);
        EXPECT_FALSE(result.saved) << c.destination;
        EXPECT_EQ(result.error, c.error);
    }
    EXPECT_EQ(testing::ReadFileBytes(temp.file("taken.jpg")),
              (std::vector<uint8_t>{'o', 'l', 'd'}));
}

TEST(PictureSteps, APictureDeclaringTooManyPixelsIsRefusedBeforeDecoding) {
    TempFolder temp;
    testing::WriteFileBytes(temp.file("huge.jpg"), claimingSize(65000, 65000));
    RunSettings s = half();
    ConvertResult result = ConvertPicture(s, temp.file("huge.jpg"), temp.file("h.jpg"), {});
    EXPECT_FALSE(result.saved);
    EXPECT_EQ(result.error, "too large (65000 x 65000)");
    EXPECT_FALSE(fs::exists(temp.file("h.jpg")));

    WriteTestPicture(temp.file("small.jpg"));
    s.maxPixels = 64 * 48 - 1;
    result = ConvertPicture(s, temp.file("small.jpg"), temp.file("s.jpg"), {});
    EXPECT_EQ(result.error, "too large (64 x 48)");
    s.maxPixels = 64 * 48;
    EXPECT_TRUE(ConvertPicture(s, temp.file("small.jpg"), temp.file("s.jpg"), {}).saved);
}

TEST(PictureSteps, ThePreviewIsTheFinishedCanvasScaledDown) {
    TempFolder temp;
    testing::TestPictureOptions big;
    big.width = 3000;
    big.height = 1000;
    WriteTestPicture(temp.file("wide.jpg"), big);
    RunSettings s = half();
    const ConvertResult result =
        ConvertPicture(s, temp.file("wide.jpg"), temp.file("w.jpg"), {}, true, true);
    ASSERT_TRUE(result.saved);
    EXPECT_EQ(result.preview.width(), kPreviewSide);
    EXPECT_EQ(result.preview.height(), 341);
}

TEST(StampFont, ATaggedEntryDrawsWithItsFamily) {
    EXPECT_EQ(StampFontFamily("Nimbus Roman [urw]"), "Nimbus Roman");
    EXPECT_EQ(StampFontFamily("D050000L [URW ]"), "D050000L");
    EXPECT_EQ(StampFontFamily("Times New Roman"), "Times New Roman");
    EXPECT_EQ(StampFontFamily("[odd]"), "[odd]");

    const VImage canvas =
        (VImage::black(300, 80, VImage::option()->set("bands", 3)) + 0)
            .cast(VIPS_FORMAT_UCHAR)
            .copy(VImage::option()->set("interpretation", VIPS_INTERPRETATION_sRGB));
    const TargetRect drawn{0, 0, 300, 80};
    auto stamped = [&](const char* font) {
        RunSettings s;
        s.stampPosition = 1;
        s.stampFontSize = 20;
        s.stampColor = 0x0000FF;
        s.stampFont = font;
        return DrawStamp(canvas, s, drawn, "2004 12/19 Roman").copy_memory();
    };
    auto same = [](const VImage& a, const VImage& b) { return (a - b).abs().max() == 0; };
    const VImage bare = stamped("Nimbus Roman");
    const VImage fallback = stamped("No Such Family 123");
    if (same(bare, fallback)) GTEST_SKIP() << "Nimbus Roman is not installed";
    EXPECT_TRUE(same(stamped("Nimbus Roman [urw]"), bare));
}

TEST(StepRecord, IsKeptApartFromTheSettingsAndSurvivesShorterRewrites) {
    TempFolder temp;
    SettingsStore store(kBrevollSettings);
    store.writeString(kBrevollSection, "Method", "0");
    struct stat before;
    ASSERT_EQ(stat(store.filePath().c_str(), &before), 0);
    for (const char* name : {"a.jpg", "b.jpg", "c.jpg"}) WriteTestPicture(temp.file(name));
    RunSettings s = half();
    s.sourceFolder = temp.path().string();
    s.destinationFolder = temp.file("out");
    {
        StepMarkerBoard markers(StepRecordPath(store.filePath()));
        BatchRun run(s, markers, {});
        run.collect();
        while (run.next()) {
        }
        EXPECT_EQ(run.resized(), 3);
    }
    // The settings file was neither rewritten nor replaced by the run.
    struct stat after;
    ASSERT_EQ(stat(store.filePath().c_str(), &after), 0);
    EXPECT_EQ(after.st_ino, before.st_ino);
    EXPECT_EQ(after.st_mtim.tv_nsec, before.st_mtim.tv_nsec);
    EXPECT_EQ(fs::path(StepRecordPath(store.filePath())).parent_path(),
              fs::path(store.filePath()).parent_path());
    EXPECT_EQ(ReadStepRecord(StepRecordPath(store.filePath())).currentImage, temp.file("c.jpg"));

    // A short record written over a long one reads back whole; a torn one reads as none.
    StepRecordFile file(temp.file("steps"));
    ASSERT_TRUE(file.write({"Create Folder", "/a/very/long/path/of/a/picture.jpg"}));
    ASSERT_TRUE(file.write({"Save JPEG", "/p.jpg"}));
    EXPECT_EQ(ReadStepRecord(temp.file("steps")).currentImage, "/p.jpg");
    EXPECT_EQ(ReadStepRecord(temp.file("steps")).step, "Save JPEG");
    std::vector<uint8_t> bytes = EncodeStepRecord({"Save JPEG", "/p.jpg"});
    bytes.resize(bytes.size() - 3);
    EXPECT_FALSE(DecodeStepRecord(bytes).has_value());
}

}  // namespace
}  // namespace corvelle
