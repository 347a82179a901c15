#include <gtest/gtest.h>
#include <sys/wait.h>

#include <cstdio>
#include <filesystem>

#include "core/command_line.h"
#include "core/settings_store.h"
#include "test_pictures.h"

namespace corvelle {
namespace {

using namespace corvelle::testing;

struct ProgramRun {
    int status = -1;
    std::string out;
};

// Runs the program as a user would; the settings folder is the suite's private one.
ProgramRun RunQuenset(const std::string& arguments) {
    const std::string command =
        std::string(CORVELLE_PROGRAM_PATH) + " " + arguments + " 2>/dev/null";
    ProgramRun run;
    std::FILE* pipe = popen(command.c_str(), "r");
    if (pipe == nullptr) return run;
    char buffer[4096];
    size_t got;
    while ((got = std::fread(buffer, 1, sizeof buffer, pipe)) > 0) run.out.append(buffer, got);
    const int status = pclose(pipe);
    run.status = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    return run;
}

class QuensetCommandLine : public ::testing::Test {
  protected:
    FixedTimeZone zone{"KST-9"};
    TempFolder folder;
    const std::string settingsFile = SettingsStore(kQuensetSettings).filePath();

    void SetUp() override {
        std::filesystem::remove(settingsFile);
        WriteFileBytes(folder.file("b.jpg"), JpegWithDates("2004:03:15 14:25:30", ""));
        WriteFileBytes(folder.file("DSC0001.JPG"), JpegWithDates("2004:03:15 14:25:31", ""));
        WriteFileBytes(folder.file("zero.jpg"), JpegWithDates("0000:00:00 00:00:00", ""));
    }
    void TearDown() override { std::filesystem::remove(settingsFile); }
};

TEST_F(QuensetCommandLine, PreviewPrintsTheListAndSummary) {
    const ProgramRun run = RunQuenset("--preview " + folder.path().string());
    EXPECT_EQ(run.status, 0);
    EXPECT_EQ(run.out,
              "DSC0001.JPG\t-> 20040315-142531.jpg\n"
              "b.jpg\t-> 20040315-142530.jpg\n"
              "zero.jpg\t-> No Date info\n"
              "\n"
              "전체 3개중 2개 변경 가능/1개 이름 변경불가능\n");

    const ProgramRun options = RunQuenset("--preview=" + folder.path().string() +
                                          " --year yy --sep1 _ --sep2=_ --sep3 + --prefix 'a%d '");
    EXPECT_EQ(options.out.substr(0, options.out.find('\n')),
              "DSC0001.JPG\t-> a%d 04_03_15+142531.jpg");
    const ProgramRun serial =
        RunQuenset("--preview " + folder.path().string() + " --serial 3 --postfix _a");
    EXPECT_EQ(serial.out.substr(0, serial.out.find('\n')), "DSC0001.JPG\t-> 001_a.jpg");
}

TEST_F(QuensetCommandLine, StoredSettingsAreReadButNeverWritten) {
    {
        SettingsStore store(kQuensetSettings);
        store.writeString("Config", "Prefix", "Trip_");
        store.writeInt("Config", "Name Type", 1);
    }
    const std::vector<uint8_t> stored = ReadFileBytes(settingsFile);
    const ProgramRun run = RunQuenset("--preview " + folder.path().string() + " --serial 4");
    EXPECT_EQ(run.out.substr(0, run.out.find('\n')), "DSC0001.JPG\t-> Trip_0001.jpg");
    const ProgramRun dated =
        RunQuenset("--preview " + folder.path().string() + " --date --no-exif");
    EXPECT_EQ(dated.out.find("No Date info"), std::string::npos);
    EXPECT_EQ(ReadFileBytes(settingsFile), stored);
}

TEST_F(QuensetCommandLine, RenamePrintsTheOutcome) {
    WriteFileBytes(folder.file("20040315-142530.jpg"), {'x'});
    chmod(folder.file("20040315-142530.jpg").c_str(), 0444);
    const ProgramRun failed = RunQuenset("--rename " + folder.path().string());
    EXPECT_EQ(failed.status, 1);
    EXPECT_EQ(failed.out,
              "총 2개의 파일중 1개의 파일의 이름 변경을 할 수 없습니다.\n"
              "이미 존재하는 파일인지 검사하십시오\n"
              "b.jpg\t-> 20040315-142530.jpg\n");
    EXPECT_TRUE(std::filesystem::exists(folder.file("20040315-142531.jpg")));

    std::filesystem::remove(folder.file("20040315-142530.jpg"));
    const ProgramRun succeeded = RunQuenset("--rename " + folder.path().string());
    EXPECT_EQ(succeeded.status, 0);
    EXPECT_EQ(succeeded.out, "1개의 이름을 성공적으로 변경했습니다.\n");
    const ProgramRun again = RunQuenset("--rename " + folder.path().string());
    EXPECT_EQ(again.status, 0);
    EXPECT_EQ(again.out, "이름 변경을 할 수 없는 파일(들)입니다.\n");
}

TEST_F(QuensetCommandLine, UndoRevertsTheLastRunThenTheOneBefore) {
    ASSERT_EQ(RunQuenset("--rename " + folder.path().string()).status, 0);
    ASSERT_EQ(RunQuenset("--serial 2 --rename " + folder.path().string()).status, 0);
    ProgramRun undo = RunQuenset("--undo " + folder.path().string());
    EXPECT_EQ(undo.status, 0);
    EXPECT_EQ(undo.out, "3개의 이름을 원래대로 되돌렸습니다.\n");
    undo = RunQuenset("--undo=" + folder.path().string());
    EXPECT_EQ(undo.out, "2개의 이름을 원래대로 되돌렸습니다.\n");
    EXPECT_TRUE(std::filesystem::exists(folder.file("DSC0001.JPG")));
    EXPECT_EQ(RunQuenset("--undo " + folder.path().string()).status, 1);
}

TEST(QuensetCommandLineUsage, BadUsageIsRefused) {
    for (const char* arguments :
         {"--preview", "--serial x --preview /tmp", "--year xx --preview /tmp", "--bogus",
          "--preview /tmp --rename /tmp", "--exif=1 --preview /tmp", "--sep1 x --preview /tmp",
          "/tmp /tmp", "--prefix x", "--undo", "/tmp --undo /tmp", "--undo /tmp --prefix x",
          "--preview /tmp /tmp", "/tmp --bogus"}) {
        EXPECT_EQ(RunQuenset(arguments).status, 2) << arguments;
    }
    CommandLine window = ParseCommandLine({"--", "-odd folder"});
    EXPECT_EQ(window.mode, CommandLine::Mode::Window);
    EXPECT_EQ(window.folder, "-odd folder");
    EXPECT_EQ(ParseCommandLine({"--undo", "d"}).mode, CommandLine::Mode::Undo);
    EXPECT_EQ(RunQuenset("--preview /no/such/folder").status, 1);
    EXPECT_EQ(RunQuenset("--help").status, 0);

    const CommandLine line = ParseCommandLine({"--rename", "d", "--type", "nef", "--sep3", "",
                                               "--serial", "8", "--no-file-date", "--month=none"});
    EXPECT_TRUE(line.error.empty());
    EXPECT_EQ(line.mode, CommandLine::Mode::Rename);
    const NameSettings settings = ApplyCommandLine({}, line);
    EXPECT_EQ(settings.extensionIndex, 2);
    EXPECT_EQ(settings.lastIndex, 0);
    EXPECT_EQ(settings.serialIndex, 6);
    EXPECT_TRUE(settings.serialMode());
    EXPECT_FALSE(settings.fileDateFlag());
    EXPECT_EQ(settings.monthIndex, 0);
    EXPECT_EQ(settings.yearIndex, 1);

    // Digits outside 2..8 are brought into the range with one warning line.
    const CommandLine wide = ParseCommandLine({"--preview", "d", "--serial", "12"});
    EXPECT_TRUE(wide.error.empty());
    EXPECT_EQ(ApplyCommandLine({}, wide).serialIndex, kMaxSerialDigits - kMinSerialDigits);
    EXPECT_EQ(wide.warnings, std::vector<std::string>{"--serial 12 is outside 2..8; 8 is used"});
    EXPECT_TRUE(ParseCommandLine({"--preview", "d", "--serial", "3"}).warnings.empty());
}

}  // namespace
}  // namespace corvelle
