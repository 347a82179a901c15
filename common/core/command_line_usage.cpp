#include "core/command_line_usage.h"

#include <algorithm>
#include <cstdio>

namespace corvelle {

std::optional<std::string> FirstUnknownOption(int argc, char** argv,
                                              std::span<const std::string_view> known) {
    for (int i = 1; i < argc; ++i) {
        const std::string_view argument = argv[i];
        if (argument == "--") return std::nullopt;
        if (argument.size() < 2 || argument[0] != '-') continue;
        const std::string_view name = argument.substr(0, argument.find('='));
        if (std::find(known.begin(), known.end(), name) == known.end())
            return std::string(argument);
    }
    return std::nullopt;
}

int ReportUsageError(std::string_view program, std::string_view reason, std::string_view usage) {
    std::fprintf(stderr, "%.*s: %.*s\n%.*s", int(program.size()), program.data(),
                 int(reason.size()), reason.data(), int(usage.size()), usage.data());
    return 2;
}

}  // namespace corvelle
