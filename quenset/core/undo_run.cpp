#include "core/undo_run.h"

#include <fcntl.h>
#include <sys/stat.h>

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <map>
#include <optional>

#include "core/file_identity.h"
#include "core/folder_listing.h"
#include "core/set_move.h"
#include "core/undo_journal.h"

namespace corvelle {

namespace {

const Reason kChangedReason{"changed after the rename; left as it is",
                            "이름 변경 뒤에 바뀐 파일이라 그대로 두었습니다"};
const Reason kGoneReason{"no longer there under its new name",
                         "새 이름으로 된 파일이 더 이상 없습니다"};
const Reason kOldNameTakenReason{"a file of the old name exists; both left as they are",
                                 "원래 이름의 파일이 이미 있어 둘 다 그대로 두었습니다"};
const Reason kForeignNameReason{"not a name in this folder", "이 폴더 안의 이름이 아닙니다"};
const Reason kStaysWithSetReason{"stays with its picture, which could not be reverted",
                                 "함께 가는 그림 파일을 되돌리지 못해 그대로 두었습니다"};

std::string TwoLines(const std::string& english, const std::string& detail) {
    return detail.empty() ? english : english + " (" + detail + ")";
}

// Reverts the open files of a run set by set, and marks each file it gave back.
class Reverter {
  public:
    Reverter(int folderFd, const JournalRecord& record, FolderMatch match, JournalAppender& marks,
             UndoOutcome& outcome)
        : m_fd(folderFd), m_record(record), m_match(match), m_marks(marks), m_outcome(outcome) {}

    // `members`: the set's open files, ascending (its picture first when open). True when
    // every one has its old name now.
    bool revertSet(const std::vector<size_t>& members) {
        std::vector<NameChange> changes;
        std::vector<size_t> moving;
        for (size_t index : members) {
            const JournalFile& file = m_record.files[index];
            const bool follows = file.role == JournalFile::Role::Sidecar;
            if (file.newName.find('/') != std::string::npos ||
                file.oldName.find('/') != std::string::npos)
                return failSet(members, index, kForeignNameReason);
            const std::optional<FileStamp> now = StampAt(m_fd, file.newName);
            if (!now) {
                // An undo cut short before its mark: the file already has its old name.
                if (IsOpenFile(m_record, index, m_fd, m_match)) {
                    if (follows) {
                        fail(index, kGoneReason);
                        continue;
                    }
                    return failSet(members, index, kGoneReason);
                }
                mark(index);
                continue;
            }
            const bool timeSet = m_record.done[index].value_or(file.setsTime);
            // A sidecar is expected to be edited (and saved as a new file): it follows its
            // picture whatever it is now, as long as it is a plain file.
            if (follows ? !now->regular : !IsTheRenamedFile(file, timeSet, *now, m_match))
                return failSet(members, index, kChangedReason);
            if (StampAt(m_fd, file.oldName)) return failSet(members, index, kOldNameTakenReason);
            changes.push_back({file.newName, file.oldName});
            moving.push_back(index);
        }
        const SetMove move = MoveSet(m_fd, changes);
        for (size_t i = 0; i < moving.size(); ++i)
            if (move.underNewName[i]) revertedFile(moving[i]);
        if (!move.moved) {
            Reason reason = move.error == EEXIST ? kOldNameTakenReason : SystemReason(move.error);
            reason.english += move.stuckText;
            reason.korean += move.stuckText;
            return failSet(moving, moving[move.failedAt], reason, move.underNewName);
        }
        if (!moving.empty()) ++m_outcome.reverted;
        return true;
    }

  private:
    void mark(size_t index) {
        if (!m_marks.append("reverted " + std::to_string(index)) && m_markProblemNoted++ == 0)
            m_outcome.notes.push_back(m_marks.problem());
    }

    void revertedFile(size_t index) {
        const JournalFile& file = m_record.files[index];
        if (file.role != JournalFile::Role::Picture) ++m_outcome.revertedExtras;
        mark(index);
        const bool timeSet = m_record.done[index].value_or(file.setsTime);
        // The old time goes back only over the time the run set: a file edited since keeps
        // the time of that edit. A record that does not say which time the run set is trusted.
        const std::optional<timespec> left = file.modifiedAfterRun(timeSet);
        const std::optional<FileStamp> now = StampAt(m_fd, file.oldName);
        if (!timeSet || !now || (left && !SameTime(now->modified, *left))) return;
        if (!SetModifiedTime(m_fd, file.oldName, file.priorModified))
            m_outcome.notes.push_back(file.oldName + ": old name back, last-write time not: " +
                                      std::strerror(errno));
    }

    void fail(size_t index, const Reason& reason) {
        const JournalFile& file = m_record.files[index];
        m_outcome.failureLines.push_back(file.newName + std::string(kLineArrow) + file.oldName);
        m_outcome.failureReasons.push_back(reason);
    }

    // The whole set stays: the file that stopped it says why, the others that they stay.
    bool failSet(const std::vector<size_t>& members, size_t culprit, const Reason& reason,
                 const std::vector<bool>& alreadyBack = {}) {
        ++m_outcome.failedSets;
        for (size_t i = 0; i < members.size(); ++i) {
            if (i < alreadyBack.size() && alreadyBack[i]) continue;
            fail(members[i], members[i] == culprit ? reason : kStaysWithSetReason);
        }
        return false;
    }

    int m_fd;
    const JournalRecord& m_record;
    FolderMatch m_match;
    JournalAppender& m_marks;
    UndoOutcome& m_outcome;
    int m_markProblemNoted = 0;
};

Reason JournalRefusal(const FoundJournal& journal) {
    if (journal.read == JournalRead::Newer)
        return {"the undo journal " + journal.path + " was " + journal.why +
                    "; nothing was reverted",
                "되돌리기 기록 " + journal.path +
                    "은(는) 더 새 Quenset이 쓴 것이라 아무것도 되돌리지 않았습니다 (" +
                    journal.why + ")"};
    return {"the undo journal " + journal.path + " is damaged (" + journal.why +
                "); nothing was reverted",
            "되돌리기 기록 " + journal.path + "이(가) 손상되어 아무것도 되돌리지 않았습니다 (" +
                journal.why + ")"};
}

}  // namespace

UndoOutcome UndoLastRun(const std::string& folderPath, const std::string& journalFolder,
                        const UndoRequest& request) {
    UndoOutcome outcome;
    const FolderHandle folder(folderPath);
    const std::optional<FolderIdentity> identity = IdentifyFolder(folderPath);
    if (!folder.isOpen() || !identity) {
        const std::string why = std::strerror(errno);
        outcome.refusal = {"cannot open folder " + folderPath + ": " + why,
                           FormatTexts(kFolderUnreadableFormat, {folderPath, why})};
        return outcome;
    }
    // Held to the end: nothing below may interleave with another quenset's run or undo.
    const FolderLock lock(journalFolder, folder.fd(), request.lockWait);
    if (lock.busy()) {
        outcome.busy = true;
        outcome.refusal = {std::string(kFolderBusyText), std::string(kFolderBusyKorean)};
        return outcome;
    }
    if (!lock.problem().empty()) outcome.notes.push_back(lock.problem());

    const std::time_t now = std::time(nullptr);
    std::optional<FoundJournal> chosen;
    for (FoundJournal& journal : ReadJournals(journalFolder, *identity, now)) {
        if (journal.read != JournalRead::Ok) {
            if (BlocksFolder(journal)) {
                outcome.refusal = JournalRefusal(journal);
                return outcome;
            }
            if (journal.names == FoundJournal::Names::Nothing)
                outcome.notes.push_back("the undo journal " + journal.path + " " +
                                        TwoLines(journal.read == JournalRead::Newer
                                                     ? "was written by a newer Quenset"
                                                     : "is damaged",
                                                 journal.why) +
                                        " and names no folder; skipped");
            continue;
        }
        if (journal.match == FolderMatch::None || !journal.record.ready || journal.record.undone)
            continue;
        chosen = std::move(journal);
        break;
    }
    const std::optional<RunSummary> inLine =
        chosen ? std::optional<RunSummary>(SummarizeRun(*chosen, folder.fd())) : std::nullopt;
    if (request.journalPath &&
        (!inLine || inLine->journalPath != *request.journalPath ||
         (request.openPictures && *request.openPictures != inLine->open.sets))) {
        outcome.runChanged = true;
        outcome.currentRun = inLine;
        outcome.refusal = {"the folder's rename runs changed since the undo was asked for; "
                           "nothing was reverted",
                           std::string(kRunChangedText)};
        return outcome;
    }
    if (!chosen) {
        outcome.refusal = {"no rename run to undo in " + folderPath,
                           std::string(kNothingToUndoText)};
        return outcome;
    }

    const JournalRecord& record = chosen->record;
    outcome.journalPath = chosen->path;
    outcome.runTime = record.time;
    // The open files by set, newest set first; a set's picture leads its files.
    std::map<size_t, std::vector<size_t>, std::greater<>> sets;
    std::vector<bool> open(record.files.size(), false);
    for (size_t i = 0; i < record.files.size(); ++i) {
        open[i] = IsOpenFile(record, i, folder.fd(), chosen->match);
        if (open[i]) sets[record.files[i].picture].push_back(i);
    }
    if (record.tried) outcome.retried = int(CountSets(record, open).sets);

    JournalAppender marks(chosen->path, chosen->completeLength);
    bool marked = marks.isOpen();
    size_t stillOpen = 0;
    if (request.skip) {
        for (size_t i = 0; i < open.size(); ++i) {
            if (!open[i]) continue;
            if (marks.append("skipped " + std::to_string(i))) {
                ++outcome.skipped;
            } else {
                ++stillOpen;
                marked = false;
            }
        }
    } else {
        Reverter reverter(folder.fd(), record, chosen->match, marks, outcome);
        for (const auto& [picture, members] : sets)
            if (!reverter.revertSet(members)) stillOpen += members.size();
    }
    // Only a run with nothing left open counts as undone; one with failures is tried again
    // by the next undo before any older run.
    marked = marks.append((stillOpen == 0 ? "undone " : "tried ") +
                          std::to_string(static_cast<long long>(now))) &&
             marked;
    if (!marked && !marks.problem().empty() &&
        std::find(outcome.notes.begin(), outcome.notes.end(), marks.problem()) ==
            outcome.notes.end())
        outcome.notes.push_back(marks.problem());
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

std::string ExtrasText(size_t extras) {
    return extras == 0 ? std::string() : FormatCounts(kWithExtrasFormat, {(long long)extras});
}

std::string RunListLine(const RunSummary& run) {
    if (run.state == RunSummary::State::Damaged)
        return "damaged           " + run.journalPath + " (" + run.problem + ")";
    static const char* const kStates[] = {"open", "partly undone", "undone"};
    char line[200];
    std::snprintf(line, sizeof line, "%s  %-13s  %zu files renamed, %zu open",
                  RunTimeText(run.time).c_str(), kStates[int(run.state)], run.renamed.sets,
                  run.open.sets);
    std::string text = line;
    const size_t extras = run.renamed.extras;
    if (extras > 0)
        text += " (+" + std::to_string(extras) + (extras == 1 ? " sidecar or companion)"
                                                              : " sidecars and companions)");
    if (run.skipped > 0) text += ", " + std::to_string(run.skipped) + " skipped";
    return text;
}

std::string CountsLine(const UndoOutcome& outcome) {
    if (outcome.failedSets > 0)
        return FormatCounts(kRevertFailuresFormat,
                            {outcome.reverted + outcome.failedSets, outcome.failedSets});
    return FormatCounts(kRevertedFormat, {outcome.reverted}) +
           ExtrasText(size_t(outcome.revertedExtras));
}

}  // namespace

std::string UndoMessage(const UndoOutcome& outcome, size_t maxFiles) {
    if (outcome.refused()) return outcome.refusal.korean;
    if (outcome.skipped > 0)
        return FormatCounts(FormatTexts(kSkippedFormat, {RunTimeText(outcome.runTime)}),
                            {outcome.skipped});
    return WithReasons(CountsLine(outcome), outcome.failureLines, outcome.failureReasons, maxFiles);
}

std::string UndoQuestion(const RunSummary& run) {
    // A run an earlier undo left partly open is asked about as a retry of its open files.
    std::string format(run.state == RunSummary::State::PartlyUndone ? kUndoRetryQuestionFormat
                                                                     : kUndoQuestionFormat);
    // The sidecars and companions are named right after the count of pictures.
    const size_t count = format.find("%i개");
    if (count != std::string::npos) format.insert(count + 5, ExtrasText(run.open.extras));
    return FormatCounts(FormatTexts(format, {RunTimeText(run.time)}),
                        {static_cast<long long>(run.open.sets)});
}

int RunUndo(const std::string& folder, std::FILE* out, std::FILE* err, bool skip) {
    UndoRequest request;
    request.skip = skip;
    const UndoOutcome outcome = UndoLastRun(folder, JournalFolder(), request);
    for (const std::string& note : outcome.notes)
        std::fprintf(err, "quenset: note: %s\n", note.c_str());
    if (outcome.refused()) {
        std::fprintf(err, "quenset: %s\n", outcome.refusal.english.c_str());
        return 1;
    }
    if (skip) {
        PrintLine(out, "skipped " + std::to_string(outcome.skipped) + " open file" +
                           (outcome.skipped == 1 ? "" : "s") + " of the run of " +
                           RunTimeText(outcome.runTime));
        return 0;
    }
    if (outcome.retried > 0) PrintLine(out, RetryText(outcome));
    PrintLine(out, CountsLine(outcome));
    for (size_t i = 0; i < outcome.failureLines.size(); ++i) {
        PrintLine(out, outcome.failureLines[i]);
        std::fprintf(err, "quenset: %s: %s\n", outcome.failureLines[i].c_str(),
                     outcome.failureReasons[i].english.c_str());
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
