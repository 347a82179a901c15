#pragma once

#include <cstdio>
#include <ctime>
#include <string>
#include <vector>

namespace corvelle {

struct UndoOutcome {
    std::string refusal;     // why nothing was reverted; empty when a run was reverted
    std::string journalPath;  // the record of the reverted run
    std::time_t runTime = 0;
    // Files of the run an earlier undo left open and this one tried again; 0 for a first undo.
    int retried = 0;
    int reverted = 0;
    // "new name\t-> old name" of each file that could not be reverted, and why.
    std::vector<std::string> failureLines;
    std::vector<std::string> failureReasons;
    // Journals passed over, marks that could not be written: worth a line, not a failure.
    std::vector<std::string> notes;
    bool failed() const { return !refusal.empty() || !failureLines.empty(); }
};

// Reverts the most recent run recorded for the folder (any spelling of it, or its path when
// its device changed) that still has renamed files: each gets its old name back, never
// replacing a file, and only when it is still the file the run renamed. Its last-write time
// goes back too while it still has the time the run set. Files that fail stay open, and the
// next undo tries them again before any older run. A damaged record, or one of a newer
// program, that could be that run is refused and nothing is touched.
UndoOutcome UndoLastRun(const std::string& folder, const std::string& journalFolder);

// "retrying 1 file of the run of 2026-12-07 14:31"; empty for a first undo.
std::string RetryText(const UndoOutcome& outcome);

// What the window shows after an undo: the refusal, or the counts and each file left alone
// with its reason (at most maxFiles).
std::string UndoMessage(const UndoOutcome& outcome, size_t maxFiles);

// `quenset --undo DIR`: prints the outcome as --rename does; 1 when anything failed.
int RunUndo(const std::string& folder, std::FILE* out, std::FILE* err);
// `quenset --undo --list DIR`: the folder's runs, newest first; 1 when the folder cannot be
// opened.
int RunUndoList(const std::string& folder, std::FILE* out, std::FILE* err);

}  // namespace corvelle
