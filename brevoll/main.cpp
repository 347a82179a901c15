// Brevoll: resizes the pictures of a folder tree. This is the program a user runs, kept
// small so that a script pays only for what it asks: it answers --help and --version
// itself, loading neither Qt nor the picture library. Without arguments the main dialog
// opens in brevoll-window; every other command line (--batch, or bad usage, which needs
// the stored settings to be told apart) goes to brevoll-headless; each runs in its place.
#include "core/command_line.h"
#include "core/command_line_usage.h"
#include "core/private_program.h"

int main(int argc, char** argv) {
    if (const auto answered = corvelle::AnswerHelpOrVersion(argc, argv, "brevoll", "1.4 (build 14)",
                                                            corvelle::kBrevollUsage))
        return *answered;
    return corvelle::RunPrivateProgram("brevoll", argc > 1 ? "brevoll-headless" : "brevoll-window",
                                       argv);
}
