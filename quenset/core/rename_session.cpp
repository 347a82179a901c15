#include "core/rename_session.h"

#include <fcntl.h>
#include <sys/stat.h>

#include <algorithm>
#include <utility>

#include "core/duplicate_numbering.h"
#include "core/file_naming.h"
#include "core/rename_texts.h"
#include "core/safe_file.h"
#include "core/undo_journal.h"

namespace corvelle {

RunInputs RunInputsFromSettings(const NameSettings& settings, std::string folder) {
    RunInputs inputs;
    inputs.folder = std::move(folder);
    inputs.pattern = std::string(FileTypePattern(settings.extensionIndex));
    inputs.nameTemplate = BuildNameTemplate(settings);
    inputs.useExif = settings.useExif;
    inputs.setFileDates = settings.fileDateFlag();
    return inputs;
}

std::string EntryLine(const RenameEntry& entry) {
    std::string line = entry.listedName;
    line += kLineArrow;
    line += entry.newName.empty() ? std::string(kNoDateInfo) : entry.newName;
    return line;
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
        m_entries.push_back({std::move(names[position]), {}, named.dateValue});
    }
    NumberDuplicates(newNames);
    for (size_t position = 0; position < m_entries.size(); ++position)
        m_entries[position].newName = std::move(newNames[position]);
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
                                                      RenameOutcome& outcome) {
    // A name with a slash would move the file out of this folder: never do that.
    if (entry.newName.find('/') != std::string::npos) return EntryResult::NotRenamed;
    if (!RenameNoReplace(m_folder.fd(), entry.listedName, m_folder.fd(), entry.newName))
        return EntryResult::NotRenamed;
    if (m_inputs.setFileDates && entry.dateValue != 0) {
        const timespec times[2] = {{0, UTIME_OMIT}, {entry.dateValue, 0}};
        if (utimensat(m_folder.fd(), entry.newName.c_str(), times, AT_SYMLINK_NOFOLLOW) != 0)
            return EntryResult::RenamedWithoutTime;
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
    if (!attempted.empty() && m_folder.isOpen() && !m_journalFolder.empty()) {
        std::vector<JournalFile> plan;
        for (size_t position : attempted) {
            const RenameEntry& entry = m_entries[position];
            JournalFile file{entry.listedName, entry.newName, 0, {},
                             m_inputs.setFileDates && entry.dateValue != 0};
            struct stat status {};
            if (fstatat(m_folder.fd(), entry.listedName.c_str(), &status, AT_SYMLINK_NOFOLLOW) == 0) {
                file.inode = status.st_ino;
                file.priorModified = status.st_mtim;
            }
            plan.push_back(std::move(file));
        }
        if (!journal.begin(m_journalFolder, m_folder.fd(), m_inputs.folder, std::time(nullptr),
                           plan))
            outcome.journalProblem = journal.problem();
    }

    std::vector<RenameEntry> failedEntries;
    int moved = 0;  // renamed, whether or not the time could be set
    for (size_t k = 0; k < attempted.size(); ++k) {
        const RenameEntry& entry = m_entries[attempted[k]];
        const EntryResult result =
            m_folder.isOpen() ? renameEntry(entry, outcome) : EntryResult::NotRenamed;
        if (result != EntryResult::NotRenamed) {
            const bool timeSet = result == EntryResult::Renamed && m_inputs.setFileDates &&
                                 entry.dateValue != 0;
            journal.fileDone(k, timeSet);
            ++moved;
        }
        if (result == EntryResult::Renamed) {
            ++outcome.renamed;
        } else {
            outcome.failureLines.push_back(EntryLine(entry));
            failedEntries.push_back(entry);
        }
        if (step) step();
    }
    journal.finish(moved);
    if (outcome.journalProblem.empty()) outcome.journalProblem = journal.problem();

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
