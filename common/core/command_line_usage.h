#pragma once

#include <optional>
#include <span>
#include <string>
#include <string_view>

namespace corvelle {

// The first argument that looks like an option and is none of `known`. "--name=value" is
// checked as "--name"; "-" alone and everything after "--" are file names.
std::optional<std::string> FirstUnknownOption(int argc, char** argv,
                                              std::span<const std::string_view> known);

// Prints "<program>: <reason>" and the usage on stderr; returns the exit status of bad usage.
int ReportUsageError(std::string_view program, std::string_view reason, std::string_view usage);

}  // namespace corvelle
