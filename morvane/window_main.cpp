// morvane-window: Morvane's application window, started by morvane in its place with its
// arguments.
#include <string>
#include <vector>

#include "core/command_line.h"
#include "core/command_line_usage.h"
#include "core/settings_store.h"
#include "ui/morvane_gui.h"

int main(int argc, char** argv) {
    const corvelle::MorvaneCommandLine line = corvelle::ParseMorvaneArguments(
        std::vector<std::string>(argv + 1, argv + argc), [] {
            const corvelle::SettingsStore settings(corvelle::kMorvaneSettings);
            return settings.readInt("Settings", "Compress ratio", 100);
        });
    for (const std::string& warning : line.warnings) corvelle::ReportWarning("morvane", warning);
    return RunMorvaneGui(argc, argv);
}
