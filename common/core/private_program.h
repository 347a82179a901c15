#pragma once

#include <string>
#include <string_view>

namespace corvelle {

// Each program is a small front, the executable a user runs, and private executables for
// the parts that load large libraries: the window (Qt Widgets) and the work on pictures
// and settings. A script that asks for --version or reads metadata pays for none of them.

// Where the private executable `name` of the front at `frontPath` is: installed, in
// `privateFolder` beside the front's bin folder (lib/<triplet>/corvelle); in a build tree,
// beside the front itself. The installed place when it is in neither.
std::string PrivateProgramPath(const std::string& frontPath, std::string_view privateFolder,
                               std::string_view name);

// Runs the private executable `name` in place of this process with the same arguments:
// argv[0] stays as the user typed it, so messages and the window still name the program.
// Returns only when it cannot be started, after one line on stderr, with exit status 1.
int RunPrivateProgram(std::string_view program, std::string_view name, char** argv);

}  // namespace corvelle
