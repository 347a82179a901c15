#pragma once

#include <string>
#include <vector>

namespace corvelle {

// What Tiselk was asked to do: open the window (on a path, when one is given) or one of the
// headless modes that print what the window would show or decode.
struct TiselkCommandLine {
    enum class Mode { Window, Info, Json, Decode, Histogram };
    Mode mode = Mode::Window;
    std::vector<std::string> files;  // the window's path (at most one), the modes' files
    std::string output;              // --decode's BMP file
    std::string error;               // bad usage, one line; nothing else is set then
};

// Reads the arguments (without the program name). --help and --version are answered
// before this, wherever they stand.
TiselkCommandLine ParseTiselkArguments(const std::vector<std::string>& arguments);

extern const char* const kTiselkUsage;

}  // namespace corvelle
