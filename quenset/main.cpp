// Quenset: renames the pictures of a folder after their shooting date or a serial number.
// The headless modes run the naming core directly, without any window.
#include <cstdio>
#include <string>
#include <vector>

#include "core/command_line.h"
#include "core/headless_run.h"
#include "core/name_settings.h"
#include "core/settings_store.h"

int main(int argc, char** argv) {
    using corvelle::CommandLine;
    const CommandLine commandLine =
        corvelle::ParseCommandLine(std::vector<std::string>(argv + 1, argv + argc));
    if (!commandLine.error.empty()) {
        std::fprintf(stderr, "quenset: %s\n%s", commandLine.error.c_str(), corvelle::kQuensetUsage);
        return 2;
    }
    switch (commandLine.mode) {
        case CommandLine::Mode::Help:
            std::fputs(corvelle::kQuensetUsage, stdout);
            return 0;
        case CommandLine::Mode::Preview:
        case CommandLine::Mode::Rename: {
            const corvelle::SettingsStore store(corvelle::kQuensetSettings);
            const corvelle::NameSettings settings =
                corvelle::ApplyCommandLine(corvelle::LoadNameSettings(store), commandLine);
            return corvelle::RunHeadless(commandLine, settings, stdout, stderr);
        }
        case CommandLine::Mode::Window:
            break;
    }
    std::fputs("quenset: the window is not available in this build; use --preview or --rename\n",
               stderr);
    return 2;
}
