#pragma once

#include <sys/types.h>

#include <ctime>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace corvelle {

// The journal of rename runs: one file per run under $XDG_STATE_HOME/Corvelle/Quenset/,
// written and synced before the run's first rename, with one line added and synced after
// each file. It is what `quenset --undo` reverts from.
//
// Format, one item a line, names with every byte outside "!".."~" and "%" written as %XX:
//   Quenset rename journal 3
//   folder <absolute path>             finds the run again when the folder's device changed
//   identity <device> <inode> <birth s> <birth ns>
//                                      of the folder, so any spelling of it finds the run
//                                      ("- -" where the file system keeps no birth time)
//   time <seconds since 1970>
//   file <inode> <birth s> <birth ns> <size> <mtime s> <mtime ns> <sets time 0|1>
//        <shooting time s> <role p|s|c> <picture index> <old name> <new name>
//                                      (planned; one line each, the picture first, then its
//                                      sidecars (s) and companions (c) naming it)
//   ready                               the plan is complete; renaming starts after it
//   done <file index> <time set 0|1> <mtime s> <mtime ns>
//                                       after that file was renamed (and its time set), with
//                                       the last-write time it was left with ("- -": unknown)
//   reverted <file index>               an undo gave that file its old name back
//   skipped <file index>                the user gave up reverting that file
//   tried <seconds since 1970>          an undo ended with files still open
//   undone <seconds since 1970>         nothing of the run is left to revert
// Versions 1 and 2 lack birth times and sets (each file stands alone), version 1 also size
// and shooting time; they are still read.
inline constexpr int kJournalVersion = 3;

std::string JournalFolder();

struct JournalFile {
    // A picture is checked to be the file the run renamed; its sidecars follow it (they are
    // expected to be edited), its companions (its raw file beside a JPEG) are checked too.
    enum class Role { Picture, Sidecar, Companion };

    std::string oldName;
    std::string newName;
    ino_t inode = 0;
    timespec priorModified{};  // the last-write time before the run
    bool setsTime = false;     // the run meant to set the shooting date as last-write time
    long long size = -1;       // bytes before the run; -1 when not recorded
    std::time_t shootingTime = -1;  // what the run sets as last-write time; -1 not recorded
    std::optional<timespec> birth;  // none where the file system keeps none, or not recorded
    std::optional<timespec> modifiedLeft;  // as read back after the rename, where recorded
    Role role = Role::Picture;
    size_t picture = 0;  // plan index of the set's picture (its own for a picture)

    // The last-write time the run left on the file; none when the record does not say.
    std::optional<timespec> modifiedAfterRun(bool timeSet) const;
};

// Writes one run's record. Every failure leaves the writer closed; the run goes on without
// a record (problem() says why).
class RenameJournal {
  public:
    RenameJournal() = default;
    ~RenameJournal();
    RenameJournal(const RenameJournal&) = delete;
    RenameJournal& operator=(const RenameJournal&) = delete;

    // Creates the record in `journalFolder` with the whole plan and syncs it to the disk.
    bool begin(const std::string& journalFolder, int folderFd, const std::string& folderPath,
               std::time_t when, const std::vector<JournalFile>& plan);
    // Marks the file at plan index `index` as renamed, with the last-write time it has now;
    // synced before it returns.
    void fileDone(size_t index, bool timeSet, const std::optional<timespec>& left);
    // Ends the record; a run that renamed nothing leaves no record.
    void finish(int renamed);

    const std::string& problem() const { return m_problem; }
    const std::string& path() const { return m_path; }

  private:
    bool append(const std::string& text);
    void fail(const std::string& what);

    int m_fd = -1;
    std::string m_path;
    std::string m_problem;
};

// A run's record as read back.
struct JournalRecord {
    std::string folder;
    dev_t device = 0;
    ino_t inode = 0;
    std::optional<timespec> birth;  // of the folder
    std::time_t time = 0;
    std::vector<JournalFile> files;
    std::vector<std::optional<bool>> done;  // per file: renamed, and whether its time was set
    std::vector<bool> reverted;             // per file: given its old name back by an undo
    std::vector<bool> skipped;              // per file: given up by the user
    bool ready = false;
    bool tried = false;  // an undo left files open
    bool undone = false;
    std::time_t undoneTime = 0;
};

enum class JournalRead { Ok, Damaged, Newer };

// Reads a whole record; nothing is taken from a damaged one. A last line without its end
// (a write cut short) is left out, as the file it would mark was still to be completed.
JournalRead ParseJournal(std::string_view text, JournalRecord& record, std::string& why);

// The length of the text's complete lines: what ParseJournal reads.
size_t CompleteLinesLength(std::string_view text);
// Adds marks to a record after its complete lines (a line cut short by a crash is dropped
// first, so each mark starts a line of its own); every append is synced before it returns.
class JournalAppender {
  public:
    JournalAppender(const std::string& path, size_t completeLength);
    ~JournalAppender();
    JournalAppender(const JournalAppender&) = delete;
    JournalAppender& operator=(const JournalAppender&) = delete;

    bool append(const std::string& line);
    bool isOpen() const { return m_fd >= 0; }
    // Why the record could not be opened or a mark not written; empty while all went well.
    const std::string& problem() const { return m_problem; }

  private:
    void fail(const std::string& what);

    int m_fd = -1;
    std::string m_path;
    std::string m_problem;
};

std::string EscapeJournalName(std::string_view bytes);

}  // namespace corvelle
