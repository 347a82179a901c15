// Morvane's entry point: the application window by default; `--convert` runs the picture
// core headless, without a display and without creating an application object.

#include <cstdio>
#include <string>
#include <vector>

#include "core/command_line.h"
#include "core/command_line_usage.h"
#include "core/convert_command.h"
#include "core/settings_store.h"
#include "corvelle/build_info.h"
#include "ui/morvane_gui.h"

int main(int argc, char** argv) {
    using corvelle::MorvaneCommandLine;
    if (const auto answered = corvelle::AnswerHelpOrVersion(
            argc, argv, "morvane", corvelle::kMorvaneCommandLineVersion, corvelle::kMorvaneUsage))
        return *answered;
    const MorvaneCommandLine line = corvelle::ParseMorvaneArguments(
        std::vector<std::string>(argv + 1, argv + argc), [] {
            const corvelle::SettingsStore settings(corvelle::kMorvaneSettings);
            return settings.readInt("Settings", "Compress ratio", 100);
        });
    if (!line.error.empty())
        return corvelle::ReportUsageError("morvane", line.error, corvelle::kMorvaneUsage);
    for (const std::string& warning : line.warnings) corvelle::ReportWarning("morvane", warning);
    if (line.mode == MorvaneCommandLine::Mode::Window) return RunMorvaneGui(argc, argv);

    const corvelle::ConvertResult result = corvelle::RunConvert(line.request);
    if (!result.ok) {
        std::fprintf(stderr, "morvane: %s\n", result.error.c_str());
        return 1;
    }
    return 0;
}
