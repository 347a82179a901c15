#pragma once

#include <sys/types.h>

#include <ctime>
#include <optional>
#include <string>
#include <vector>

#include "core/file_identity.h"
#include "core/undo_journal.h"

namespace corvelle {

// A folder as the journals know it: its device and inode, and its absolute path (a memory
// card mounted again keeps its path but gets a new device number).
struct FolderIdentity {
    dev_t device = 0;
    ino_t inode = 0;
    std::optional<timespec> birth;  // tells a new folder from a removed one of the same inode
    std::string path;
    bool stableInodes = true;  // false on FUSE, where files are known by size and time alone
};

// The folder at `path`; none when it cannot be opened.
std::optional<FolderIdentity> IdentifyFolder(const std::string& path);
// The absolute path with symbolic links and "." and ".." resolved; as given when it cannot be.
std::string AbsoluteFolderPath(const std::string& path);

enum class FolderMatch { None, SameFolder, SamePath };
// SameFolder: the very folder (device, inode and, where both are known, birth time), on a
// file system that keeps inode numbers. SamePath: a folder at the recorded path on
// another device, where file identity rests on size and last-write time alone.
FolderMatch MatchFolder(const JournalRecord& record, const FolderIdentity& folder);

// One journal file as found in the journal folder.
struct FoundJournal {
    std::string path;
    JournalRead read = JournalRead::Damaged;
    std::string why;       // what is wrong with a record that is not Ok
    JournalRecord record;  // only for Ok
    size_t completeLength = 0;
    // For a record that is not Ok: whether it names the folder asked about, another
    // folder, or nothing that can be read.
    enum class Names { Asked, Other, Nothing } names = Names::Nothing;
    FolderMatch match = FolderMatch::None;  // for Ok records
};

// Every journal, newest first. Empty journals (a run killed between creating and writing
// its record) are passed over, and removed once older than a minute; anything that is not a
// regular file is passed over.
std::vector<FoundJournal> ReadJournals(const std::string& journalFolder,
                                       const FolderIdentity& folder, std::time_t now);

// Whether a record that cannot be read could be the folder's last run, so that undoing an
// older one instead would be wrong.
bool BlocksFolder(const FoundJournal& journal);

// Whether `now` is still the file the run renamed, as it stands under its new name. In the
// run's own folder the inode and birth time say so (the inode with the size and the
// last-write time the run left where no birth time is known); in a folder found by its path
// (FAT and exFAT number files anew at every mount) the size and that last-write time.
bool IsTheRenamedFile(const JournalFile& file, bool timeSet, const FileStamp& now,
                      FolderMatch match);

// A file of a record still to be given its old name: renamed (marked, or found under its new
// name where the mark was cut short), neither reverted nor skipped, and not found back under
// its old name already (an undo killed before its mark).
bool IsOpenFile(const JournalRecord& record, size_t index, int folderFd, FolderMatch match);

// How many pictures (sets: a picture with its sidecars and companions) the chosen files make,
// and how many of the files are sidecars or companions.
struct SetCounts {
    size_t sets = 0;
    size_t extras = 0;
};
SetCounts CountSets(const JournalRecord& record, const std::vector<bool>& chosen);

// `quenset --undo --list`: the folder's runs, newest first. Counts are of pictures; the
// sidecars and companions that went with them are counted apart.
struct RunSummary {
    std::string journalPath;
    std::time_t time = 0;
    enum class State { Open, PartlyUndone, Undone, Damaged } state = State::Open;
    SetCounts renamed;    // what the run renamed
    SetCounts open;       // of that, still to be reverted
    size_t skipped = 0;   // files given up with --undo --skip
    std::string problem;  // why a damaged record cannot be read
};
// The summary of a record that reads well, its open files looked up in the folder.
RunSummary SummarizeRun(const FoundJournal& journal, int folderFd);
std::vector<RunSummary> ListRuns(const std::string& folder, const std::string& journalFolder,
                                 std::time_t now);

// The run an undo of the folder would revert, without touching anything; none when there is
// none (or a damaged record stands in the way).
std::optional<RunSummary> UndoableRun(const std::string& folder, const std::string& journalFolder,
                                      std::time_t now);

// Keeps the journal folder small: the newest kKeptRunsPerFolder runs of each folder, and
// fully undone runs for kUndoneRunDays days after their undo. Damaged records stay.
inline constexpr size_t kKeptRunsPerFolder = 100;
inline constexpr int kUndoneRunDays = 30;
void TidyJournals(const std::string& journalFolder, std::time_t now);

// "2026-12-07 14:31" in the user's time zone.
std::string RunTimeText(std::time_t when);

}  // namespace corvelle
