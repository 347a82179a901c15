#pragma once

#include <cstdio>

#include "core/command_line.h"
#include "core/name_settings.h"

namespace corvelle {

// Runs --preview or --rename over the folder with the given settings and prints what the
// preview dialog would show. Exit status: 0 when nothing failed, 1 otherwise.
int RunHeadless(const CommandLine& commandLine, const NameSettings& settings, std::FILE* out,
                std::FILE* err);

}  // namespace corvelle
