// morvane-headless: --convert, started by morvane in its place with its arguments.
#include <cstdio>
#include <string>
#include <vector>

#include "core/command_line.h"
#include "core/command_line_usage.h"
#include "core/convert_command.h"
#include "core/settings_store.h"

int main(int argc, char** argv) {
    using corvelle::MorvaneCommandLine;
    const MorvaneCommandLine line = corvelle::ParseMorvaneArguments(
        std::vector<std::string>(argv + 1, argv + argc), [] {
            const corvelle::SettingsStore settings(corvelle::kMorvaneSettings);
            return settings.readInt("Settings", "Compress ratio", 100);
        });
    if (!line.error.empty() || line.mode == MorvaneCommandLine::Mode::Window)
        return corvelle::ReportUsageError("morvane", "start morvane itself", corvelle::kMorvaneUsage);
    for (const std::string& warning : line.warnings) corvelle::ReportWarning("morvane", warning);
    const corvelle::ConvertResult result = corvelle::RunConvert(line.request);
    if (!result.ok) {
        std::fprintf(stderr, "morvane: %s\n", result.error.c_str());
        return 1;
    }
    return 0;
}
