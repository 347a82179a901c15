// A whole run: overwrite answers, the resized count, the step record and the report of a
// run that ended abnormally.
#include <gtest/gtest.h>

#include <sys/stat.h>
#include <unistd.h>

#include <filesystem>

#include "core/batch_run.h"
#include "core/error_report.h"
#include "core/settings_names.h"
#include "core/settings_store.h"
#include "core/step_record.h"
#include "support/temp_folder.h"
#include "support/test_pictures.h"

namespace corvelle {
namespace {

using testing::ReadFileBytes;
using testing::TempFolder;
using testing::WriteTestPicture;
namespace fs = std::filesystem;
namespace names = brevoll_settings;

void writeBytes(const std::string& path, const std::vector<uint8_t>& bytes) {
    fs::create_directories(fs::path(path).parent_path());
    testing::WriteFileBytes(path, bytes);
}

std::string stored(const SettingsStore& store, std::string_view name) {
    return store.readString(kBrevollSection, name, "<none>");
}

std::string recordPathOf(const SettingsStore& store) { return StepRecordPath(store.filePath()); }
StepRecord recorded(const SettingsStore& store) { return ReadStepRecord(recordPathOf(store)); }

class BatchRunTest : public ::testing::Test {
  protected:
    void SetUp() override {
        for (const char* name : {"p1.jpg", "p2.jpg", "p3.jpg", "p4.jpg", "p5.jpg"}) {
            WriteTestPicture(temp.file(std::string("src/") + name));
            writeBytes(temp.file(std::string("dst/") + name), {'o', 'l', 'd'});
        }
        settings.sourceFolder = temp.file("src");
        settings.destinationFolder = temp.file("dst");
        settings.method = kMethodRatio;
        settings.sizeValue = 50;
    }

    // Runs to the end answering the questions in turn; returns the count of questions.
    int runAnswering(std::vector<OverwriteAnswer> answers, BatchRun** out = nullptr) {
        size_t asked = 0;
        run = std::make_unique<BatchRun>(settings, markers, [&](const std::string&) {
            return asked < answers.size() ? answers[asked++] : OverwriteAnswer::Cancel;
        });
        run->collect();
        while (run->next()) {
        }
        if (out) *out = run.get();
        return int(asked);
    }

    bool replaced(const char* name) {
        return ReadFileBytes(temp.file(std::string("dst/") + name)) !=
               std::vector<uint8_t>{'o', 'l', 'd'};
    }

    TempFolder temp;
    RunSettings settings;
    SettingsStore store{kBrevollSettings};
    StepMarkerBoard markers{recordPathOf(store)};
    std::unique_ptr<BatchRun> run;
};

TEST_F(BatchRunTest, NoAsksAgainAndSkipAllStopsAsking) {
    using A = OverwriteAnswer;
    EXPECT_EQ(runAnswering({A::No, A::Yes, A::SkipAll}), 3);
    EXPECT_FALSE(replaced("p1.jpg"));
    EXPECT_TRUE(replaced("p2.jpg"));
    EXPECT_FALSE(replaced("p3.jpg"));
    EXPECT_FALSE(replaced("p5.jpg"));
    EXPECT_EQ(run->resized(), 1);
    EXPECT_TRUE(run->finished());
    EXPECT_FALSE(run->cancelled());
}

TEST_F(BatchRunTest, YesAllStopsAskingAndOverwritesEveryFile) {
    EXPECT_EQ(runAnswering({OverwriteAnswer::YesAll}), 1);
    for (const char* name : {"p1.jpg", "p2.jpg", "p3.jpg", "p4.jpg", "p5.jpg"})
        EXPECT_TRUE(replaced(name)) << name;
    EXPECT_EQ(run->resized(), 5);
    // The step record is cleared; the last picture stays named.
    EXPECT_EQ(recorded(store).step, "");
    EXPECT_EQ(recorded(store).currentImage, temp.file("src/p5.jpg"));
}

TEST_F(BatchRunTest, CancelEndsTheRunWithTheCountSoFar) {
    using A = OverwriteAnswer;
    EXPECT_EQ(runAnswering({A::Yes, A::Yes, A::Cancel}), 3);
    EXPECT_TRUE(run->cancelled());
    EXPECT_TRUE(run->finished());
    EXPECT_EQ(run->resized(), 2);
    EXPECT_EQ(run->taken(), 3);
    EXPECT_FALSE(replaced("p3.jpg"));
    EXPECT_FALSE(run->next().has_value());
}

TEST_F(BatchRunTest, NewFilesNeedNoQuestionAndNonPicturesAreNotCounted) {
    fs::remove_all(temp.file("dst"));
    writeBytes(temp.file("src/sub/broken.jpg"), {'x'});
    WriteTestPicture(temp.file("src/sub/deep/p6.jpg"));
    EXPECT_EQ(runAnswering({}), 0);
    EXPECT_EQ(run->total(), 7);
    EXPECT_EQ(run->resized(), 6);
    EXPECT_TRUE(fs::exists(temp.file("dst/sub/deep/p6.jpg")));
    EXPECT_FALSE(fs::exists(temp.file("dst/sub/broken.jpg")));

    settings.destinationFolder = "";
    runAnswering({});
    EXPECT_EQ(run->total(), 0);
}

TEST_F(BatchRunTest, NamesAtTheLengthLimitAreConvertedInPlace) {
    // Same folder, "Yes All": the pictures themselves are the targets, however long their
    // names (the temporary file beside them has a short name of its own).
    settings.destinationFolder = settings.sourceFolder;
    const std::string longName = temp.file("src/" + std::string(251, 'n') + ".jpg");
    WriteTestPicture(longName);
    const auto original = ReadFileBytes(longName);
    EXPECT_EQ(runAnswering({OverwriteAnswer::YesAll}), 1);
    EXPECT_NE(ReadFileBytes(longName), original);
    EXPECT_EQ(run->resized(), 6);
}

TEST_F(BatchRunTest, AFolderThatCannotBeMadeFailsItsPicturesAndTheRunGoesOn) {
    WriteTestPicture(temp.file("src/s/q.jpg"));
    WriteTestPicture(temp.file("src/t/r.jpg"));
    writeBytes(temp.file("dst/s"), {'f', 'i', 'l', 'e'});  // where the folder should be
    EXPECT_EQ(runAnswering({OverwriteAnswer::SkipAll}), 1);
    EXPECT_EQ(run->resized(), 1);  // t/r.jpg; the five old files were skipped
    EXPECT_TRUE(fs::exists(temp.file("dst/t/r.jpg")));
    EXPECT_EQ(ReadFileBytes(temp.file("dst/s")), (std::vector<uint8_t>{'f', 'i', 'l', 'e'}));
}

TEST_F(BatchRunTest, AReadOnlyDestinationKeepsItsFiles) {
    if (geteuid() == 0) GTEST_SKIP() << "the superuser writes into read-only folders";
    chmod(temp.file("dst").c_str(), 0555);
    EXPECT_EQ(runAnswering({OverwriteAnswer::YesAll}), 1);
    chmod(temp.file("dst").c_str(), 0755);
    EXPECT_EQ(run->resized(), 0);
    EXPECT_FALSE(replaced("p1.jpg"));
}

// However many pictures are converted at a time, each is finished and told in list order,
// skipped and failed ones included, and the counts are those of a one-at-a-time run.
TEST_F(BatchRunTest, RunJobsTellsEveryPictureInListOrderWithAnyNumberOfJobs) {
    for (const char* name : {"p1.jpg", "p3.jpg", "p4.jpg", "p5.jpg"})
        fs::remove(temp.file(std::string("dst/") + name));
    writeBytes(temp.file("src/p3.jpg"), {'x'});
    for (int jobs : {1, 2, 3}) {
        BatchRun run(settings, markers,
                     [](const std::string&) { return OverwriteAnswer::SkipAll; });
        run.collect();
        std::vector<std::pair<int, PictureOutcome>> told;
        RunJobs(run, jobs,
                [&](const PictureJob& job) { told.emplace_back(job.index, job.outcome); });
        using O = PictureOutcome;
        EXPECT_EQ(told, (std::vector<std::pair<int, PictureOutcome>>{{0, O::Resized},
                                                                     {1, O::Skipped},
                                                                     {2, O::Failed},
                                                                     {3, O::Resized},
                                                                     {4, O::Resized}}))
            << jobs << " jobs";
        EXPECT_EQ(run.resized(), 3);
        ASSERT_EQ(run.failures().size(), 1u);
        EXPECT_EQ(run.failures()[0].source, temp.file("src/p3.jpg"));
        EXPECT_EQ(recorded(store).step, "");
        for (const char* name : {"p1.jpg", "p4.jpg", "p5.jpg"})
            fs::remove(temp.file(std::string("dst/") + name));
    }
}

TEST(StepMarkerBoard, NamesAPictureUnderWayUntilNoneIsLeft) {
    SettingsStore store(kBrevollSettings);
    StepMarkerBoard board(recordPathOf(store));
    const int a = board.begin("/a.jpg");
    EXPECT_EQ(recorded(store).currentImage, "/a.jpg");
    board.setStep(a, "Read JPEG");
    const int b = board.begin("/b.jpg");
    board.setStep(b, "Resize DIB");
    EXPECT_EQ(recorded(store).currentImage, "/b.jpg");
    EXPECT_EQ(recorded(store).step, "Resize DIB");
    board.end(b);
    EXPECT_EQ(recorded(store).currentImage, "/a.jpg");
    EXPECT_EQ(recorded(store).step, "Read JPEG");
    board.end(a);
    EXPECT_EQ(recorded(store).step, "");
}

TEST(RunClock, LeavesOutTheTimeSpentStopped) {
    RunClock clock;
    clock.start(1000);
    clock.pictureDone(3000);
    // Stopped at 3000, continued at 10000.
    clock.start(10000);
    EXPECT_EQ(clock.elapsedMs(11000), 3000u);
}

class AbnormalEndReport : public ::testing::Test {
  protected:
    void SetUp() override {
        const std::string_view s = kBrevollSection;
        StepRecordFile(recordPathOf(store)).write({"Save JPEG", "/photos/a b.jpg"});
        store.writeInt(s, names::kMethod, 2);
        store.writeInt(s, names::kFixSize, 800);
        store.writeString(s, names::kSourcePath, "/photos");
        store.writeString(s, names::kDestPath, "/out");
        store.writeInt(s, names::kRecursive, 0);
        store.writeInt(s, names::kCompressRatio, 85);
        store.writeInt(s, names::kExifInfo, 1);
    }
    void TearDown() override {
        for (auto name : {names::kMethod, names::kFixSize, names::kRecursive, names::kCompressRatio,
                          names::kExifInfo})
            store.writeString(kBrevollSection, name, "");
        StepRecordFile(recordPathOf(store)).write({});
    }
    std::optional<std::string> report(const std::string& path) {
        return ReportAbnormalEnd(store, recordPathOf(store), path);
    }
    TempFolder temp;
    SettingsStore store{kBrevollSettings};
};

TEST_F(AbnormalEndReport, AppendsTheLinesAndClearsTheMarker) {
    const std::string path = temp.file("state/Corvelle/Brevoll/Error.txt");
    const auto message = report(path);
    ASSERT_TRUE(message.has_value());
    // The report's full path stands on the line after the one naming Error.txt.
    EXPECT_EQ(message->find("이전 실행에서"), 0u);
    EXPECT_NE(message->find("Error.txt와\n" + path + "\n [/photos/a b.jpg] 파일을 \n"),
              std::string::npos);
    EXPECT_EQ(recorded(store).step, "");
    EXPECT_FALSE(report(path).has_value());

    // A marker left among the settings by an earlier version is reported once too.
    store.writeString(kBrevollSection, names::kErrorOperation, "Read JPEG");
    store.writeString(kBrevollSection, names::kCurrentImage, "/photos/a b.jpg");
    store.writeInt(kBrevollSection, names::kMethod, 0);
    ASSERT_TRUE(report(path).has_value());
    EXPECT_EQ(stored(store, names::kErrorOperation), "");
    const std::string expected =
        "Error Operation : Save JPEG\r\n"
        "Error File Path : /photos/a b.jpg\r\n"
        "800 pixel resize\r\n"
        "Source Path = /photos\r\n"
        "Dest. Path = /out\r\n"
        "Include Sub-Folder = 0, Compress Ratio = 85, Include Exif = 1\r\n\r\n"
        "Error Operation : Read JPEG\r\n"
        "Error File Path : /photos/a b.jpg\r\n"
        "50% resize\r\n"
        "Source Path = /photos\r\n"
        "Dest. Path = /out\r\n"
        "Include Sub-Folder = 0, Compress Ratio = 85, Include Exif = 1\r\n\r\n";
    const auto bytes = ReadFileBytes(path);
    EXPECT_EQ(std::string(bytes.begin(), bytes.end()), expected);
}

TEST_F(AbnormalEndReport, KeepsTheMarkerWhenTheReportCannotBeWritten) {
    fs::create_directories(temp.file("Error.txt"));
    EXPECT_FALSE(report(temp.file("Error.txt")).has_value());
    EXPECT_EQ(recorded(store).step, "Save JPEG");
}

}  // namespace
}  // namespace corvelle
