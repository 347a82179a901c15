#pragma once

#include <optional>
#include <string>
#include <vector>

#include "core/name_settings.h"

namespace corvelle {

// The command line: a mode, its folder, and naming choices that win over the stored settings
// for one headless run only (the command line never writes settings). The window takes an
// optional folder, put into its folder edit as if typed.
struct CommandLine {
    enum class Mode { Window, Preview, Rename, Undo };
    Mode mode = Mode::Window;
    std::string folder;
    std::string error;                  // bad usage, one line
    std::vector<std::string> warnings;  // numbers brought into their option's range
    bool listRuns = false;  // --undo --list: show the folder's runs instead of reverting
    bool skipRun = false;   // --undo --skip: give up the newest run's open files

    std::optional<int> extensionIndex;
    std::optional<std::string> prefix;
    std::optional<std::string> postfix;
    std::optional<int> nameType;
    std::optional<int> serialIndex;
    std::optional<int> yearIndex;
    std::optional<int> monthIndex;
    std::optional<int> dayIndex;
    std::optional<int> firstIndex;
    std::optional<int> secondIndex;
    std::optional<int> lastIndex;
    std::optional<bool> useExif;
    std::optional<bool> modifyFileDate;
    std::optional<bool> renameSidecars;
};

// Arguments as given, without the program name. Both "--name value" and "--name=value".
CommandLine ParseCommandLine(const std::vector<std::string>& arguments);

// The stored settings with the command line's choices put over them.
NameSettings ApplyCommandLine(NameSettings settings, const CommandLine& commandLine);

extern const char* const kQuensetUsage;

// The folder the window opens for what was given: a file's own folder (a file manager
// hands over the file it was opened on), else what was given.
std::string WindowFolderFor(const std::string& given);

}  // namespace corvelle
