#include "core/rename_session.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <utility>

#include "core/duplicate_numbering.h"
#include "core/file_naming.h"
#include "core/rename_texts.h"
#include "core/run_journals.h"
#include "core/file_identity.h"
#include "core/set_move.h"
#include "core/sidecars.h"
#include "core/text.h"
#include "core/undo_journal.h"

namespace corvelle {

namespace {

// The longest name the folder's file system takes, in bytes.
size_t NameLimit(int dirFd) {
    const long limit = fpathconf(dirFd, _PC_NAME_MAX);
    return limit > 0 ? size_t(limit) : 255;
}

// Why a new name cannot be used in the folder; empty when it can.
Reason UnfitName(const std::string& name, size_t limit) {
    if (name.find('/') != std::string::npos)
        return {"the new name " + name + " is not a name in this folder",
                "새 이름 " + name + "은(는) 이 폴더 안의 이름이 아닙니다"};
    if (name.size() > limit)
        return {"the new name is " + std::to_string(name.size()) +
                    " bytes long; the file system allows at most " + std::to_string(limit),
                "새 이름이 " + std::to_string(name.size()) + "바이트로, 파일 시스템이 허용하는 " +
                    std::to_string(limit) + "바이트보다 깁니다"};
    return {};
}

Reason RenameError(int error) {
    return error == EEXIST ? Reason{"a file of the new name exists", "새 이름의 파일이 이미 있습니다"}
                           : SystemReason(error);
}

JournalFile PlannedFile(int dirFd, const std::string& oldName, const std::string& newName,
                        bool setsTime, std::time_t shootingTime) {
    JournalFile file;
    file.oldName = oldName;
    file.newName = newName;
    file.setsTime = setsTime;
    file.shootingTime = setsTime ? shootingTime : -1;
    if (const std::optional<FileStamp> stamp = StampAt(dirFd, oldName)) {
        file.inode = stamp->inode;
        file.priorModified = stamp->modified;
        file.size = stamp->size;
        file.birth = stamp->birth;
    }
    return file;
}

}  // namespace

RunInputs RunInputsFromSettings(const NameSettings& settings, std::string folder) {
    RunInputs inputs;
    inputs.folder = std::move(folder);
    inputs.pattern = std::string(FileTypePattern(settings.extensionIndex));
    inputs.nameTemplate = BuildNameTemplate(settings);
    inputs.useExif = settings.useExif;
    inputs.setFileDates = settings.fileDateFlag();
    inputs.renameSidecars = settings.renameSidecars;
    return inputs;
}

std::string EntryLine(const RenameEntry& entry) {
    std::string line = entry.listedName;
    line += kLineArrow;
    line += entry.newName.empty() ? std::string(kNoDateInfo) : entry.newName;
    return line;
}

std::vector<std::string> SidecarLines(const RenameEntry& entry) {
    std::vector<std::string> lines;
    for (const SidecarName& sidecar : entry.sidecars) {
        std::string line = "+ " + sidecar.listedName;
        if (!sidecar.newName.empty()) line += std::string(kLineArrow) + "+ " + sidecar.newName;
        lines.push_back(std::move(line));
    }
    return lines;
}

std::string FailureMessage(const RenameOutcome& outcome, size_t maxFiles) {
    return WithReasons(outcome.message, outcome.failureLines, outcome.failureReasons, maxFiles);
}

bool IsUnchangeable(const RenameEntry& entry) {
    return entry.newName.empty() || SameNameIgnoringCase(entry.newName, entry.listedName) ||
           !entry.problem.english.empty();
}

RenameSession::RenameSession(RunInputs inputs)
    : m_inputs(std::move(inputs)), m_journalFolder(JournalFolder()), m_folder(m_inputs.folder) {
    if (m_folder.isOpen()) buildPreview();
}

void RenameSession::buildPreview() {
    // One listing serves the pictures and the files that may go with them.
    const std::string_view pattern = m_inputs.pattern;
    const bool followers = m_inputs.renameSidecars;
    std::vector<ListedFile> folder =
        ListFolderFiles(m_folder.fd(), [pattern, followers](std::string_view name) {
            return MatchesFilePattern(name, pattern) ||
                   (followers && (IsSidecarName(name) || IsCompanionType(name, pattern)));
        });
    SortByBytes(folder);
    std::vector<std::string> newNames;
    for (const ListedFile& file : folder) {
        if (!MatchesFilePattern(file.name, pattern)) continue;
        FileName named = NameForFile(m_folder.fd(), file, m_entries.size(), m_inputs.nameTemplate,
                                     m_inputs.useExif, m_inputs.openFile);
        newNames.push_back(std::move(named.newName));
        m_entries.push_back({file.name, {}, named.dateValue, {}, {}});
    }
    NumberDuplicates(newNames);
    for (size_t position = 0; position < m_entries.size(); ++position)
        m_entries[position].newName = std::move(newNames[position]);
    if (m_inputs.renameSidecars) {
        std::vector<std::string> listed;
        for (const RenameEntry& entry : m_entries) listed.push_back(entry.listedName);
        const std::vector<std::vector<Follower>> followers =
            FindFollowers(folder, listed, pattern, true);
        for (size_t position = 0; position < m_entries.size(); ++position) {
            RenameEntry& entry = m_entries[position];
            std::vector<std::string> newNames;
            for (size_t i = 0; i < followers[position].size(); ++i) {
                newNames.push_back(
                    FollowerNewName(followers[position], i, entry.newName, newNames));
                entry.sidecars.push_back(
                    {followers[position][i].name, newNames.back(), followers[position][i].companion});
            }
        }
    }
    // A name the folder cannot hold fails the whole set: say so now rather than at renaming.
    m_nameLimit = NameLimit(m_folder.fd());
    for (RenameEntry& entry : m_entries) {
        if (entry.newName.empty() || SameNameIgnoringCase(entry.newName, entry.listedName))
            continue;
        entry.problem = UnfitName(entry.newName, m_nameLimit);
        for (const SidecarName& sidecar : entry.sidecars)
            if (entry.problem.english.empty())
                entry.problem = UnfitName(sidecar.newName, m_nameLimit);
    }
}

std::vector<std::string> RenameSession::lines() const {
    std::vector<std::string> result;
    result.reserve(m_entries.size());
    for (const RenameEntry& entry : m_entries) result.push_back(EntryLine(entry));
    return result;
}

std::vector<size_t> RenameSession::changeablePositions() const {
    std::vector<size_t> positions;
    if (m_showingFailures) return positions;
    for (size_t p = 0; p < m_entries.size(); ++p)
        if (!IsUnchangeable(m_entries[p])) positions.push_back(p);
    return positions;
}

size_t RenameSession::unchangeableCount() const {
    return size_t(std::count_if(m_entries.begin(), m_entries.end(), IsUnchangeable));
}

std::string RenameSession::summaryText() const {
    if (m_entries.empty()) return {};
    const size_t unchangeable = unchangeableCount();
    return FormatCounts(kSummaryFormat, {static_cast<long long>(m_entries.size()),
                                         static_cast<long long>(m_entries.size() - unchangeable),
                                         static_cast<long long>(unchangeable)});
}

RenameSession::EntryResult RenameSession::renameEntry(const RenameEntry& entry,
                                                      RenameOutcome& outcome, Reason& why,
                                                      std::vector<bool>& renamedFiles) {
    const int fd = m_folder.fd();
    // A name with a slash would move the file out of this folder: never do that. A name
    // past the file system's limit would only fail with a misleading error.
    why = UnfitName(entry.newName, m_nameLimit);
    std::vector<NameChange> changes{{entry.listedName, entry.newName}};
    for (const SidecarName& sidecar : entry.sidecars) {
        if (!why.english.empty()) break;
        why = UnfitName(sidecar.newName, m_nameLimit);
        if (why.english.empty() && StampAt(fd, sidecar.newName)) {
            const std::string what = sidecar.companion ? "companion" : "sidecar";
            why = {"the new name " + sidecar.newName + " of the " + what + " " +
                       sidecar.listedName + " is taken; nothing of this set was renamed",
                   (sidecar.companion ? "함께 가는 파일 " : "보조 파일 ") + sidecar.listedName +
                       "의 새 이름 " + sidecar.newName +
                       "의 파일이 이미 있어 이 묶음은 아무것도 바꾸지 않았습니다"};
        }
        changes.push_back({sidecar.listedName, sidecar.newName});
    }
    renamedFiles.assign(changes.size(), false);
    if (!why.english.empty()) return EntryResult::NotRenamed;
    const SetMove move = MoveSet(fd, changes);
    renamedFiles = move.underNewName;
    if (!move.moved) {
        why = RenameError(move.error);
        if (move.failedAt > 0) {
            // The set went back as it was, or says what could not.
            const std::string& name = changes[move.failedAt].from;
            const std::string english = move.stuckText.empty()
                                            ? "; nothing of this set was renamed"
                                            : move.stuckText;
            why = {name + ": " + why.english + english,
                   name + ": " + why.korean +
                       (move.stuckText.empty() ? "; 이 묶음은 아무것도 바꾸지 않았습니다"
                                               : move.stuckText)};
        }
        return EntryResult::NotRenamed;
    }
    outcome.renamedExtras += int(entry.sidecars.size());
    if (m_inputs.setFileDates && entry.dateValue != 0) {
        if (!SetModifiedTime(fd, entry.newName, {entry.dateValue, 0})) {
            const std::string error = std::strerror(errno);
            why = {"renamed, but the last-write time was not set: " + error,
                   "이름은 바꾸었지만 파일 날자를 바꾸지 못했습니다: " + error};
            return EntryResult::RenamedWithoutTime;
        }
        ++outcome.timesSet;
    }
    return EntryResult::Renamed;
}

RenameOutcome RenameSession::rename(std::vector<size_t> positions,
                                    const std::function<void()>& step) {
    std::sort(positions.begin(), positions.end());
    positions.erase(std::unique(positions.begin(), positions.end()), positions.end());

    std::vector<size_t> attempted;
    for (size_t position : positions) {
        if (position >= m_entries.size()) break;
        const RenameEntry& entry = m_entries[position];
        if (IsUnchangeable(entry) || entry.newName.find('.') == std::string::npos) continue;
        attempted.push_back(position);
    }

    RenameOutcome outcome;
    // Held to the end of the run: no other quenset renames or reverts here meanwhile.
    std::optional<FolderLock> lock;
    if (!attempted.empty() && m_folder.isOpen()) {
        lock.emplace(m_journalFolder, m_folder.fd(), m_lockWait);
        if (lock->busy()) {
            outcome.refusal = {std::string(kFolderBusyText), std::string(kFolderBusyKorean)};
            outcome.message = outcome.refusal.korean;
            return outcome;
        }
    }
    RenameJournal journal;
    // Where each attempted entry's files start in the journal's plan: picture, then sidecars.
    std::vector<size_t> firstPlanned;
    if (!attempted.empty() && m_folder.isOpen() && !m_journalFolder.empty()) {
        std::vector<JournalFile> plan;
        for (size_t position : attempted) {
            const RenameEntry& entry = m_entries[position];
            firstPlanned.push_back(plan.size());
            const bool setsTime = m_inputs.setFileDates && entry.dateValue != 0;
            plan.push_back(PlannedFile(m_folder.fd(), entry.listedName, entry.newName, setsTime,
                                       entry.dateValue));
            plan.back().picture = firstPlanned.back();
            for (const SidecarName& sidecar : entry.sidecars) {
                plan.push_back(
                    PlannedFile(m_folder.fd(), sidecar.listedName, sidecar.newName, false, 0));
                plan.back().role = sidecar.companion ? JournalFile::Role::Companion
                                                     : JournalFile::Role::Sidecar;
                plan.back().picture = firstPlanned.back();
            }
        }
        if (!journal.begin(m_journalFolder, m_folder.fd(), AbsoluteFolderPath(m_inputs.folder),
                           std::time(nullptr), plan)) {
            outcome.journalProblem = journal.problem();
            if (m_undoQuestion && !m_undoQuestion(outcome.journalProblem)) {
                outcome.stopped = true;
                return outcome;
            }
        }
    }

    std::vector<RenameEntry> failedEntries;
    int moved = 0;  // renamed, whether or not the time could be set
    for (size_t k = 0; k < attempted.size(); ++k) {
        const RenameEntry& entry = m_entries[attempted[k]];
        Reason why{"cannot open the folder", "폴더를 열 수 없습니다"};
        std::vector<bool> renamedFiles;
        const EntryResult result = m_folder.isOpen() ? renameEntry(entry, outcome, why, renamedFiles)
                                                     : EntryResult::NotRenamed;
        // Every file under its new name is marked, also one whose way back failed.
        for (size_t i = 0; i < renamedFiles.size() && !firstPlanned.empty(); ++i) {
            if (!renamedFiles[i]) continue;
            const bool timeSet = i == 0 && result == EntryResult::Renamed &&
                                 m_inputs.setFileDates && entry.dateValue != 0;
            // What the file system kept (FAT rounds to two seconds) is what undo compares.
            const std::string& name = i == 0 ? entry.newName : entry.sidecars[i - 1].newName;
            const std::optional<FileStamp> left = StampAt(m_folder.fd(), name);
            journal.fileDone(firstPlanned[k] + i, timeSet,
                             left ? std::optional<timespec>(left->modified) : std::nullopt);
        }
        // A set whose way back failed left files renamed: the record keeps them for undo.
        if (result != EntryResult::NotRenamed ||
            std::find(renamedFiles.begin(), renamedFiles.end(), true) != renamedFiles.end())
            ++moved;
        if (result == EntryResult::Renamed) {
            ++outcome.renamed;
        } else {
            outcome.failureLines.push_back(EntryLine(entry));
            outcome.failureReasons.push_back(why);
            failedEntries.push_back(entry);
        }
        if (step) step();
    }
    journal.finish(moved);
    if (outcome.journalProblem.empty()) outcome.journalProblem = journal.problem();
    if (moved > 0 && !m_journalFolder.empty()) TidyJournals(m_journalFolder, std::time(nullptr));

    if (outcome.failed()) {
        const long long failures = static_cast<long long>(outcome.failureLines.size());
        // "Of the total": the files this run tried to rename.
        outcome.message = FormatCounts(kFailuresFormat, {outcome.renamed + failures, failures});
        m_entries = std::move(failedEntries);
        m_showingFailures = true;
    } else if (outcome.renamed > 0) {
        outcome.message = FormatCounts(kRenamedFormat, {outcome.renamed});
        if (outcome.renamedExtras > 0)
            outcome.message += FormatCounts(kWithExtrasFormat, {outcome.renamedExtras});
    } else {
        outcome.message = std::string(kNothingRenamedText);
    }
    return outcome;
}

}  // namespace corvelle
