#pragma once

#include <chrono>
#include <ctime>
#include <functional>
#include <string>
#include <vector>

#include "core/date_lookup.h"
#include "core/folder_lock.h"
#include "core/folder_listing.h"
#include "core/name_settings.h"
#include "core/name_template.h"
#include "core/rename_texts.h"

namespace corvelle {

// What a rename run is given when the user starts it.
struct RunInputs {
    std::string folder;
    std::string pattern;  // the file type text, "*.jpg"
    NameTemplate nameTemplate;
    bool useExif = true;
    bool setFileDates = false;  // both "use EXIF" and "Mod. file date" were on
    FileOpener openFile = OpenRegularFileAt;  // how a file is opened for its shooting date
    bool renameSidecars = false;
};

RunInputs RunInputsFromSettings(const NameSettings& settings, std::string folder);

// A file renamed along with its picture: a sidecar, or a companion of another listed type
// (the raw file beside a JPEG). It takes the picture's new stem and keeps its extension.
struct SidecarName {
    std::string listedName;
    std::string newName;  // empty while the picture has none
    bool companion = false;
};

struct RenameEntry {
    std::string listedName;
    std::string newName;        // empty when the file has no usable date
    std::time_t dateValue = 0;  // set only for EXIF-dated names
    std::vector<SidecarName> sidecars;
    Reason problem;  // why the new names cannot be used here (too long, say); empty if they can
};

// The entry's line: listed name, TAB, "-> ", then the new name or "No Date info".
std::string EntryLine(const RenameEntry& entry);
// The lines shown under the entry's line, one a sidecar: "+ " and its name.
std::vector<std::string> SidecarLines(const RenameEntry& entry);
// An entry without a new name, whose new name is its present one, or whose names the folder
// cannot hold, cannot change.
bool IsUnchangeable(const RenameEntry& entry);

struct RenameOutcome {
    int renamed = 0;         // pictures
    int renamedExtras = 0;   // sidecars and companions renamed with them
    Reason refusal;          // why nothing was tried (another quenset holds the folder)
    // Renamed files whose last-write time was set to the shooting date. Linux cannot set a
    // creation time, so that one stays as it was.
    int timesSet = 0;
    std::vector<std::string> failureLines;  // in the order the entries failed
    std::vector<Reason> failureReasons;     // why, one per failure line
    std::string message;                    // what the dialog shows in its message box
    std::string journalProblem;  // why the run has no undo record; empty when it has one
    bool stopped = false;        // the user chose not to rename without an undo record
    bool failed() const { return !failureLines.empty() || !refusal.english.empty(); }
};

// Message 113 followed by each failed file and its reason, at most `maxFiles` of them.
std::string FailureMessage(const RenameOutcome& outcome, size_t maxFiles);

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
    // renamed file there as it goes; a run that renames nothing leaves no record. When the
    // record cannot be written, the undo question decides whether the run goes on.
    // A picture and its sidecars and companions are renamed together or not at all. The
    // folder's lock is held throughout; when another quenset holds it, nothing is renamed.
    RenameOutcome rename(std::vector<size_t> positions, const std::function<void()>& step = {});

    // Where the undo journal is kept (JournalFolder() unless set); empty keeps none.
    void setJournalFolder(std::string folder) { m_journalFolder = std::move(folder); }
    // How long a run waits for another quenset to finish with the folder.
    void setLockWait(std::chrono::milliseconds wait) { m_lockWait = wait; }
    // Asked (on the renaming thread) with the reason when the run could not be undone; true
    // goes on. Without a question the run goes on.
    using UndoQuestion = std::function<bool(const std::string& problem)>;
    void setUndoQuestion(UndoQuestion question) { m_undoQuestion = std::move(question); }

  private:
    enum class EntryResult { NotRenamed, Renamed, RenamedWithoutTime };
    void buildPreview();
    // `renamedFiles`: per file of the set (picture first), whether it is under its new name.
    EntryResult renameEntry(const RenameEntry& entry, RenameOutcome& outcome, Reason& why,
                            std::vector<bool>& renamedFiles);

    RunInputs m_inputs;
    std::string m_journalFolder;
    std::chrono::milliseconds m_lockWait = kFolderLockWait;
    UndoQuestion m_undoQuestion;
    FolderHandle m_folder;
    size_t m_nameLimit = 255;  // the longest name the folder's file system takes, in bytes
    std::vector<RenameEntry> m_entries;
    bool m_showingFailures = false;
};

}  // namespace corvelle
