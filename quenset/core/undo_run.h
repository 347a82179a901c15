#pragma once

#include <chrono>
#include <cstdio>
#include <ctime>
#include <optional>
#include <string>
#include <vector>

#include "core/folder_lock.h"
#include "core/rename_texts.h"
#include "core/run_journals.h"

namespace corvelle {

struct UndoRequest {
    // The run the user was asked about (its journal) and the pictures the question named:
    // it is reverted only while it is still the folder's newest open run with that many.
    std::optional<std::string> journalPath;
    std::optional<size_t> openPictures;
    // Closes the run's open files as skipped instead of reverting them, so that the next
    // undo reaches the run before.
    bool skip = false;
    std::chrono::milliseconds lockWait = kFolderLockWait;
};

struct UndoOutcome {
    Reason refusal;           // why nothing was reverted; empty when a run was taken up
    bool busy = false;        // another quenset was working on the folder
    bool runChanged = false;  // the run asked about is no longer the one in line
    std::optional<RunSummary> currentRun;  // the run in line now, when it changed
    std::string journalPath;  // the record of the reverted run
    std::time_t runTime = 0;
    // Pictures of the run an earlier undo left open and this one tried again; 0 for a first
    // undo.
    int retried = 0;
    int reverted = 0;        // pictures given their old names back
    int revertedExtras = 0;  // sidecars and companions that went back with them
    int failedSets = 0;      // pictures (with what goes with them) left as they are
    int skipped = 0;         // files closed as skipped
    // "new name\t-> old name" of each file that could not be reverted, and why.
    std::vector<std::string> failureLines;
    std::vector<Reason> failureReasons;
    // Journals passed over, marks that could not be written: worth a line, not a failure.
    std::vector<std::string> notes;
    bool refused() const { return !refusal.english.empty(); }
    bool failed() const { return refused() || !failureLines.empty(); }
};

// Reverts the most recent run recorded for the folder (any spelling of it, or its path when
// its device changed) that still has renamed files, holding the folder's lock throughout.
// Each picture gets its old name back with its sidecars and companions, never replacing a
// file, and only when it is still the file the run renamed; a set that cannot go back stays
// whole. Its last-write time goes back too while it still has the time the run set. Files
// that fail stay open, and the next undo tries them again before any older run. A damaged
// record, or one of a newer program, that could be that run is refused and nothing is
// touched.
UndoOutcome UndoLastRun(const std::string& folder, const std::string& journalFolder,
                        const UndoRequest& request = {});

// "retrying 1 file of the run of 2026-12-07 14:31"; empty for a first undo.
std::string RetryText(const UndoOutcome& outcome);

// What the window shows after an undo, in Korean: the refusal, or the counts and each file
// left alone with its reason (at most maxFiles).
std::string UndoMessage(const UndoOutcome& outcome, size_t maxFiles);

// The window's question before an undo of the run.
std::string UndoQuestion(const RunSummary& run);

// `quenset --undo DIR` (and `--undo --skip DIR`): prints the outcome as --rename does; 1
// when anything failed.
int RunUndo(const std::string& folder, std::FILE* out, std::FILE* err, bool skip = false);
// `quenset --undo --list DIR`: the folder's runs, newest first; 1 when the folder cannot be
// opened.
int RunUndoList(const std::string& folder, std::FILE* out, std::FILE* err);

}  // namespace corvelle
