// Quenset: renames the pictures of a folder after their shooting date or a serial number.
// Without a mode the main dialog opens; the headless modes run the naming core directly,
// and bad usage is reported before any window system is touched.
#include <cstdio>
#include <string>
#include <vector>

#include "core/command_line.h"
#include "core/command_line_usage.h"
#include "core/headless_run.h"
#include "core/name_settings.h"
#include "core/settings_store.h"
#include "core/undo_run.h"
#include "ui/quenset_gui.h"

int main(int argc, char** argv) {
    using corvelle::CommandLine;
    if (const auto answered = corvelle::AnswerHelpOrVersion(
            argc, argv, "quenset", "1.13 (build 25)", corvelle::kQuensetUsage))
        return *answered;
    const CommandLine commandLine =
        corvelle::ParseCommandLine(std::vector<std::string>(argv + 1, argv + argc));
    if (!commandLine.error.empty())
        return corvelle::ReportUsageError("quenset", commandLine.error, corvelle::kQuensetUsage);
    for (const std::string& warning : commandLine.warnings)
        corvelle::ReportWarning("quenset", warning);
    switch (commandLine.mode) {
        case CommandLine::Mode::Preview:
        case CommandLine::Mode::Rename: {
            const corvelle::SettingsStore store(corvelle::kQuensetSettings);
            const corvelle::NameSettings settings =
                corvelle::ApplyCommandLine(corvelle::LoadNameSettings(store), commandLine);
            return corvelle::RunHeadless(commandLine, settings, stdout, stderr);
        }
        case CommandLine::Mode::Undo:
            return commandLine.listRuns ? corvelle::RunUndoList(commandLine.folder, stdout, stderr)
                                        : corvelle::RunUndo(commandLine.folder, stdout, stderr,
                                                            commandLine.skipRun);
        case CommandLine::Mode::Window:
            break;
    }
    // Qt reads its own options (-platform, -style ...) from what is left.
    int qtArgc = 1;
    return RunQuensetGui(qtArgc, argv, corvelle::WindowFolderFor(commandLine.folder));
}
