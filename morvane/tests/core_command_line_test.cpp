#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

#include <filesystem>

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

class CommandLine : public ::testing::Test {
  protected:
    void SetUp() override {
        TestJpegOptions options;
        options.quality = 95;
        options.pixel = [](int x, int y) {
            return ((uint32_t(x * 7919 + y * 104729) * 2654435761u >> 8) & 0x3F3F3Fu) |
                   uint32_t(x * 4);
        };
        WriteFileBytes(m_input, EncodeTestJpeg(61, 40, options));
    }

    TempFolder m_folder;
    const std::string m_input = m_folder.file("in.jpg");
};

// Every step through .bmp: the bytes are exactly those of the core functions in order.
TEST_F(CommandLine, ConvertGivesTheCoreBytes) {
    const std::string out = m_folder.file("out.bmp");
    const ProgramRun run = RunMorvane({"--convert", m_input, "--denoise", "40,25", "--gray", "4336",
                                       "--trim", "2", "--trim-offset=-3,100", "-o", out});
    ASSERT_EQ(run.status, 0) << run.errors;
    EXPECT_EQ(run.errors, "");

    std::optional<PackedDib> expected = LoadJpegFile(m_input);
    ASSERT_TRUE(expected);
    ApplyNoiseFilter({40, 25}, *expected);
    expected = RenderGray4336(*expected);
    // 61 x 40 with 4" x 6": 59 x 40 at left 1, so the frame moves one column left at most.
    const DibRect frame = TrimFrameInPicture(61, 40, 2, {-3, 100});
    EXPECT_EQ(frame, (DibRect{0, 0, 59, 40}));
    expected = CropDib(*expected, frame);
    EXPECT_EQ(ReadFileBytes(out), BmpFileBytes(*expected));

    // A grayscale photo is not rendered: it stays as loaded.
    TestJpegOptions gray;
    gray.components = 1;
    WriteFileBytes(m_folder.file("gray.jpg"), EncodeTestJpeg(20, 10, gray));
    ASSERT_EQ(RunMorvane({"--convert", m_folder.file("gray.jpg"), "--gray", "1786", "--denoise",
                          "20,9", "-o", out})
                  .status,
              0);
    EXPECT_EQ(ReadFileBytes(out), BmpFileBytes(*LoadJpegFile(m_folder.file("gray.jpg"))));
}

TEST_F(CommandLine, QualityComesFromTheStoredCompressRatio) {
    const PackedDib photo = *LoadJpegFile(m_input);
    SettingsStore(kMorvaneSettings).writeInt("Settings", "Compress ratio", 40);
    const std::string out = m_folder.file("OUT.JPEG");
    ASSERT_EQ(RunMorvane({"--convert", m_input, "-o", out}).status, 0);
    ASSERT_TRUE(SaveJpegFile(m_folder.file("q40.jpg"), photo, 40));
    EXPECT_EQ(ReadFileBytes(out), ReadFileBytes(m_folder.file("q40.jpg")));

    ASSERT_EQ(RunMorvane({"--convert", m_input, "--quality", "75", "-o", out}).status, 0);
    ASSERT_TRUE(SaveJpegFile(m_folder.file("q75.jpg"), photo, 75));
    EXPECT_EQ(ReadFileBytes(out), ReadFileBytes(m_folder.file("q75.jpg")));
    SettingsStore(kMorvaneSettings).writeInt("Settings", "Compress ratio", 100);
}

TEST_F(CommandLine, FailuresNameTheFileOnOneLine) {
    const std::string out = m_folder.file("out.jpg");
    ProgramRun run = RunMorvane({"--convert", m_folder.file("missing.jpg"), "-o", out});
    EXPECT_EQ(run.status, 1);
    EXPECT_EQ(run.errors, "morvane: " + m_folder.file("missing.jpg") +
                              ": cannot open: No such file or directory\n");

    WriteFileBytes(m_folder.file("text.jpg"), {'h', 'e', 'l', 'l', 'o'});
    run = RunMorvane({"--convert", m_folder.file("text.jpg"), "-o", out});
    EXPECT_EQ(run.status, 1);
    EXPECT_EQ(run.errors, "morvane: " + m_folder.file("text.jpg") +
                              ": cannot decode: Not a JPEG file: starts with 0x68 0x65\n");

    run = RunMorvane({"--convert", m_input, "-o", m_folder.file("none/out.bmp")});
    EXPECT_EQ(run.status, 1);
    EXPECT_NE(run.errors.find("none/out.bmp: cannot write"), std::string::npos) << run.errors;
    EXPECT_EQ(std::count(run.errors.begin(), run.errors.end(), '\n'), 1);
    EXPECT_FALSE(std::filesystem::exists(out));
}

// A negative number is a value, not an option; a number outside its range is brought
// into it with one warning line.
TEST_F(CommandLine, NegativeValuesAndRangesFollowTheConvention) {
    const std::string out = m_folder.file("out.bmp");
    const std::string expected = m_folder.file("expected.bmp");
    ASSERT_EQ(
        RunMorvane({"--convert", m_input, "--trim", "2", "--trim-offset=-1,0", "-o", expected})
            .status,
        0);
    ProgramRun run =
        RunMorvane({"--convert", m_input, "--trim", "2", "--trim-offset", "-1,0", "-o", out});
    ASSERT_EQ(run.status, 0) << run.errors;
    EXPECT_EQ(ReadFileBytes(out), ReadFileBytes(expected));

    run = RunMorvane({"--convert", m_input, "--trim", "9", "--quality", "500", "--denoise", "0,9",
                      "-o", m_folder.file("out.jpg")});
    ASSERT_EQ(run.status, 0) << run.errors;
    EXPECT_EQ(run.errors,
              "morvane: warning: --trim 9 is outside 1..6; 6 is used\n"
              "morvane: warning: --denoise THRESHOLD 0 is outside 1..255; 1 is used\n"
              "morvane: warning: --quality 500 is outside 1..100; 100 is used\n");
}

TEST_F(CommandLine, BadUsageExitsWithTwo) {
    const std::string out = m_folder.file("out.jpg");
    const std::vector<std::vector<std::string>> bad = {
        {"--convert", m_input},
        {"-o", out},
        {"--convert", m_input, "-o", m_folder.file("out.png")},
        {"--convert", m_input, "-o", out, "--gray", "256"},
        {"--convert", m_input, "-o", out, "--trim", "six"},
        {"--convert", m_input, "-o", out, "--trim-offset", "1,2"},
        {"--convert", m_input, "-o", out, "--trim", "1", "--trim-offset", "1"},
        {"--convert", m_input, "-o", out, "--quality", "high"},
        {"--convert", m_input, "-o", out, "--denoise", "20"},
        {"--convert", m_input, "-o", out, "--sharpen"},
        {"--convert", m_input, "-o", out, "extra"},
    };
    for (const auto& arguments : bad) {
        const ProgramRun run = RunMorvane(arguments);
        EXPECT_EQ(run.status, 2) << arguments.back();
        EXPECT_EQ(run.errors.rfind("morvane: ", 0), 0u) << run.errors;
    }
    EXPECT_FALSE(std::filesystem::exists(out));
}

}  // namespace
}  // namespace corvelle
