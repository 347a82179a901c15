// `brevoll --batch` as a user runs it, without a terminal.
#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <vips/vips8>

#include "core/command_line.h"
#include "core/settings_names.h"
#include "core/settings_store.h"
#include "support/temp_folder.h"
#include "support/test_pictures.h"

namespace corvelle {
namespace {

using testing::TempFolder;
using testing::WriteTestPicture;
namespace fs = std::filesystem;
namespace names = brevoll_settings;

struct ProgramRun {
    int status = -1;
    std::string output;  // stdout and stderr together
};

std::string quoted(const std::string& text) {
    std::string q = "'";
    for (char c : text) q += c == '\'' ? std::string("'\\''") : std::string(1, c);
    return q + "'";
}

ProgramRun brevoll(const std::vector<std::string>& args) {
    std::string command = quoted(CORVELLE_PROGRAM_PATH);
    for (const auto& arg : args) command += " " + quoted(arg);
    command += " < /dev/null 2>&1";
    ProgramRun run;
    FILE* pipe = popen(command.c_str(), "r");
    if (pipe == nullptr) return run;
    char buffer[4096];
    size_t got;
    while ((got = fread(buffer, 1, sizeof buffer, pipe)) > 0) run.output.append(buffer, got);
    const int status = pclose(pipe);
    run.status = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    return run;
}

TEST(CommandLine, ReportsAnAbnormalEndOfThePreviousRunAtStart) {
    TempFolder temp;
    SettingsStore store(kBrevollSettings);
    store.writeString(kBrevollSection, names::kErrorOperation, "Resize DIB");
    store.writeString(kBrevollSection, names::kCurrentImage, "/photos/killed.jpg");
    const std::string report = StateHomeFolder() + "/Corvelle/Brevoll/Error.txt";
    fs::remove(report);
    fs::create_directories(temp.file("empty"));

    const ProgramRun run =
        brevoll({"--batch", "--source", temp.file("empty"), "--dest", temp.file("out")});
    EXPECT_EQ(run.status, 0) << run.output;
    EXPECT_NE(run.output.find(" [/photos/killed.jpg] 파일을 "), std::string::npos) << run.output;
    EXPECT_NE(run.output.find("0 Resized"), std::string::npos);
    const auto bytes = testing::ReadFileBytes(report);
    const std::string text(bytes.begin(), bytes.end());
    EXPECT_EQ(text.find("Error Operation : Resize DIB\r\nError File Path : /photos/killed.jpg\r\n"),
              0u);
    SettingsStore after(kBrevollSettings);
    EXPECT_EQ(after.readString(kBrevollSection, names::kErrorOperation, "?"), "");
}

TEST(CommandLine, SaysWhyASourceFolderGivesNothing) {
    TempFolder temp;
    ProgramRun run = brevoll({"--batch", "--source", temp.file("gone"), "--dest", temp.file("o")});
    EXPECT_EQ(run.status, 1);
    EXPECT_EQ(run.output, "brevoll: " + temp.file("gone") + ": not found\n");

    fs::create_directories(temp.file("locked"));
    fs::permissions(temp.file("locked"), fs::perms::none);
    run = brevoll({"--batch", "--source", temp.file("locked"), "--dest", temp.file("o")});
    fs::permissions(temp.file("locked"), fs::perms::owner_all);
    if (geteuid() == 0) GTEST_SKIP() << "root reads every folder";
    EXPECT_EQ(run.status, 1);
    EXPECT_EQ(run.output, "brevoll: " + temp.file("locked") + ": cannot be read\n");
}

TEST(CommandLine, WarnsOfAPictureCutShortAndStillConvertsIt) {
    TempFolder temp;
    testing::TestPictureOptions picture;
    picture.width = 256;
    picture.height = 192;
    picture.pattern = true;
    auto bytes = testing::MakeTestPicture(picture);
    bytes.resize(bytes.size() * 2 / 3);
    fs::create_directories(temp.file("src"));
    testing::WriteFileBytes(temp.file("src/cut.jpg"), bytes);
    WriteTestPicture(temp.file("src/whole.jpg"));
    const ProgramRun run =
        brevoll({"--batch", "--source", temp.file("src"), "--dest", temp.file("out")});
    EXPECT_EQ(run.status, 0) << run.output;
    EXPECT_NE(run.output.find("brevoll: warning: " + temp.file("src/cut.jpg") + " is cut short"),
              std::string::npos)
        << run.output;
    EXPECT_EQ(run.output.find("whole.jpg is cut"), std::string::npos);
    EXPECT_NE(run.output.find("2 Resized"), std::string::npos);
}

TEST(CommandLine, ConvertsWithTheGivenOptionsClampedAsTheDialogDoes) {
    TempFolder temp;
    testing::TestPictureOptions picture;
    picture.width = 400;
    picture.height = 300;
    WriteTestPicture(temp.file("src/a/p.jpg"), picture);
    WriteTestPicture(temp.file("src/q.JPG"), picture);
    testing::WriteFileBytes(temp.file("src/notes.txt"), {'x'});

    const ProgramRun run =
        brevoll({"--batch", "--source", temp.file("src"), "--dest", temp.file("dst"), "--pixel",
                 "200", "--border", "ff0000", "--margin", "80", "--prefix", "r_", "--postfix", "_s",
                 "--no-exif", "-j", "2"});
    ASSERT_EQ(run.status, 0) << run.output;
    EXPECT_NE(run.output.find("1 / 2"), std::string::npos) << run.output;
    EXPECT_NE(run.output.find("2 Resized"), std::string::npos) << run.output;
    const std::string out = temp.file("dst/a/r_p_s.jpg");
    ASSERT_TRUE(fs::exists(out)) << run.output;
    ASSERT_TRUE(fs::exists(temp.file("dst/r_q_s.JPG")));
    const auto image = vips::VImage::new_from_file(out.c_str());
    EXPECT_EQ(image.width(), 200);
    EXPECT_EQ(image.height(), 150);
    // The margin of 80 ran as 50: red up to column 49, the picture's gray from 50 on.
    const auto border = image.getpoint(49, 75);
    const auto inside = image.getpoint(52, 75);
    EXPECT_GT(border[0], 200);
    EXPECT_LT(border[1], 60);
    EXPECT_LT(inside[0], 160);
    EXPECT_GT(inside[1], 100);

    // Without a terminal existing files are skipped.
    const ProgramRun again = brevoll({"--batch", "--source", temp.file("src"), "--dest",
                                      temp.file("dst"), "--prefix", "r_", "--postfix", "_s"});
    EXPECT_EQ(again.status, 0);
    EXPECT_NE(again.output.find("0 Resized"), std::string::npos) << again.output;
}

TEST(CommandLine, RefusesSameFoldersWithoutTerminalUnlessTold) {
    TempFolder temp;
    WriteTestPicture(temp.file("src/p.jpg"));
    const auto before = testing::ReadFileBytes(temp.file("src/p.jpg"));
    ProgramRun run =
        brevoll({"--batch", "--source", temp.file("src"), "--dest", temp.file("src/")});
    EXPECT_EQ(run.status, 2);
    EXPECT_EQ(testing::ReadFileBytes(temp.file("src/p.jpg")), before);
    run = brevoll({"--batch", "--source", temp.file("src"), "--dest", temp.file("src"),
                   "--overwrite", "yes-all", "--ratio", "0"});
    EXPECT_EQ(run.status, 0) << run.output;
    EXPECT_NE(run.output.find("1 Resized"), std::string::npos);
    // A ratio of 0 ran at 1 %: 64x48 became 1x0, drawn one pixel high at least.
    const auto image = vips::VImage::new_from_file(temp.file("src/p.jpg").c_str());
    EXPECT_EQ(image.width(), 1);
    EXPECT_EQ(image.height(), 1);
}

TEST(CommandLine, ParsesOptionsOverTheStoredFields) {
    DialogFields stored;
    stored.sourcePath = "/stored";
    auto parsed = ParseBrevollArguments({"--batch", "--bound", "640x480", "--fit", "--stamp",
                                         "bottom-center", "--opaque", "--interpolation=5", "-j3"},
                                        stored);
    ASSERT_TRUE(parsed.error.empty()) << parsed.error;
    EXPECT_TRUE(parsed.batch);
    EXPECT_EQ(parsed.options.fields.sourcePath, "/stored");
    const RunSettings r = CaptureRunSettings(parsed.options.fields);
    EXPECT_EQ(r.method, kMethodBound);
    EXPECT_EQ(r.sizeValue, 640u + 480u * 65536u);
    EXPECT_TRUE(r.fitToBound);
    EXPECT_EQ(r.stampPosition, 5);
    EXPECT_FALSE(r.semiTransparent);
    EXPECT_EQ(r.interpolationMode, 5);
    EXPECT_EQ(parsed.options.jobs, 3);

    for (const std::vector<std::string>& bad : {std::vector<std::string>{"--ratio", "ten"},
                                                {"--bound", "800"},
                                                {"--stamp", "middle"},
                                                {"--interpolation", "high"},
                                                {"--overwrite", "maybe"},
                                                {"--quality"},
                                                {"--max-pixels", "many"},
                                                {"--frobnicate"}})
        EXPECT_FALSE(ParseBrevollArguments(bad, stored).error.empty()) << bad[0];
    EXPECT_EQ(brevoll({"--batch", "--ratio", "ten"}).status, 2);

    parsed = ParseBrevollArguments({"--max-pixels", "5000000000", "--jpeg-only"}, stored);
    ASSERT_TRUE(parsed.error.empty()) << parsed.error;
    EXPECT_EQ(CaptureRunSettings(parsed.options.fields).maxPixels, 5000000000);
    EXPECT_FALSE(CaptureRunSettings(parsed.options.fields).allPictureTypes);
    EXPECT_TRUE(CaptureRunSettings(stored).allPictureTypes);

    parsed = ParseBrevollArguments({"--max-pixels", "0"}, stored);
    EXPECT_EQ(parsed.options.fields.maxPixels, 1);
    ASSERT_EQ(parsed.options.warnings.size(), 1u);
    EXPECT_NE(parsed.options.warnings[0].find("1.."), std::string::npos);
}

TEST(CommandLine, RefusesPicturesPastThePixelLimitAndGoesOn) {
    TempFolder temp;
    WriteTestPicture(temp.file("src/a.jpg"));
    testing::TestPictureOptions big;
    big.width = 200;
    WriteTestPicture(temp.file("src/b.jpg"), big);
    const ProgramRun run = brevoll({"--batch", "--source", temp.file("src"), "--dest",
                                    temp.file("dst"), "--max-pixels", "5000"});
    EXPECT_EQ(run.status, 1);
    EXPECT_NE(run.output.find("brevoll: cannot convert " + temp.file("src/b.jpg") +
                              ": too large (200 x 48)\n"),
              std::string::npos)
        << run.output;
    EXPECT_NE(run.output.find("1 Resized"), std::string::npos);
    EXPECT_TRUE(fs::exists(temp.file("dst/a.jpg")));
    EXPECT_FALSE(fs::exists(temp.file("dst/b.jpg")));
}

TEST(BrevollCommandLine, NumbersOutsideTheirRangeAreKeptInItWithAWarning) {
    const DialogFields stored;
    const ParsedCommandLine parsed =
        ParseBrevollArguments({"--batch", "--ratio", "500", "--quality=-5", "--margin", "20",
                               "--interpolation", "8", "-j", "0"},
                              stored);
    ASSERT_TRUE(parsed.error.empty()) << parsed.error;
    EXPECT_EQ(parsed.options.fields.sizeRatio, 100);
    EXPECT_EQ(parsed.options.fields.compressRatio, 10);
    EXPECT_EQ(parsed.options.fields.borderMargin, 20);
    EXPECT_EQ(parsed.options.fields.interpolationMethod, 7);
    EXPECT_EQ(parsed.options.jobs, 1);
    EXPECT_EQ(parsed.options.warnings,
              (std::vector<std::string>{"--ratio 500 is outside 1..100; 100 is used",
                                        "--quality -5 is outside 10..100; 10 is used",
                                        "--interpolation 8 is outside 0..7; 7 is used",
                                        "-j 0 is outside 1..64; 1 is used"}));
}

}  // namespace
}  // namespace corvelle
