// Runs over today's picture files: no two pictures write one file, each failure gives its
// own reason, a picture cut short is never converted silently, only each type's own loader
// opens a file, EXIF too large for a JPEG is told, and pictures share one memory budget.
#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <filesystem>
#include <thread>
#include <vips/vips8>

#include "core/batch_run.h"
#include "core/memory_budget.h"
#include "core/output_names.h"
#include "core/settings_store.h"
#include "core/step_record.h"
#include "support/exif_builder.h"
#include "support/encoded_picture.h"
#include "support/temp_folder.h"
#include "support/test_pictures.h"

namespace corvelle {
namespace {

using testing::TempFolder;
using vips::VImage;
namespace fs = std::filesystem;

// One colour all over, so that a test can tell whose picture a file holds.
VImage plain(int red, int green, int blue) {
    return (VImage::black(64, 48) + std::vector<double>{double(red), double(green), double(blue)})
        .cast(VIPS_FORMAT_UCHAR)
        .copy(VImage::option()->set("interpretation", VIPS_INTERPRETATION_sRGB));
}

TEST(OutputNames, EveryPictureGetsANameOfItsOwn) {
    RunSettings s;
    s.sourceFolder = "/in";
    s.destinationFolder = "/out";
    const struct {
        std::vector<std::string> sources;
        bool sameFolder;
        std::vector<std::string> outputs;
    } cases[] = {
        // The JPEG keeps its name whichever comes first; the PNG is named after its type.
        {{"/in/photo.jpg", "/in/photo.png"}, false, {"/out/photo.jpg", "/out/photo.png.jpg"}},
        {{"/in/photo.png", "/in/photo.jpg"}, false, {"/out/photo.png.jpg", "/out/photo.jpg"}},
        // Letter case does not make two names.
        {{"/in/IMG_1.HEIC", "/in/IMG_1.JPG"}, false, {"/out/IMG_1.HEIC.jpg", "/out/IMG_1.JPG"}},
        {{"/in/a.jpeg", "/in/a.png", "/in/a.webp"},
         false,
         {"/out/a.jpg", "/out/a.png.jpg", "/out/a.webp.jpg"}},
        // In one folder no output lands on another source, and a JPEG is its own output.
        {{"/in/photo.jpg", "/in/photo.png"}, true, {"/in/photo.jpg", "/in/photo.png.jpg"}},
        {{"/in/photo.jpg", "/in/photo.png", "/in/photo.png.jpg"},
         true,
         {"/in/photo.jpg", "/in/photo.png.2.jpg", "/in/photo.png.jpg"}},
        {{"/in/photo.tif"}, true, {"/in/photo.jpg"}},
    };
    for (const auto& c : cases) {
        RunSettings run = s;
        if (c.sameFolder) run.destinationFolder = run.sourceFolder;
        EXPECT_EQ(ClaimOutputNames(run, c.sources).destinations, c.outputs) << c.sources[0];
    }
}

class TodaysSources : public ::testing::Test {
  protected:
    void SetUp() override {
        fs::create_directories(temp.file("src"));
        settings.sourceFolder = temp.file("src");
        settings.destinationFolder = temp.file("dst");
        settings.sizeValue = 50;
    }
    void write(const std::string& name, const std::vector<uint8_t>& bytes) {
        testing::WriteFileBytes(temp.file("src/" + name), bytes);
    }
    // Runs the folder with `jobs` workers, answering every question with `answer`.
    std::unique_ptr<BatchRun> run(int jobs, OverwriteAnswer answer = OverwriteAnswer::SkipAll) {
        auto batch = std::make_unique<BatchRun>(settings, markers, [&](const std::string&) {
            ++asked;
            return answer;
        });
        batch->collect();
        RunJobs(*batch, jobs, {});
        return batch;
    }
    int redOf(const std::string& path) { return int(VImage::new_from_file(path.c_str())(4, 4)[0]); }

    TempFolder temp;
    RunSettings settings;
    SettingsStore store{kBrevollSettings};
    StepMarkerBoard markers{StepRecordPath(store.filePath())};
    int asked = 0;
};

TEST_F(TodaysSources, PicturesOfOneStemKeepEachTheirOwnOutput) {
    write("photo.jpg", testing::Encoded(plain(250, 0, 0), ".jpg"));
    write("photo.png", testing::Encoded(plain(0, 0, 250), ".png"));
    const auto original = testing::ReadFileBytes(temp.file("src/photo.jpg"));
    for (int jobs : {1, 2}) {
        // A separate destination: both written, nothing asked.
        fs::remove_all(temp.file("dst"));
        auto batch = run(jobs);
        EXPECT_EQ(batch->resized(), 2);
        EXPECT_EQ(asked, 0);
        EXPECT_GT(redOf(temp.file("dst/photo.jpg")), 200);
        EXPECT_LT(redOf(temp.file("dst/photo.png.jpg")), 50);
        EXPECT_EQ(batch->renamedLines(),
                  std::vector<std::string>{temp.file("src/photo.png") +
                                           " is written as photo.png.jpg: photo.jpg is "
                                           "another picture's name"});
    }
    // The same folder, Yes All: the JPEG is converted in place, the PNG's picture never
    // replaces it.
    settings.destinationFolder = settings.sourceFolder;
    auto batch = run(2, OverwriteAnswer::YesAll);
    EXPECT_EQ(batch->resized(), 2);
    EXPECT_NE(testing::ReadFileBytes(temp.file("src/photo.jpg")), original);
    EXPECT_GT(redOf(temp.file("src/photo.jpg")), 200);
    EXPECT_LT(redOf(temp.file("src/photo.png.jpg")), 50);
}

TEST_F(TodaysSources, EachDamagedPictureFailsWithItsOwnReason) {
    const VImage picture = plain(90, 120, 150);
    const std::pair<const char*, const char*> types[] = {
        {"png", ".png"}, {"webp", ".webp"}, {"tif", ".tif"}, {"heic", ".heic"}, {"jpg", ".jpg"}};
    std::vector<std::string> names;
    for (const auto& [extension, suffix] : types) {
        // A busy JPEG, so that most of it is picture data rather than header.
        testing::TestPictureOptions busy;
        busy.width = 400;
        busy.height = 300;
        busy.pattern = true;
        const std::vector<uint8_t> whole = std::string(extension) == "jpg"
                                               ? testing::MakeTestPicture(busy)
                                               : testing::Encoded(picture, suffix);
        const std::string cut = std::string("cut_") + extension + "." + extension;
        write(cut,
              std::vector<uint8_t>(whole.begin(), whole.begin() + long(whole.size() * 6 / 10)));
        const std::string garbage = std::string("garbage_") + extension + "." + extension;
        write(garbage, std::vector<uint8_t>(whole.begin(), whole.begin() + 40));
        names.insert(names.end(), {cut, garbage});
    }
    // Files of other formats behind a type's name reach no loader.
    write("drawing.png", {'<', 's', 'v', 'g', '/', '>'});
    write("portable.tif", {'P', '6', '\n', '1', ' ', '1', '\n', '2', '5', '5', '\n', 1, 2, 3});
    write("document.jpg", {'%', 'P', 'D', 'F', '-', '1', '.', '4', '\n'});

    std::vector<std::string> reasons;
    for (int round = 0; round < 3; ++round) {
        fs::remove_all(temp.file("dst"));
        auto batch = run(2);
        // Only the cut-short JPEG converts, filled in and warned of.
        EXPECT_EQ(batch->resized(), 1);
        ASSERT_EQ(batch->warnings().size(), 1u);
        EXPECT_NE(batch->warnings()[0].find("cut_jpg.jpg is cut short"), std::string::npos);
        ASSERT_EQ(batch->failures().size(), 12u);
        for (const PictureFailure& failure : batch->failures()) {
            const std::string own = fs::path(failure.source).filename().string();
            EXPECT_FALSE(failure.reason.empty()) << own;
            for (const std::string& other : names) {
                if (other == own) continue;
                EXPECT_EQ(failure.reason.find(other), std::string::npos) << own;
            }
        }
        auto reasonOf = [&](const std::string& name) {
            for (const PictureFailure& failure : batch->failures())
                if (failure.source == temp.file("src/" + name)) return failure.reason;
            return std::string("<converted>");
        };
        EXPECT_EQ(reasonOf("drawing.png"), "not a PNG picture");
        EXPECT_EQ(reasonOf("portable.tif"), "not a TIFF picture");
        EXPECT_EQ(reasonOf("document.jpg"), "not a JPEG picture");
        // The library's words, learnt alone since the other worker was busy: the same
        // in every round.
        EXPECT_NE(reasonOf("cut_png.png").find("read error"), std::string::npos)
            << reasonOf("cut_png.png");
        reasons.push_back(reasonOf("garbage_jpg.jpg") + reasonOf("cut_heic.heic"));
    }
    EXPECT_EQ(std::count(reasons.begin(), reasons.end(), reasons[0]), 3) << reasons[1];
}

// A PNG with its EXIF chunk; chunk checksums are computed, as libpng checks them.
std::vector<uint8_t> withExifChunk(std::vector<uint8_t> png, const std::vector<uint8_t>& tiff) {
    auto crc = [](const std::vector<uint8_t>& bytes) {
        uint32_t c = 0xFFFFFFFF;
        for (uint8_t b : bytes) {
            c ^= b;
            for (int k = 0; k < 8; ++k) c = (c >> 1) ^ (0xEDB88320 & (0 - (c & 1)));
        }
        return c ^ 0xFFFFFFFF;
    };
    auto big = [](std::vector<uint8_t>& out, uint32_t v) {
        for (int shift : {24, 16, 8, 0}) out.push_back(uint8_t(v >> shift));
    };
    std::vector<uint8_t> typed = {'e', 'X', 'I', 'f'};
    typed.insert(typed.end(), tiff.begin(), tiff.end());
    std::vector<uint8_t> chunk;
    big(chunk, uint32_t(tiff.size()));
    chunk.insert(chunk.end(), typed.begin(), typed.end());
    big(chunk, crc(typed));
    png.insert(png.end() - 12, chunk.begin(), chunk.end());  // before IEND
    return png;
}

TEST_F(TodaysSources, ExifTooLargeForAJpegIsToldAndThePictureStillConverted) {
    testing::TiffDirectory exif;
    exif.ascii(0x9003, "2004:12:19 13:05:09");
    testing::TiffDirectory ifd0;
    ifd0.ascii(0x0110, "CORVELLE");
    const std::vector<uint8_t> small =
        testing::BuildTiff(ifd0.subDirectory(0x8769, exif), testing::kBig);
    testing::TiffDirectory large = ifd0;
    large.bytes(0x927C, testing::kUndefined, std::vector<uint8_t>(70000, 7));
    const std::vector<uint8_t> huge = testing::BuildTiff(large, testing::kBig);
    const std::vector<uint8_t> png = testing::Encoded(plain(10, 20, 30), ".png");
    write("small.png", withExifChunk(png, small));
    write("huge.png", withExifChunk(png, huge));

    auto batch = run(1);
    EXPECT_EQ(batch->resized(), 2);
    EXPECT_EQ(batch->warnings(),
              std::vector<std::string>{"warning: " + temp.file("src/huge.png") + ": EXIF of " +
                                       std::to_string((huge.size() + 1023) / 1024) +
                                       " KB does not fit a JPEG; left out"});
    // EXIF after the pixel data is read as well as before it.
    const VImage out = VImage::new_from_file(temp.file("dst/small.jpg").c_str());
    EXPECT_EQ(std::string(out.get_string("exif-ifd0-Model")).substr(0, 8), "CORVELLE");
}

TEST(MemoryBudget, PicturesWaitForRoomAndAnOversizedOneRunsAlone) {
    MemoryBudget budget(1000);
    MemoryBudget::Reservation first = budget.reserve(600);
    std::atomic<bool> second{false};
    std::thread waiting([&] {
        MemoryBudget::Reservation r = budget.reserve(600);
        second = true;
    });
    std::this_thread::sleep_for(std::chrono::milliseconds(50));
    EXPECT_FALSE(second);  // 1200 would not fit
    first.release();
    waiting.join();
    EXPECT_TRUE(second);
    EXPECT_EQ(budget.inUse(), 0u);

    MemoryBudget::Reservation small = budget.reserve(100);
    std::thread alone([&] { MemoryBudget::Reservation r = budget.reserve(5000); });
    std::this_thread::sleep_for(std::chrono::milliseconds(50));
    EXPECT_EQ(budget.inUse(), 100u);
    small.release();
    alone.join();
    EXPECT_EQ(budget.inUse(), 0u);
}

}  // namespace
}  // namespace corvelle
