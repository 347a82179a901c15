#include "core/undo_run.h"

#include <fcntl.h>
#include <sys/stat.h>

#include <cerrno>
#include <cstring>
#include <optional>

#include "core/folder_listing.h"
#include "core/rename_texts.h"
#include "core/run_journals.h"
#include "core/safe_file.h"
#include "core/undo_journal.h"

namespace corvelle {

namespace {

bool SameTime(const timespec& a, const timespec& b) {
    return a.tv_sec == b.tv_sec && a.tv_nsec == b.tv_nsec;
}

// Whether the file under the new name is still the one the run renamed. In the run's own
// folder its inode says so; on a folder found again by its path (FAT and exFAT number files
// anew at every mount) its size and the last-write time the run left must both agree.
bool IsTheRenamedFile(const JournalFile& file, bool timeSet, const struct stat& now,
                      FolderMatch match) {
    if (match == FolderMatch::SameFolder && file.inode != 0) return now.st_ino == file.inode;
    const std::optional<timespec> left = file.modifiedAfterRun(timeSet);
    return file.size >= 0 && now.st_size == file.size && left && SameTime(now.st_mtim, *left);
}

class Reverter {
  public:
    Reverter(int folderFd, const JournalRecord& record, FolderMatch match, UndoOutcome& outcome)
        : m_fd(folderFd), m_record(record), m_match(match), m_outcome(outcome) {}

    // True when the file has its old name now (reverted here, or found so).
    bool revert(size_t index) {
        const JournalFile& file = m_record.files[index];
        const bool timeSet = m_record.done[index].value_or(file.setsTime);
        if (file.newName.find('/') != std::string::npos ||
            file.oldName.find('/') != std::string::npos)
            return fail(file, "not a name in this folder");
        struct stat now {};
        if (fstatat(m_fd, file.newName.c_str(), &now, AT_SYMLINK_NOFOLLOW) != 0) {
            // An undo cut short before its mark: the file already has its old name.
            struct stat old {};
            if (m_match == FolderMatch::SameFolder && file.inode != 0 &&
                fstatat(m_fd, file.oldName.c_str(), &old, AT_SYMLINK_NOFOLLOW) == 0 &&
                old.st_ino == file.inode)
                return true;
            return fail(file, "no longer there under its new name");
        }
        if (!IsTheRenamedFile(file, timeSet, now, m_match))
            return fail(file, "changed after the rename; left as it is");
        if (!RenameNoReplace(m_fd, file.newName, m_fd, file.oldName))
            return fail(file, errno == EEXIST
                                  ? "a file of the old name exists; both left as they are"
                                  : std::string(std::strerror(errno)));
        // The old time goes back only over the time the run set: a file edited since keeps
        // the time of that edit. A record that does not say which time the run set is trusted.
        const std::optional<timespec> left = file.modifiedAfterRun(timeSet);
        if (timeSet && (!left || SameTime(now.st_mtim, *left))) {
            const timespec times[2] = {{0, UTIME_OMIT}, file.priorModified};
            if (utimensat(m_fd, file.oldName.c_str(), times, AT_SYMLINK_NOFOLLOW) != 0)
                m_outcome.notes.push_back(
                    file.oldName + ": old name back, last-write time not: " + std::strerror(errno));
        }
        ++m_outcome.reverted;
        return true;
    }

  private:
    bool fail(const JournalFile& file, const std::string& reason) {
        m_outcome.failureLines.push_back(file.newName + std::string(kLineArrow) + file.oldName);
        m_outcome.failureReasons.push_back(reason);
        return false;
    }

    int m_fd;
    const JournalRecord& m_record;
    FolderMatch m_match;
    UndoOutcome& m_outcome;
};

}  // namespace

UndoOutcome UndoLastRun(const std::string& folderPath, const std::string& journalFolder) {
    UndoOutcome outcome;
    const FolderHandle folder(folderPath);
    const std::optional<FolderIdentity> identity = IdentifyFolder(folderPath);
    if (!folder.isOpen() || !identity) {
        outcome.refusal = "cannot open folder " + folderPath + ": " + std::strerror(errno);
        return outcome;
    }

    const std::time_t now = std::time(nullptr);
    std::optional<FoundJournal> chosen;
    for (FoundJournal& journal : ReadJournals(journalFolder, *identity, now)) {
        if (journal.read != JournalRead::Ok) {
            if (BlocksFolder(journal)) {
                outcome.refusal =
                    "the undo journal " + journal.path +
                    (journal.read == JournalRead::Newer ? " was " + journal.why
                                                        : " is damaged (" + journal.why + ")") +
                    "; nothing was reverted";
                return outcome;
            }
            if (journal.names == FoundJournal::Names::Nothing)
                outcome.notes.push_back("the undo journal " + journal.path + " is damaged (" +
                                        journal.why + ") and names no folder; skipped");
            continue;
        }
        if (journal.match == FolderMatch::None || !journal.record.ready || journal.record.undone)
            continue;
        chosen = std::move(journal);
        break;
    }
    if (!chosen) {
        outcome.refusal = "no rename run to undo in " + folderPath;
        return outcome;
    }

    const JournalRecord& record = chosen->record;
    outcome.journalPath = chosen->path;
    outcome.runTime = record.time;
    std::vector<size_t> open;
    for (size_t i = record.files.size(); i-- > 0;)
        if (IsOpenFile(record, i, folder.fd())) open.push_back(i);
    if (record.tried) outcome.retried = int(open.size());

    JournalAppender marks(chosen->path, chosen->completeLength);
    bool marked = marks.isOpen();
    Reverter reverter(folder.fd(), record, chosen->match, outcome);
    size_t stillOpen = 0;
    for (size_t index : open) {
        if (!reverter.revert(index)) {
            ++stillOpen;
            continue;
        }
        marked = marks.append("reverted " + std::to_string(index)) && marked;
    }
    // Only a run with nothing left open counts as undone; one with failures is tried again
    // by the next undo before any older run.
    marked = marks.append((stillOpen == 0 ? "undone " : "tried ") +
                          std::to_string(static_cast<long long>(now))) &&
             marked;
    if (!marked) outcome.notes.push_back("cannot mark the journal " + chosen->path);
    TidyJournals(journalFolder, now);
    return outcome;
}

std::string RetryText(const UndoOutcome& outcome) {
    if (outcome.retried == 0) return {};
    return "retrying " + std::to_string(outcome.retried) +
           (outcome.retried == 1 ? " file" : " files") + " of the run of " +
           RunTimeText(outcome.runTime);
}

namespace {

void PrintLine(std::FILE* out, const std::string& line) {
    std::fwrite(line.data(), 1, line.size(), out);
    std::fputc('\n', out);
}

std::string RunListLine(const RunSummary& run) {
    if (run.state == RunSummary::State::Damaged)
        return "damaged           " + run.journalPath + " (" + run.problem + ")";
    static const char* const kStates[] = {"open", "partly undone", "undone"};
    char line[160];
    std::snprintf(line, sizeof line, "%s  %-13s  %zu files renamed, %zu open",
                  RunTimeText(run.time).c_str(), kStates[int(run.state)], run.renamed, run.open);
    return line;
}

}  // namespace

namespace {

std::string CountsLine(const UndoOutcome& outcome) {
    const long long failures = static_cast<long long>(outcome.failureLines.size());
    return failures > 0
               ? FormatCounts(kRevertFailuresFormat, {outcome.reverted + failures, failures})
               : FormatCounts(kRevertedFormat, {outcome.reverted});
}

}  // namespace

std::string UndoMessage(const UndoOutcome& outcome, size_t maxFiles) {
    if (!outcome.refusal.empty()) return outcome.refusal;
    return WithReasons(CountsLine(outcome), outcome.failureLines, outcome.failureReasons, maxFiles);
}

int RunUndo(const std::string& folder, std::FILE* out, std::FILE* err) {
    const UndoOutcome outcome = UndoLastRun(folder, JournalFolder());
    for (const std::string& note : outcome.notes)
        std::fprintf(err, "quenset: note: %s\n", note.c_str());
    if (!outcome.refusal.empty()) {
        std::fprintf(err, "quenset: %s\n", outcome.refusal.c_str());
        return 1;
    }
    if (outcome.retried > 0) PrintLine(out, RetryText(outcome));
    PrintLine(out, CountsLine(outcome));
    for (size_t i = 0; i < outcome.failureLines.size(); ++i) {
        PrintLine(out, outcome.failureLines[i]);
        std::fprintf(err, "quenset: %s: %s\n", outcome.failureLines[i].c_str(),
                     outcome.failureReasons[i].c_str());
    }
    return outcome.failed() ? 1 : 0;
}

int RunUndoList(const std::string& folder, std::FILE* out, std::FILE* err) {
    if (!IdentifyFolder(folder)) {
        std::fprintf(err, "quenset: cannot open folder %s: %s\n", folder.c_str(),
                     std::strerror(errno));
        return 1;
    }
    const std::vector<RunSummary> runs = ListRuns(folder, JournalFolder(), std::time(nullptr));
    if (runs.empty()) PrintLine(out, "no rename runs recorded for " + folder);
    for (const RunSummary& run : runs) PrintLine(out, RunListLine(run));
    return 0;
}

}  // namespace corvelle
