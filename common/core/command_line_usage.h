#pragma once

#include <cstdio>
#include <optional>
#include <span>
#include <string>
#include <string_view>

namespace corvelle {

// The first argument that looks like an option and is none of `known`. "--name=value" is
// checked as "--name"; "-" alone, negative numbers ("-39,0" as the value of the option
// before it) and everything after "--" are no options.
std::optional<std::string> FirstUnknownOption(int argc, char** argv,
                                              std::span<const std::string_view> known);

// Every program's usage text has the same shape: the "Usage:" lines, a short description and
// "Options:" with each option and its range. The lines every program shares (--help,
// --version, ranges, exit status) are added when it is printed.
void PrintUsage(std::FILE* stream, std::string_view usage);

// Prints "<program>: <reason>" and the usage on stderr; returns the exit status of bad usage.
int ReportUsageError(std::string_view program, std::string_view reason, std::string_view usage);

// What `--version` prints: the program's own version, the package it comes with, its
// licence and where to write.
std::string VersionText(std::string_view program, std::string_view version);

// --help and --version answer the same way in every program, wherever they stand before
// "--": the usage or the version on stdout and exit status 0. nullopt when neither was given.
std::optional<int> AnswerHelpOrVersion(int argc, char** argv, std::string_view program,
                                       std::string_view version, std::string_view usage);

// A number given for an option, kept to the option's range. When it was outside, `warning`
// is the one line that says so: "--ratio 500 is outside 1..100; 100 is used".
struct RangedNumber {
    int value = 0;
    std::string warning;
};
RangedNumber KeepInRange(std::string_view option, long long given, int min, int max);

// Prints "<program>: warning: <warning>" on stderr when there is a warning.
void ReportWarning(std::string_view program, std::string_view warning);

}  // namespace corvelle
