// quenset-headless: the naming modes when the settings file holds values only Qt's reader
// reads exactly; started by quenset in its place, with its arguments.
#include <cstdio>
#include <string>
#include <vector>

#include "core/command_line.h"
#include "core/command_line_usage.h"
#include "core/headless_run.h"
#include "core/name_settings.h"
#include "core/settings_store.h"

int main(int argc, char** argv) {
    using corvelle::CommandLine;
    const CommandLine commandLine =
        corvelle::ParseCommandLine(std::vector<std::string>(argv + 1, argv + argc));
    const bool naming = commandLine.mode == CommandLine::Mode::Preview ||
                        commandLine.mode == CommandLine::Mode::Rename;
    if (!commandLine.error.empty() || !naming)
        return corvelle::ReportUsageError("quenset", "start quenset itself", corvelle::kQuensetUsage);
    for (const std::string& warning : commandLine.warnings)
        corvelle::ReportWarning("quenset", warning);
    const corvelle::SettingsStore store(corvelle::kQuensetSettings);
    return corvelle::RunHeadless(
        commandLine, corvelle::ApplyCommandLine(corvelle::LoadNameSettings(store), commandLine),
        stdout, stderr);
}
