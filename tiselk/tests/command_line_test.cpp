// Reading Tiselk's arguments: which mode, which files, and the one-line reason of bad usage.
#include "core/command_line.h"

#include <gtest/gtest.h>

namespace corvelle {
namespace {

using Mode = TiselkCommandLine::Mode;

struct ParseCase {
    std::vector<std::string> arguments;
    Mode mode;
    std::vector<std::string> files;
    std::string output;
    std::string error;
};

TEST(TiselkCommandLineTest, ModesFilesAndUsageErrors) {
    const ParseCase cases[] = {
        {{}, Mode::Window, {}, "", ""},
        {{"photo.jpg"}, Mode::Window, {"photo.jpg"}, "", ""},
        {{"--info", "/no/such/file.jpg"}, Mode::Info, {"/no/such/file.jpg"}, "", ""},
        {{"--json", "a.jpg", "b.nef"}, Mode::Json, {"a.jpg", "b.nef"}, "", ""},
        {{"--histogram", "a.jpg"}, Mode::Histogram, {"a.jpg"}, "", ""},
        {{"--decode", "in.jpg", "-o", "out.bmp"}, Mode::Decode, {"in.jpg"}, "out.bmp", ""},
        {{"--json"}, Mode::Window, {}, "", "--json needs at least one FILE"},
        {{"--info"}, Mode::Window, {}, "", "--info needs at least one FILE"},
        {{"--bogus", "x.jpg"}, Mode::Window, {}, "", "unknown option --bogus"},
        {{"a.jpg", "b.jpg"}, Mode::Window, {}, "", "the window opens one PATH at most"},
        {{"--info", "a.jpg", "--json"}, Mode::Window, {}, "", "--json must come first"},
        {{"--decode", "in.jpg"}, Mode::Window, {}, "", "--decode needs FILE -o OUT.bmp"},
        {{"--decode", "in.jpg", "out.bmp", "-o"},
         Mode::Window,
         {},
         "",
         "--decode needs FILE -o OUT.bmp"},
        {{"--json", "a.jpg", "-o", "b.bmp"}, Mode::Window, {}, "", "-o must come first"},
        {{"-o", "out.bmp"}, Mode::Window, {}, "", "-o belongs to --decode"},
    };
    for (const ParseCase& c : cases) {
        std::string given;
        for (const std::string& argument : c.arguments) given += argument + " ";
        const TiselkCommandLine parsed = ParseTiselkArguments(c.arguments);
        EXPECT_EQ(parsed.error, c.error) << given;
        EXPECT_EQ(parsed.mode, c.mode) << given;
        EXPECT_EQ(parsed.files, c.files) << given;
        EXPECT_EQ(parsed.output, c.output) << given;
    }
}

TEST(TiselkCommandLineTest, UsageNamesEveryForm) {
    for (const char* form : {"tiselk [PATH]", "--info", "--json", "--decode", "--histogram"})
        EXPECT_NE(std::string_view(kTiselkUsage).find(form), std::string_view::npos) << form;
}

}  // namespace
}  // namespace corvelle
