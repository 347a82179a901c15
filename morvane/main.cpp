// Morvane's entry point, kept small so that a script pays only for what it asks: it answers
// --help and --version and reports bad usage itself, loading no Qt; --convert runs in
// morvane-headless and the window in morvane-window, each started in its place.
#include <string>
#include <vector>

#include "core/command_line.h"
#include "core/command_line_usage.h"
#include "core/private_program.h"
#include "corvelle/build_info.h"

int main(int argc, char** argv) {
    using corvelle::MorvaneCommandLine;
    if (const auto answered = corvelle::AnswerHelpOrVersion(
            argc, argv, "morvane", corvelle::kMorvaneCommandLineVersion, corvelle::kMorvaneUsage))
        return *answered;
    // Only the mode and the errors count here; the converting part reads the stored
    // compress ratio itself.
    const MorvaneCommandLine line = corvelle::ParseMorvaneArguments(
        std::vector<std::string>(argv + 1, argv + argc), [] { return 100; });
    if (!line.error.empty())
        return corvelle::ReportUsageError("morvane", line.error, corvelle::kMorvaneUsage);
    return corvelle::RunPrivateProgram(
        "morvane",
        line.mode == MorvaneCommandLine::Mode::Window ? "morvane-window" : "morvane-headless",
        argv);
}
