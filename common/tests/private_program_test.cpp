// Finding a program's private executables from its front, installed and in a build tree.
#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include "core/private_program.h"
#include "support/temp_folder.h"

namespace corvelle {
namespace {

TEST(PrivateProgramPath, PrefersTheInstalledFolderThenTheFrontsOwn) {
    struct Case {
        const char* what;
        bool installed;   // <prefix>/lib/x/corvelle/tiselk-window exists
        bool beside;      // <prefix>/bin/tiselk-window exists
        const char* expected;
    };
    const Case cases[] = {
        {"installed", true, false, "lib/x/corvelle/tiselk-window"},
        {"build tree", false, true, "bin/tiselk-window"},
        {"both: the installed one", true, true, "lib/x/corvelle/tiselk-window"},
        {"neither: named where it belongs", false, false, "lib/x/corvelle/tiselk-window"},
    };
    for (const Case& c : cases) {
        testing::TempFolder prefix;
        std::filesystem::create_directories(prefix.path() / "bin");
        std::filesystem::create_directories(prefix.path() / "lib/x/corvelle");
        if (c.installed) testing::WriteFileBytes(prefix.file("lib/x/corvelle/tiselk-window"), {});
        if (c.beside) testing::WriteFileBytes(prefix.file("bin/tiselk-window"), {});
        EXPECT_EQ(PrivateProgramPath(prefix.file("bin/tiselk"), "lib/x/corvelle", "tiselk-window"),
                  prefix.file(c.expected))
            << c.what;
    }
}

TEST(PrivateProgramPath, TakesAFolderOfTheNameForNoProgram) {
    testing::TempFolder prefix;
    std::filesystem::create_directories(prefix.path() / "bin/tiselk-window");
    EXPECT_EQ(PrivateProgramPath(prefix.file("bin/tiselk"), "lib/x/corvelle", "tiselk-window"),
              prefix.file("lib/x/corvelle/tiselk-window"));
}

TEST(RunPrivateProgram, ReportsAPrivatePartThatCannotStart) {
    char program[] = "tiselk";
    char* argv[] = {program, nullptr};
    ::testing::internal::CaptureStderr();
    EXPECT_EQ(RunPrivateProgram("tiselk", "tiselk-no-such-part", argv), 1);
    const std::string message = ::testing::internal::GetCapturedStderr();
    EXPECT_TRUE(message.starts_with("tiselk: cannot start ")) << message;
    EXPECT_NE(message.find("tiselk-no-such-part: No such file or directory"), std::string::npos)
        << message;
}

}  // namespace
}  // namespace corvelle
