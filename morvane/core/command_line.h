#pragma once

#include <functional>
#include <string>
#include <vector>

#include "core/convert_command.h"

namespace corvelle {

// What Morvane was started for: the window (its arguments are files to open, handed to the
// window as they are) or `--convert`, which runs without a display.
struct MorvaneCommandLine {
    enum class Mode { Window, Convert };
    Mode mode = Mode::Window;
    ConvertRequest request;             // for Convert
    std::string error;                  // bad usage, one line
    std::vector<std::string> warnings;  // numbers brought into their option's range
};

// Reads the arguments (without the program name). `storedQuality` gives the compress ratio
// the window last stored; it is asked only for a JPEG output without --quality.
MorvaneCommandLine ParseMorvaneArguments(const std::vector<std::string>& arguments,
                                         const std::function<int()>& storedQuality);

extern const char* const kMorvaneUsage;

}  // namespace corvelle
