// tiselk-window: the EXIF browser's window, started by tiselk in its place with its
// arguments.
#include <QFile>
#include <QString>

#include <cstdio>
#include <string>
#include <vector>

#include "core/command_line.h"
#include "ui/tiselk_gui.h"

int main(int argc, char* argv[]) {
    const corvelle::TiselkCommandLine command =
        corvelle::ParseTiselkArguments(std::vector<std::string>(argv + 1, argv + argc));
    QString path;
    if (!command.files.empty()) {
        path = QString::fromLocal8Bit(command.files[0].c_str());
        if (!QFile::exists(path))
            std::fprintf(stderr, "tiselk: %s: no such file or folder\n", command.files[0].c_str());
    }
    return RunTiselkGui(argc, argv, path);
}
