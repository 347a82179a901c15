#pragma once

#include <optional>
#include <string>
#include <vector>

#include "core/run_settings.h"

namespace corvelle {

enum class OverwriteMode { Ask, YesAll, SkipAll, Cancel };

// What `brevoll --batch` was asked to do.
struct BatchOptions {
    DialogFields fields;
    std::optional<OverwriteMode> overwrite;  // unset: ask on a terminal, else skip all
    int jobs = 1;
    std::vector<std::string> warnings;  // numbers brought into their option's range
};

struct ParsedCommandLine {
    bool batch = false;
    BatchOptions options;
    std::string error;  // set when the arguments are unusable
};

// Reads the arguments (without the program name) over the fields the dialog would show.
ParsedCommandLine ParseBrevollArguments(const std::vector<std::string>& args,
                                        const DialogFields& storedFields);

extern const char* const kBrevollUsage;

}  // namespace corvelle
