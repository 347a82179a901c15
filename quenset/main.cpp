// Quenset: renames the pictures of a folder after their shooting date or a serial number.
// This is the program a user runs, kept small so that a script pays only for what it asks:
// it answers --help and --version, reports bad usage, and previews, renames and undoes
// with the settings read without Qt. The window runs in quenset-window, and a naming mode
// whose settings file only Qt reads exactly in quenset-headless, each started in its place.
#include <cstdio>
#include <memory>
#include <string>
#include <vector>

#include "core/command_line.h"
#include "core/command_line_usage.h"
#include "core/headless_run.h"
#include "core/name_settings.h"
#include "core/private_program.h"
#include "core/settings_store.h"
#include "core/undo_run.h"

int main(int argc, char** argv) {
    using corvelle::CommandLine;
    if (const auto answered = corvelle::AnswerHelpOrVersion(
            argc, argv, "quenset", "1.13 (build 25)", corvelle::kQuensetUsage))
        return *answered;
    const CommandLine commandLine =
        corvelle::ParseCommandLine(std::vector<std::string>(argv + 1, argv + argc));
    if (!commandLine.error.empty())
        return corvelle::ReportUsageError("quenset", commandLine.error, corvelle::kQuensetUsage);
    if (commandLine.mode == CommandLine::Mode::Window)
        return corvelle::RunPrivateProgram("quenset", "quenset-window", argv);
    std::unique_ptr<corvelle::SettingsStore> store;
    if (commandLine.mode != CommandLine::Mode::Undo) {
        store = corvelle::SettingsStore::OpenPlain(corvelle::kQuensetSettings);
        if (!store) return corvelle::RunPrivateProgram("quenset", "quenset-headless", argv);
    }
    for (const std::string& warning : commandLine.warnings)
        corvelle::ReportWarning("quenset", warning);
    switch (commandLine.mode) {
        case CommandLine::Mode::Preview:
        case CommandLine::Mode::Rename:
            return corvelle::RunHeadless(
                commandLine, corvelle::ApplyCommandLine(corvelle::LoadNameSettings(*store), commandLine),
                stdout, stderr);
        case CommandLine::Mode::Undo:
            return commandLine.listRuns ? corvelle::RunUndoList(commandLine.folder, stdout, stderr)
                                        : corvelle::RunUndo(commandLine.folder, stdout, stderr,
                                                            commandLine.skipRun);
        case CommandLine::Mode::Window:
            break;
    }
    return 2;
}
