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
#include "core/safe_file.h"
#include "core/sidecars.h"
#include "core/undo_journal.h"

namespace corvelle {

namespace {

// The longest name the folder's file system takes, in bytes.
size_t NameLimit(int dirFd) {
    const long limit = fpathconf(dirFd, _PC_NAME_MAX);
    return limit > 0 ? size_t(limit) : 255;
}

// Why a new name cannot be used in the folder; empty when it can.
std::string UnfitName(const std::string& name, size_t limit) {
    if (name.find('/') != std::string::npos)
        return "the new name " + name + " is not a name in this folder";
    if (name.size() > limit)
        return "the new name is " + std::to_string(name.size()) +
               " bytes long; the file system allows at most " + std::to_string(limit);
    return {};
}

std::string RenameError(int error) {
    return error == EEXIST ? "a file of the new name exists" : std::string(std::strerror(error));
}

JournalFile PlannedFile(int dirFd, const std::string& oldName, const std::string& newName,
                        bool setsTime, std::time_t shootingTime) {
    JournalFile file{oldName, newName, 0, {}, setsTime};
    file.shootingTime = setsTime ? shootingTime : -1;
    struct stat status {};
    if (fstatat(dirFd, oldName.c_str(), &status, AT_SYMLINK_NOFOLLOW) == 0) {
        file.inode = status.st_ino;
        file.priorModified = status.st_mtim;
        file.size = status.st_size;
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
    return entry.newName.empty() || SameNameIgnoringCase(entry.newName, entry.listedName);
}

RenameSession::RenameSession(RunInputs inputs)
    : m_inputs(std::move(inputs)), m_journalFolder(JournalFolder()), m_folder(m_inputs.folder) {
    if (m_folder.isOpen()) buildPreview();
}

void RenameSession::buildPreview() {
    std::vector<std::string> names = ListMatchingFiles(m_folder.fd(), m_inputs.pattern);
    SortByBytes(names);
    std::vector<std::string> newNames;
    newNames.reserve(names.size());
    m_entries.reserve(names.size());
    for (size_t position = 0; position < names.size(); ++position) {
        FileName named = NameForFile(m_folder.fd(), names[position], position,
                                     m_inputs.nameTemplate, m_inputs.useExif, m_inputs.openFile);
        newNames.push_back(std::move(named.newName));
        m_entries.push_back({std::move(names[position]), {}, named.dateValue, {}});
    }
    NumberDuplicates(newNames);
    for (size_t position = 0; position < m_entries.size(); ++position)
        m_entries[position].newName = std::move(newNames[position]);
    if (!m_inputs.renameSidecars) return;
    std::vector<std::string> listed;
    for (const RenameEntry& entry : m_entries) listed.push_back(entry.listedName);
    const std::vector<std::vector<std::string>> sidecars = FindSidecars(m_folder.fd(), listed);
    for (size_t position = 0; position < m_entries.size(); ++position) {
        RenameEntry& entry = m_entries[position];
        for (const std::string& name : sidecars[position])
            entry.sidecars.push_back({name, SidecarNewName(entry.newName, name)});
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
                                                      RenameOutcome& outcome, std::string& why) {
    const int fd = m_folder.fd();
    // A name with a slash would move the file out of this folder: never do that. A name
    // past the file system's limit would only fail with a misleading error.
    const size_t limit = NameLimit(fd);
    why = UnfitName(entry.newName, limit);
    for (const SidecarName& sidecar : entry.sidecars) {
        if (!why.empty()) break;
        why = UnfitName(sidecar.newName, limit);
        struct stat taken {};
        if (why.empty() && fstatat(fd, sidecar.newName.c_str(), &taken, AT_SYMLINK_NOFOLLOW) == 0)
            why = "the new name " + sidecar.newName + " of the sidecar " + sidecar.listedName +
                  " is taken; nothing of this set was renamed";
    }
    if (!why.empty()) return EntryResult::NotRenamed;
    if (!RenameNoReplace(fd, entry.listedName, fd, entry.newName)) {
        why = RenameError(errno);
        return EntryResult::NotRenamed;
    }
    for (size_t i = 0; i < entry.sidecars.size(); ++i) {
        const SidecarName& sidecar = entry.sidecars[i];
        if (RenameNoReplace(fd, sidecar.listedName, fd, sidecar.newName)) continue;
        why = "the sidecar " + sidecar.listedName + ": " + RenameError(errno) +
              "; nothing of this set was renamed";
        // The set goes back as it was; a file that cannot is still found by undo.
        while (i-- > 0)
            RenameNoReplace(fd, entry.sidecars[i].newName, fd, entry.sidecars[i].listedName);
        RenameNoReplace(fd, entry.newName, fd, entry.listedName);
        return EntryResult::NotRenamed;
    }
    if (m_inputs.setFileDates && entry.dateValue != 0) {
        const timespec times[2] = {{0, UTIME_OMIT}, {entry.dateValue, 0}};
        if (utimensat(fd, entry.newName.c_str(), times, AT_SYMLINK_NOFOLLOW) != 0) {
            why = std::string("renamed, but the last-write time was not set: ") +
                  std::strerror(errno);
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
            for (const SidecarName& sidecar : entry.sidecars)
                plan.push_back(
                    PlannedFile(m_folder.fd(), sidecar.listedName, sidecar.newName, false, 0));
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
        std::string why = "cannot open the folder";
        const EntryResult result =
            m_folder.isOpen() ? renameEntry(entry, outcome, why) : EntryResult::NotRenamed;
        if (result != EntryResult::NotRenamed && !firstPlanned.empty()) {
            const bool timeSet = result == EntryResult::Renamed && m_inputs.setFileDates &&
                                 entry.dateValue != 0;
            journal.fileDone(firstPlanned[k], timeSet);
            for (size_t i = 0; i < entry.sidecars.size(); ++i)
                journal.fileDone(firstPlanned[k] + 1 + i, false);
        }
        if (result != EntryResult::NotRenamed) ++moved;
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
    } else {
        outcome.message = std::string(kNothingRenamedText);
    }
    return outcome;
}

}  // namespace corvelle
