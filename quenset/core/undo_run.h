#pragma once

#include <cstdio>
#include <string>
#include <vector>

namespace corvelle {

struct UndoOutcome {
    std::string refusal;     // why nothing was reverted; empty when a run was reverted
    std::string journalPath;  // the record of the reverted run
    int reverted = 0;
    // "new name\t-> old name" of each file that could not be reverted, and why.
    std::vector<std::string> failureLines;
    std::vector<std::string> failureReasons;
    bool failed() const { return !refusal.empty() || !failureLines.empty(); }
};

// Reverts the most recent run recorded for the folder (any spelling of it) that was not
// reverted yet: each renamed file gets its old name back, never replacing a file, and its
// last-write time when the run had changed it. A damaged record, or one of a newer
// program, that could be that run is refused and nothing is touched.
UndoOutcome UndoLastRun(const std::string& folder, const std::string& journalFolder);

// `quenset --undo DIR`: prints the outcome as --rename does; 1 when anything failed.
int RunUndo(const std::string& folder, std::FILE* out, std::FILE* err);

}  // namespace corvelle
