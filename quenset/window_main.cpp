// quenset-window: Quenset's window, started by quenset in its place with its arguments.
#include <string>
#include <vector>

#include "core/command_line.h"
#include "core/command_line_usage.h"
#include "ui/quenset_gui.h"

int main(int argc, char** argv) {
    const corvelle::CommandLine commandLine =
        corvelle::ParseCommandLine(std::vector<std::string>(argv + 1, argv + argc));
    for (const std::string& warning : commandLine.warnings)
        corvelle::ReportWarning("quenset", warning);
    // Qt reads its own options (-platform, -style ...) from what is left.
    int qtArgc = 1;
    return RunQuensetGui(qtArgc, argv, corvelle::WindowFolderFor(commandLine.folder));
}
