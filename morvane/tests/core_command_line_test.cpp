#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

#include <filesystem>

#include "core/command_line.h"
#include "core/gray_rendering.h"
#include "core/jpeg_file.h"
#include "core/noise_filter.h"
#include "core/settings_store.h"
#include "core/trim_frame.h"
#include "support/exif_builder.h"
#include "support/temp_folder.h"

namespace corvelle {
namespace {

using testing::EncodeTestJpeg;
using testing::ReadFileBytes;
using testing::TempFolder;
using testing::TestJpegOptions;
using testing::WriteFileBytes;

MorvaneCommandLine Parse(const std::vector<std::string>& arguments, int storedQuality = 100) {
    return ParseMorvaneArguments(arguments, [storedQuality] { return storedQuality; });
}

TEST(MorvaneArguments, FilesAloneOpenTheWindow) {
    for (const std::vector<std::string>& arguments :
         {std::vector<std::string>{}, {"a.jpg", "b c.jpg"}, {"--", "-x.jpg"}}) {
        const MorvaneCommandLine line = Parse(arguments);
        EXPECT_EQ(line.mode, MorvaneCommandLine::Mode::Window) << arguments.size();
        EXPECT_EQ(line.error, "");
    }
}

TEST(MorvaneArguments, ConvertReadsEveryOptionInEitherSpelling) {
    const MorvaneCommandLine line =
        Parse({"--convert", "in.jpg", "--denoise=40,25", "--gray", "4336", "--trim", "2",
               "--trim-offset", "-3,100", "-o=out.jpg", "--quality", "75"});
    ASSERT_EQ(line.error, "");
    EXPECT_EQ(line.mode, MorvaneCommandLine::Mode::Convert);
    const ConvertRequest& r = line.request;
    EXPECT_EQ(r.input, "in.jpg");
    EXPECT_EQ(r.output, "out.jpg");
    EXPECT_EQ(r.gray, GrayLevels::k4336);
    EXPECT_EQ(r.trimSize, 2);
    EXPECT_EQ(r.trimOffset.x, -3);
    EXPECT_EQ(r.trimOffset.y, 100);
    ASSERT_TRUE(r.denoise);
    EXPECT_EQ(r.denoise->threshold, 40);
    EXPECT_EQ(r.denoise->regionSize, 25);
    EXPECT_EQ(r.quality, 75);
    EXPECT_TRUE(line.warnings.empty());
}

TEST(MorvaneArguments, QualityComesFromTheStoredCompressRatioForJpegOnly) {
    struct Case {
        std::vector<std::string> arguments;
        int quality;
        bool asksStore;
    };
    const Case cases[] = {
        {{"--convert", "a.jpg", "-o", "OUT.JPEG"}, 40, true},
        {{"--convert", "a.jpg", "-o", "b.jpg", "--quality", "75"}, 75, false},
        {{"--convert", "a.jpg", "-o", "b.bmp"}, 100, false},
    };
    for (const Case& c : cases) {
        bool asked = false;
        const MorvaneCommandLine line = ParseMorvaneArguments(c.arguments, [&] {
            asked = true;
            return 40;
        });
        ASSERT_EQ(line.error, "") << c.arguments[3];
        EXPECT_EQ(line.request.quality, c.quality) << c.arguments[3];
        EXPECT_EQ(asked, c.asksStore) << c.arguments[3];
    }
}

// A number outside its range is brought into it with one warning line, in option order.
TEST(MorvaneArguments, NumbersOutsideTheirRangeWarn) {
    const MorvaneCommandLine line = Parse(
        {"--convert", "a.jpg", "--trim", "9", "--quality", "500", "--denoise", "0,9", "-o", "b.jpg"});
    ASSERT_EQ(line.error, "");
    EXPECT_EQ(line.request.trimSize, 6);
    EXPECT_EQ(line.request.quality, 100);
    EXPECT_EQ(line.request.denoise->threshold, 1);
    EXPECT_EQ(line.warnings, (std::vector<std::string>{
                                 "--trim 9 is outside 1..6; 6 is used",
                                 "--denoise THRESHOLD 0 is outside 1..255; 1 is used",
                                 "--quality 500 is outside 1..100; 100 is used"}));
}

TEST(MorvaneArguments, BadUsageSaysWhy) {
    struct Case {
        std::vector<std::string> arguments;
        std::string error;
    };
    const Case cases[] = {
        {{"--convert", "a.jpg"}, "--convert needs -o OUT"},
        {{"-o", "b.jpg"}, "the options need --convert IN"},
        {{"--sharpen", "a.jpg"}, "unknown option --sharpen"},
        {{"--convert", "a.jpg", "-o", "b.jpg", "--sharpen"}, "unknown option --sharpen"},
        {{"--convert", "a.jpg", "-o", "b.gif"}, "OUT must end in .jpg, .jpeg or .bmp: b.gif"},
        {{"--convert", "", "-o", "b.jpg"}, "empty file name"},
        {{"--convert", "a.jpg", "-o", "b.jpg", "--gray", "256"}, "--gray takes 1786 or 4336, not 256"},
        {{"--convert", "a.jpg", "-o", "b.jpg", "--trim", "six"}, "--trim takes a print size from 1 to 6"},
        {{"--convert", "a.jpg", "-o", "b.jpg", "--trim-offset", "1,2"}, "--trim-offset needs --trim"},
        {{"--convert", "a.jpg", "-o", "b.jpg", "--trim", "1", "--trim-offset", "1"},
         "--trim-offset takes DX,DY in pixels"},
        {{"--convert", "a.jpg", "-o", "b.jpg", "--quality", "high"},
         "--quality takes a number from 1 to 100"},
        {{"--convert", "a.jpg", "-o", "b.jpg", "--denoise", "20"}, "--denoise takes THRESHOLD,REGION"},
        {{"--convert", "a.jpg", "-o", "b.jpg", "extra"}, "unexpected argument extra"},
        {{"--convert", "a.jpg", "-o", "b.jpg", "--", "c.jpg"}, "unexpected argument c.jpg"},
        {{"--convert", "a.jpg", "-o", "b.jpg", "-o", "c.jpg"}, "-o given twice"},
        {{"--convert", "a.jpg", "-o"}, "-o needs a value"},
    };
    for (const Case& c : cases) EXPECT_EQ(Parse(c.arguments).error, c.error) << c.error;
}

// Every step through .bmp: the bytes are exactly those of the core functions in order.
TEST(ConvertCommand, GivesTheCoreBytes) {
    TempFolder folder;
    TestJpegOptions options;
    options.quality = 95;
    options.pixel = [](int x, int y) {
        return ((uint32_t(x * 7919 + y * 104729) * 2654435761u >> 8) & 0x3F3F3Fu) |
               uint32_t(x * 4);
    };
    const std::string input = folder.file("in.jpg");
    WriteFileBytes(input, EncodeTestJpeg(61, 40, options));
    ConvertRequest request;
    request.input = input;
    request.output = folder.file("out.bmp");
    request.denoise = NoiseFilterSettings{40, 25};
    request.gray = GrayLevels::k4336;
    request.trimSize = 2;
    request.trimOffset = {-3, 100};
    ASSERT_TRUE(RunConvert(request).ok);

    std::optional<PackedDib> expected = LoadJpegFile(input);
    ASSERT_TRUE(expected);
    ApplyNoiseFilter({40, 25}, *expected);
    expected = RenderGray4336(*expected);
    // 61 x 40 with 4" x 6": 59 x 40 at left 1, so the frame moves one column left at most.
    const DibRect frame = TrimFrameInPicture(61, 40, 2, {-3, 100});
    EXPECT_EQ(frame, (DibRect{0, 0, 59, 40}));
    expected = CropDib(*expected, frame);
    EXPECT_EQ(ReadFileBytes(request.output), BmpFileBytes(*expected));

    // A grayscale photo is not rendered: it stays as loaded.
    TestJpegOptions gray;
    gray.components = 1;
    WriteFileBytes(folder.file("gray.jpg"), EncodeTestJpeg(20, 10, gray));
    request = {};
    request.input = folder.file("gray.jpg");
    request.output = folder.file("out.bmp");
    request.gray = GrayLevels::k1786;
    request.denoise = NoiseFilterSettings{20, 9};
    ASSERT_TRUE(RunConvert(request).ok);
    EXPECT_EQ(ReadFileBytes(request.output), BmpFileBytes(*LoadJpegFile(request.input)));

    // JPEG output at the request's quality.
    request.output = folder.file("q75.jpg");
    request.quality = 75;
    ASSERT_TRUE(RunConvert(request).ok);
    ASSERT_TRUE(SaveJpegFile(folder.file("expected.jpg"), *LoadJpegFile(request.input), 75));
    EXPECT_EQ(ReadFileBytes(request.output), ReadFileBytes(folder.file("expected.jpg")));
}

TEST(ConvertCommand, FailuresNameTheFile) {
    TempFolder folder;
    WriteFileBytes(folder.file("in.jpg"), EncodeTestJpeg(16, 16));
    WriteFileBytes(folder.file("text.jpg"), {'h', 'e', 'l', 'l', 'o'});
    struct Case {
        std::string input, output, error;
    };
    const Case cases[] = {
        {folder.file("missing.jpg"), folder.file("out.jpg"),
         folder.file("missing.jpg") + ": cannot open: No such file or directory"},
        {folder.file("text.jpg"), folder.file("out.jpg"),
         folder.file("text.jpg") + ": cannot decode: Not a JPEG file: starts with 0x68 0x65"},
        {folder.file("in.jpg"), folder.file("none/out.bmp"),
         folder.file("none/out.bmp") + ": cannot write: No such file or directory"},
    };
    for (const Case& c : cases) {
        ConvertRequest request;
        request.input = c.input;
        request.output = c.output;
        const ConvertResult result = RunConvert(request);
        EXPECT_FALSE(result.ok);
        EXPECT_EQ(result.error, c.error);
    }
    EXPECT_FALSE(std::filesystem::exists(folder.file("out.jpg")));
}

struct ProgramRun {
    int status = -1;
    std::string errors;  // what the program wrote on its error stream
};

// Runs the built program with the arguments, capturing the error stream.
ProgramRun RunMorvane(const std::vector<std::string>& arguments) {
    int pipeEnds[2];
    if (pipe(pipeEnds) != 0) return {};
    const pid_t child = fork();
    if (child == 0) {
        dup2(pipeEnds[1], STDERR_FILENO);
        close(pipeEnds[0]);
        close(pipeEnds[1]);
        std::vector<char*> argv{const_cast<char*>(CORVELLE_PROGRAM_PATH)};
        for (const std::string& argument : arguments)
            argv.push_back(const_cast<char*>(argument.c_str()));
        argv.push_back(nullptr);
        execv(CORVELLE_PROGRAM_PATH, argv.data());
        _exit(127);
    }
    close(pipeEnds[1]);
    ProgramRun run;
    char buffer[512];
    ssize_t count;
    while ((count = read(pipeEnds[0], buffer, sizeof buffer)) > 0)
        run.errors.append(buffer, size_t(count));
    close(pipeEnds[0]);
    int status = 0;
    waitpid(child, &status, 0);
    run.status = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    return run;
}

// The program itself: its exit statuses and error lines, and the stored compress ratio.
TEST(MorvaneProgram, ExitStatusesAndErrorLines) {
    TempFolder folder;
    const std::string input = folder.file("in.jpg");
    WriteFileBytes(input, EncodeTestJpeg(16, 16));
    SettingsStore(kMorvaneSettings).writeInt("Settings", "Compress ratio", 40);
    ProgramRun run = RunMorvane({"--convert", input, "--trim", "9", "-o", folder.file("out.jpg")});
    EXPECT_EQ(run.status, 0);
    EXPECT_EQ(run.errors, "morvane: warning: --trim 9 is outside 1..6; 6 is used\n");
    ConvertRequest request;
    request.input = input;
    request.output = folder.file("q40.jpg");
    request.trimSize = 6;
    request.quality = 40;
    ASSERT_TRUE(RunConvert(request).ok);
    EXPECT_EQ(ReadFileBytes(folder.file("out.jpg")), ReadFileBytes(request.output));
    SettingsStore(kMorvaneSettings).writeInt("Settings", "Compress ratio", 100);

    run = RunMorvane({"--convert", folder.file("missing.jpg"), "-o", folder.file("x.jpg")});
    EXPECT_EQ(run.status, 1);
    EXPECT_EQ(run.errors, "morvane: " + folder.file("missing.jpg") +
                              ": cannot open: No such file or directory\n");

    run = RunMorvane({"--convert", input, "-o", folder.file("x.jpg"), "--sharpen"});
    EXPECT_EQ(run.status, 2);
    EXPECT_EQ(run.errors.rfind("morvane: unknown option --sharpen\nUsage:", 0), 0u) << run.errors;
    EXPECT_FALSE(std::filesystem::exists(folder.file("x.jpg")));
}

// Stored settings are found by the profile name of the first release, whatever the version.
TEST(MorvaneProgram, SettingsProfileNameStaysFixed) {
    EXPECT_STREQ(kMorvaneSettings.profileName, "Morvane Ver 1.1(build 18)");
}

}  // namespace
}  // namespace corvelle
