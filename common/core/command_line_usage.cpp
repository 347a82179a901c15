#include "core/command_line_usage.h"

#include <algorithm>
#include <cctype>
#include <cstdio>

#include "corvelle/build_info.h"

namespace corvelle {

namespace {

bool IsNegativeNumber(std::string_view argument) {
    return argument.size() > 1 && argument[0] == '-' &&
           std::isdigit(static_cast<unsigned char>(argument[1]));
}

void Print(std::FILE* stream, std::string_view text) {
    std::fwrite(text.data(), 1, text.size(), stream);
}

constexpr std::string_view kSharedUsageLines =
    "  -h, --help                     print this help and exit\n"
    "  --version                      print the version and exit\n"
    "\n"
    "A number outside its option's range is brought into the range with a warning.\n"
    "Exit status: 0 done, 1 failed (stderr says why), 2 bad usage.\n";

}  // namespace

void PrintUsage(std::FILE* stream, std::string_view usage) {
    Print(stream, usage);
    Print(stream, kSharedUsageLines);
}

std::optional<std::string> FirstUnknownOption(int argc, char** argv,
                                              std::span<const std::string_view> known) {
    for (int i = 1; i < argc; ++i) {
        const std::string_view argument = argv[i];
        if (argument == "--") return std::nullopt;
        if (argument.size() < 2 || argument[0] != '-' || IsNegativeNumber(argument)) continue;
        const std::string_view name = argument.substr(0, argument.find('='));
        if (name == "--version") continue;
        if (std::find(known.begin(), known.end(), name) == known.end())
            return std::string(argument);
    }
    return std::nullopt;
}

int ReportUsageError(std::string_view program, std::string_view reason, std::string_view usage) {
    std::fprintf(stderr, "%.*s: %.*s\n", int(program.size()), program.data(), int(reason.size()),
                 reason.data());
    PrintUsage(stderr, usage);
    return 2;
}

std::string VersionText(std::string_view program, std::string_view version) {
    std::string text;
    text.append(program).append(" ").append(version).append("\n");
    text.append("Corvelle photo tools ").append(kPackageVersion).append("\n");
    text.append("License GPL-3.0-or-later: GNU GPL version 3 or later.\n");
    text.append("This is free software: you are free to change and redistribute it.\n");
    text.append("There is NO WARRANTY, to the extent permitted by law.\n");
    text.append("Contact: ").append(kContactName).append(" <").append(kContactEmail).append(">\n");
    return text;
}

std::optional<int> AnswerHelpOrVersion(int argc, char** argv, std::string_view program,
                                       std::string_view version, std::string_view usage) {
    for (int i = 1; i < argc; ++i) {
        const std::string_view argument = argv[i];
        if (argument == "--") break;
        if (argument == "--help" || argument == "-h") {
            PrintUsage(stdout, usage);
            return 0;
        }
        if (argument == "--version") {
            Print(stdout, VersionText(program, version));
            return 0;
        }
    }
    return std::nullopt;
}

RangedNumber KeepInRange(std::string_view option, long long given, int min, int max) {
    RangedNumber kept;
    kept.value = int(std::clamp<long long>(given, min, max));
    if (kept.value != given) {
        kept.warning = std::string(option) + " " + std::to_string(given) + " is outside " +
                       std::to_string(min) + ".." + std::to_string(max) + "; " +
                       std::to_string(kept.value) + " is used";
    }
    return kept;
}

void ReportWarning(std::string_view program, std::string_view warning) {
    if (warning.empty()) return;
    std::fprintf(stderr, "%.*s: warning: %.*s\n", int(program.size()), program.data(),
                 int(warning.size()), warning.data());
}

}  // namespace corvelle
