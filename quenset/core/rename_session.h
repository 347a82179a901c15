#pragma once

#include <ctime>
#include <functional>
#include <string>
#include <vector>

#include "core/date_lookup.h"
#include "core/folder_listing.h"
#include "core/name_settings.h"
#include "core/name_template.h"

namespace corvelle {

// What a rename run is given when the user starts it.
struct RunInputs {
    std::string folder;
    std::string pattern;  // the file type text, "*.jpg"
    NameTemplate nameTemplate;
    bool useExif = true;
    bool setFileDates = false;  // both "use EXIF" and "Mod. file date" were on
    FileOpener openFile = OpenRegularFileAt;  // how a file is opened for its shooting date
};

RunInputs RunInputsFromSettings(const NameSettings& settings, std::string folder);

struct RenameEntry {
    std::string listedName;
    std::string newName;        // empty when the file has no usable date
    std::time_t dateValue = 0;  // set only for EXIF-dated names
};

// The entry's line: listed name, TAB, "-> ", then the new name or "No Date info".
std::string EntryLine(const RenameEntry& entry);
// An entry without a new name, or whose new name is its present one, cannot change.
bool IsUnchangeable(const RenameEntry& entry);

struct RenameOutcome {
    int renamed = 0;
    // Renamed files whose last-write time was set to the shooting date. Linux cannot set a
    // creation time, so that one stays as it was.
    int timesSet = 0;
    std::vector<std::string> failureLines;  // in the order the entries failed
    std::string message;                    // what the dialog shows in its message box
    std::string journalProblem;  // why the run has no undo record; empty when it has one
    bool failed() const { return !failureLines.empty(); }
};

// Everything the preview dialog computes and does, without a window. Opening lists the
// folder's matching files, sorts them by bytes, names each one, numbers duplicates and marks
// the entries that cannot change. rename() renames the chosen entries; when some fail, the
// session then holds just the failed entries (as the dialog's list does) so they can be
// chosen and renamed again.
class RenameSession {
  public:
    explicit RenameSession(RunInputs inputs);

    bool folderOpened() const { return m_folder.isOpen(); }
    const std::vector<RenameEntry>& entries() const { return m_entries; }
    std::vector<std::string> lines() const;
    // The positions the dialog selects after building the preview: every changeable one.
    std::vector<size_t> changeablePositions() const;
    size_t unchangeableCount() const;
    // "전체 %i개중 %i개 변경 가능/%i개 이름 변경불가능"; empty for an empty list.
    std::string summaryText() const;
    // True after a run with failures: the entries are then the failed ones.
    bool showingFailures() const { return m_showingFailures; }

    // Renames the entries at the given positions in ascending order, never replacing a file.
    // Entries without a name, already named so, or whose name has no "." are skipped and do
    // not step; every other entry calls step once, after success or failure.
    // Before its first rename a run records its plan in the undo journal, and marks each
    // renamed file there as it goes; a run that renames nothing leaves no record.
    RenameOutcome rename(std::vector<size_t> positions, const std::function<void()>& step = {});

    // Where the undo journal is kept (JournalFolder() unless set); empty keeps none.
    void setJournalFolder(std::string folder) { m_journalFolder = std::move(folder); }

  private:
    enum class EntryResult { NotRenamed, Renamed, RenamedWithoutTime };
    void buildPreview();
    EntryResult renameEntry(const RenameEntry& entry, RenameOutcome& outcome);

    RunInputs m_inputs;
    std::string m_journalFolder;
    FolderHandle m_folder;
    std::vector<RenameEntry> m_entries;
    bool m_showingFailures = false;
};

}  // namespace corvelle
