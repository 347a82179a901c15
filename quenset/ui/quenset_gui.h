#pragma once

#include <string>

// Runs the main dialog until the user ends it; `startFolder` (may be empty) goes into the
// folder edit as if typed. Returns the process exit status.
int RunQuensetGui(int argc, char** argv, const std::string& startFolder);
